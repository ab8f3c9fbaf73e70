#include "level_fixture.h"

#include "core/module_userprofile.h"
#include "gameimplementation.h"
#include "platform/files.h"
#include "utils/utils_fs.h"

namespace {

using LevelLoading = LevelTest;

TEST_F(LevelLoading, ReadsLevelKeysAndEndsTheWaveListAtTheFirstGap) {
    writeWave("w1.txt",
              "Actor:rock:x1 y2 w1 h1\n" + mainPathBlock("Point[0]:x0 y0\nPoint[1]:x1 y0\n"));
    writeWave("w3.txt", mainPathBlock("Point[0]:x5 y5\nPoint[1]:x6 y5\n"));
    writeLevel("level1", "-Game-NextLevel:level2\n-Game-ShowTutorialOn1stFire:1\n"
                         "-Wave1:w1.txt\n-Wave3:w3.txt\n");
    CNodeBasement* root = open("level1.dlg");
    ASSERT_NE(root, nullptr);
    CGameDialogFactory* level = levelOf(root);
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(currentLevel(), level);
    EXPECT_EQ(level->nextLevel, "level2");
    EXPECT_EQ(level->showTutorialOnFirstFire, 1);
    EXPECT_EQ(level->levelFolder,
              splitPath(resolveDataPath("dialogs\\level1.dlg"), true, true, false, false));
    ASSERT_EQ(level->waveFiles.size(), 1u);
    EXPECT_EQ(level->waveFiles[0], level->levelFolder + "w1.txt");
    EXPECT_EQ(level->mainPath.size(), 2u);
    EXPECT_EQ(level->state, kLevelAttached);
    EXPECT_EQ(level->energy, 1.0f);
    CNodeBasement* rock = getNodeByName("rock");
    ASSERT_NE(rock, nullptr);
    EXPECT_EQ(rock->getPosition(), irr::core::vector3df(40, 80, 0));

    frameAt(kStart);
    EXPECT_EQ(level->state, kLevelInPlay);
    EXPECT_NE(shipFollower(), nullptr);

    closeNow("level1");
    EXPECT_EQ(currentLevel(), nullptr);
}

TEST_F(LevelLoading, PlayedLevelBecomesThePlayersCurrentLevelAtOnce) {
    writeLevel("cave two", "-Game-IsLevel:1\n");
    writeLevel("tutorial", "-Game-IsLevel:0\n");
    getEngine().setActiveProfile("Ann");
    CUserProfile* profile = getEngine().getActiveProfile();
    auto* statistics = dynamic_cast<CGameStatistics*>(profile->getExtension());
    ASSERT_NE(statistics, nullptr);

    ASSERT_NE(open("cave two.dlg"), nullptr);
    EXPECT_EQ(statistics->getCurrentLevel(), "cave two");
    // Saved at once: a crash during the level still continues from it.
    std::string saved;
    ASSERT_TRUE(readWholeFile(profile->profilePath(), saved));
    EXPECT_NE(saved.find("\nsCurrentLevel=cave two\n"), std::string::npos);
    closeNow("cave two");

    ASSERT_NE(open("tutorial.dlg"), nullptr);
    EXPECT_EQ(statistics->getCurrentLevel(), "cave two");
    closeNow("tutorial");
}

TEST_F(LevelLoading, DialogWithoutTheMarkerIsNoLevel) {
    writeDialog("menu.dlg",
                "-DialogName:menu\n-Wave1:w1.txt\n[Sprite]\n-Texture:\\gui\\orange.png\n");
    CNodeBasement* root = open("menu.dlg");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(currentLevel(), nullptr);
    EXPECT_TRUE(levelOf(root)->waveFiles.empty());
    closeNow("menu");
}

TEST_F(LevelLoading, ReplayingALevelCreatesItsActorsAndFinishesItAgain) {
    writeWave("w1.txt",
              "Actor:rock:x1 y2 w1 h1\n" + mainPathBlock("Point[0]:x0 y0\nPoint[1]:x1 y0\n"));
    writeLevel("level1", "-Game-NextLevel:level2\n-Wave1:w1.txt\n");
    for (int play = 1; play <= 2; ++play) {
        CNodeBasement* root = open("level1.dlg");
        ASSERT_NE(root, nullptr);
        ASSERT_NE(getNodeByName("rock"), nullptr) << "play " << play;
        EXPECT_EQ(getNodeByName("rock")->getParent(), root);
        frameAt(kStart);
        // Two points: the path ends when its second segment begins, one second in.
        framesFromTo(kStart, kStart + 1200, 50);
        EXPECT_EQ(count("good"), play);
        closeNow("level1");
        EXPECT_EQ(getNodeByName("rock"), nullptr);
    }
}

TEST_F(LevelLoading, GameLevelTimeRunsOnlyWhileALevelIsInPlay) {
    auto* implementation = new CGameImplementation();
    EXPECT_EQ(implementation->getBaseTimerSpeed(1), 0.0f);
    writeWave("w1.txt", mainPathBlock("Point[0]:x0 y0\nPoint[1]:x1 y0\n"));
    writeLevel("level1", "-Wave1:w1.txt\n");
    CNodeBasement* root = open("level1.dlg");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(implementation->getBaseTimerSpeed(1), 0.0f);
    frameAt(kStart);
    EXPECT_EQ(implementation->getBaseTimerSpeed(1), 1.0f);
    levelOf(root)->state = kLevelPaused;
    EXPECT_EQ(implementation->getBaseTimerSpeed(1), 0.0f);
    levelOf(root)->state = kLevelInPlay;
    closeNow("level1");
    EXPECT_EQ(implementation->getBaseTimerSpeed(1), 0.0f);
    CDialogFactory* dialog = implementation->createDialogFactory();
    EXPECT_NE(dynamic_cast<CGameDialogFactory*>(dialog), nullptr);
    dialog->drop();
    implementation->drop();
}

} // namespace
