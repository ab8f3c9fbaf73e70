#include "level_fixture.h"

#include "animators/aatlasgauge.h"
#include "hole_maker.h"

namespace {

const char* const kOneWave = "-Wave1:w1.txt\n";

class LevelInPlay : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        writeWave("w1.txt", mainPathBlock("Point[0]:x0 y0\nPoint[1]:x10 y0\nPoint[2]:x10 y10\n"
                                          "Point[3]:x0 y10\n"));
        writeLevel("level1", kOneWave);
        writeDialog("pause.dlg", "-DialogName:pause\n-PauseGame:1\n");
        writeDialog("options.dlg", "-DialogName:options\n-PauseGame:1\n");
        root = open("level1.dlg");
        ASSERT_NE(root, nullptr);
        level = levelOf(root);
        frameAt(kStart);
        ASSERT_EQ(level->state, kLevelInPlay);
    }
    void TearDown() override {
        closeNow("level1");
        LevelTest::TearDown();
    }
    static irr::core::vector3df shipPosition() { return getNodeByName("mad_ship")->getPosition(); }

    CNodeBasement* root = nullptr;
    CGameDialogFactory* level = nullptr;
};

TEST_F(LevelInPlay, EnergyRechargesInFiveSecondsAndShowsTheAimerFromHalf) {
    CNodeBasement* aimer = getNodeByName("HoleMakerAimer");
    ASSERT_NE(aimer, nullptr);
    level->energy = 0;
    framesFromTo(kStart + 25, kStart + 2400, 25);
    EXPECT_NEAR(level->energy, 0.48f, 0.011f);
    EXPECT_EQ(aimer->getAlphaFactor(), 0.0f);
    framesFromTo(kStart + 2425, kStart + 2500, 25);
    EXPECT_NEAR(level->energy, 0.5f, 0.011f);
    EXPECT_EQ(aimer->getAlphaFactor(), 1.0f);
    framesFromTo(kStart + 2525, kStart + 6000, 25);
    EXPECT_EQ(level->energy, 1.0f);
}

TEST_F(LevelInPlay, TheLevelLendsItsShotQueueAndEnergyToTheHoleMakerWhileItRuns) {
    const LevelShots& shots = currentLevelShots();
    ASSERT_EQ(shots.queue, &level->shots);
    ASSERT_EQ(shots.energy, &level->energy);
    EXPECT_TRUE(queueHoleShot(*shots.queue, *shots.energy, irr::core::vector2df(1, 2), 2));
    EXPECT_EQ(level->shots.size(), 1u);
    closeNow("level1");
    frameAt(kStart + 25);
    EXPECT_EQ(currentLevelShots().queue, nullptr);
    EXPECT_EQ(currentLevelShots().energy, nullptr);
}

TEST_F(LevelInPlay, PauseDialogFreezesTheShipUntilItCloses) {
    framesFromTo(kStart + 50, kStart + 500, 50);
    ASSERT_NE(open("pause.dlg"), nullptr);
    EXPECT_EQ(level->state, kLevelPaused);
    irr::core::vector3df frozen = shipPosition();
    framesFromTo(kStart + 550, kStart + 1500, 50);
    EXPECT_EQ(shipPosition(), frozen);
    // The energy recharges on real time, also while paused.
    level->energy = 0;
    frameAt(kStart + 1600);
    EXPECT_GT(level->energy, 0.0f);

    closeNow("pause");
    EXPECT_EQ(level->state, kLevelInPlay);
    framesFromTo(kStart + 1550, kStart + 1800, 50);
    EXPECT_NE(shipPosition(), frozen);
}

TEST_F(LevelInPlay, NestedPauseDialogsKeepTheLevelPausedUntilTheLastCloses) {
    ASSERT_NE(open("pause.dlg"), nullptr);
    ASSERT_NE(open("options.dlg"), nullptr);
    EXPECT_EQ(CPauseMarker::openCount(), 2);
    closeNow("pause");
    EXPECT_EQ(level->state, kLevelPaused);
    irr::core::vector3df frozen = shipPosition();
    framesFromTo(kStart + 50, kStart + 500, 50);
    EXPECT_EQ(shipPosition(), frozen);
    closeNow("options");
    EXPECT_EQ(level->state, kLevelInPlay);
    EXPECT_EQ(CPauseMarker::openCount(), 0);
}

TEST_F(LevelInPlay, PauseDialogLeavesAStateSetByScriptsAlone) {
    level->state = 12;
    ASSERT_NE(open("pause.dlg"), nullptr);
    EXPECT_EQ(level->state, 12);
    closeNow("pause");
    EXPECT_EQ(level->state, 12);
    level->state = kLevelInPlay;
}

} // namespace

namespace {

TEST_F(LevelTest, EnergyGaugeKeepsTheLevelItShowsAlive) {
    writeWave("w1.txt", mainPathBlock("Point[0]:x0 y0\nPoint[1]:x1 y0\n"));
    writeLevel("level1", kOneWave);
    writeDialog("hud.dlg", "-DialogName:hud\n[Sprite]\n-Texture:\\gui\\orange.png\n"
                           "-Name:generator_energy\n");
    ASSERT_NE(open("hud.dlg"), nullptr);
    CNodeBasement* root = open("level1.dlg");
    ASSERT_NE(root, nullptr);
    CGameDialogFactory* level = levelOf(root);
    frameAt(kStart);
    CNodeBasement* gaugeNode = getNodeByName("generator_energy");
    ASSERT_NE(gaugeNode, nullptr);
    ASSERT_EQ(countAnimators<CAtlasGaugeAnimator>(gaugeNode), 1);

    level->grab();
    closeNow("level1");
    // The gauge outside the level still holds it.
    EXPECT_EQ(level->getReferenceCount(), 2);
    framesFromTo(kStart + 25, kStart + 200, 25);
    closeNow("hud");
    EXPECT_EQ(level->getReferenceCount(), 1);
    level->drop();
}

} // namespace
