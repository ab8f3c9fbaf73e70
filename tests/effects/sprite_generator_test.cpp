#include "effects_fixture.h"

#include "animators/aspritegenerator.h"
#include "utils/math_fastmath.h"

#include <cmath>
#include <vector>

namespace {

class SpriteGenerator : public EffectTest {
protected:
    void SetUp() override {
        EffectTest::SetUp();
        program.writeData("gui/small.spr", "-Texture:orange.png\n-Size:w1 h1\n");
        program.writeData("gui/large.spr", "-Texture:orange.png\n-Size:w2 h2\n");
        setRandomSeed(12345);
    }

    // Frames every 25 ms over the span; the times (ms after kStart) at which the node's child
    // count grew.
    std::vector<irr::u32> spawnTimes(irr::scene::ISceneNode* node, irr::u32 span) {
        std::vector<irr::u32> times;
        size_t children = node->getChildren().size();
        for (irr::u32 elapsed = 0; elapsed <= span; elapsed += 25) {
            frameAt(kStart + elapsed);
            if (node->getChildren().size() != children) {
                EXPECT_EQ(node->getChildren().size(), children + 1) << elapsed;
                children = node->getChildren().size();
                times.push_back(elapsed);
            }
        }
        return times;
    }
};

TEST_F(SpriteGenerator, PeriodOfHundredWithoutExtraSpawnsEvery150MsOnTheTickAfterItsTime) {
    CSpriteNode* node = spriteWith("-Animation.RandomSprGenerator:t100 r0 @\\gui\\small.spr\n");
    ASSERT_NE(node, nullptr);
    ASSERT_EQ(countOf<CRandomSpriteGenerator>(node), 1);
    std::vector<irr::u32> times = spawnTimes(node, 1000);
    EXPECT_EQ(times, (std::vector<irr::u32>{125, 275, 425, 575, 725, 875}));
}

TEST_F(SpriteGenerator, RandomExtraSpreadsTheSpawnsWithinItsRangeAndEveryFileIsChosen) {
    CSpriteNode* node =
        spriteWith("-Size:w1.5 h1.5\n-Animation.RandomSprGenerator:t100 r200 c1 @\\gui\\small.spr,"
                   "\\gui\\large.spr\n");
    ASSERT_NE(node, nullptr);
    std::vector<irr::u32> times = spawnTimes(node, 20000);
    ASSERT_GT(times.size(), 40u);
    irr::u32 shortest = 100000;
    irr::u32 longest = 0;
    for (size_t k = 1; k < times.size(); ++k) {
        shortest = std::min(shortest, times[k] - times[k - 1]);
        longest = std::max(longest, times[k] - times[k - 1]);
    }
    // Rescheduled on the tick after a spawn, then period + extra (below 200), then the next tick.
    EXPECT_GE(shortest, 150u);
    EXPECT_LE(longest, 350u);
    EXPECT_GT(longest - shortest, 100u);
    int small = 0;
    int large = 0;
    for (irr::scene::ISceneNode* child : node->getChildren()) {
        irr::core::dimension2df size = asEngineNode(child)->getSize();
        EXPECT_EQ(child->getPosition(), irr::core::vector3df(0, 0, 0));
        small += size.Width == 1.5f ? 1 : 0;
        large += size.Width == 3.0f ? 1 : 0;
    }
    EXPECT_EQ(small + large, static_cast<int>(times.size()));
    EXPECT_GT(small, 5);
    EXPECT_GT(large, 5);
}

TEST_F(SpriteGenerator, WithoutAsChildTheSpritesAppearBesideTheNodeAtItsPosition) {
    CNodeBasement* holder = createEmptyNode(nullptr, 8001, irr::core::vector3df(0, 0, 0));
    ASSERT_NE(holder, nullptr);
    CSpriteNode* node = dynamic_cast<CSpriteNode*>(
        createSprite("raw:\\-Texture:\\gui\\orange.png\n"
                     "-Animation.RandomSprGenerator:t100 c0 @\\gui\\small.spr\n",
                     1, 1, irr::core::vector3df(3, 4, 0), holder, nullptr, "test:1"));
    ASSERT_NE(node, nullptr);
    framesFromTo(kStart, kStart + 400, 25);
    EXPECT_TRUE(node->getChildren().empty());
    ASSERT_EQ(holder->getChildren().size(), 3u);
    for (irr::scene::ISceneNode* child : holder->getChildren()) {
        EXPECT_EQ(child->getPosition(), irr::core::vector3df(3, 4, 0));
    }
}

TEST_F(SpriteGenerator, OrientedGeneratorWaitsForMovementAndTurnsSpritesAlongIt) {
    CSpriteNode* node = spriteWith("-Animation.RandomSprGenerator:t100 o1 @\\gui\\small.spr\n");
    ASSERT_NE(node, nullptr);
    framesFromTo(kStart, kStart + 1000, 25);
    EXPECT_TRUE(node->getChildren().empty());

    node->setPosition(irr::core::vector3df(0, 0.005f, 0));
    framesFromTo(kStart + 1025, kStart + 1100, 25);
    EXPECT_TRUE(node->getChildren().empty());

    // Already due: spawns on the next tick once the node is 0.01 from where it stood.
    node->setPosition(irr::core::vector3df(0, 0.02f, 0));
    frameAt(kStart + 1125);
    ASSERT_EQ(node->getChildren().size(), 1u);
    auto* upwards = dynamic_cast<CSpriteNode*>(node->getChildren().getLast().operator*());
    ASSERT_NE(upwards, nullptr);
    EXPECT_NEAR(upwards->getFlatRotation(), 3.1415927f / 2, 1e-4f);

    // Standing still again: due but no spawn.
    framesFromTo(kStart + 1150, kStart + 1600, 25);
    EXPECT_EQ(node->getChildren().size(), 1u);
    node->setPosition(irr::core::vector3df(1, 0.02f, 0));
    frameAt(kStart + 1625);
    ASSERT_EQ(node->getChildren().size(), 2u);
    auto* sideways = dynamic_cast<CSpriteNode*>(node->getChildren().getLast().operator*());
    ASSERT_NE(sideways, nullptr);
    EXPECT_NEAR(sideways->getFlatRotation(), 0.0f, 1e-4f);
}

TEST_F(SpriteGenerator, WithoutFilesNothingIsAttachedAndAGeneratorWithoutFilesNeverSpawns) {
    CSpriteNode* described = spriteWith("-Animation.RandomSprGenerator:t100 r0\n");
    ASSERT_NE(described, nullptr);
    EXPECT_EQ(countOf<CRandomSpriteGenerator>(described), 0);

    CSpriteNode* node = spriteWith("");
    ASSERT_NE(node, nullptr);
    attachAnimator(node, new CRandomSpriteGenerator(100, 0, 1, {}));
    framesFromTo(kStart, kStart + 1000, 25);
    EXPECT_TRUE(node->getChildren().empty());
    EXPECT_EQ(countOf<CRandomSpriteGenerator>(node), 1);
}

} // namespace
