#include "game_holes_fixture.h"

#include <cmath>

namespace {

TEST_F(HoleMakerTest, AimerFollowsTheCursorAtItsSpeed) {
    const irr::core::position2di screen = screenAt(4, 2);
    moveCursor(screen);
    ASSERT_EQ(getEngine().getInput().cursorX(), screen.X);
    const irr::core::vector3df target = planePoint(screen);
    CNodeBasement* node = aimer(0.4f);
    ASSERT_NE(node, nullptr);
    // The first step only starts the clock; each later one (0.25 of 100 ms) covers a tenth.
    frames(1);
    EXPECT_EQ(node->getPosition(), irr::core::vector3df(0, 0, 0));
    frames(3);
    const float covered = 1 - std::pow(0.9f, 3);
    EXPECT_NEAR(node->getPosition().X, target.X * covered, 1e-3f);
    EXPECT_NEAR(node->getPosition().Y, target.Y * covered, 1e-3f);
    EXPECT_FLOAT_EQ(node->getPosition().Z, 0.0f);

    // Without a current level it still follows the cursor.
    setCurrentLevelShots(nullptr, nullptr);
    frames(200);
    EXPECT_NEAR(node->getPosition().X, target.X, 1e-3f);
    EXPECT_NEAR(node->getPosition().Y, target.Y, 1e-3f);
}

TEST_F(HoleMakerTest, ALongFrameLandsOnTheTargetWithoutOvershooting) {
    const irr::core::position2di screen = screenAt(-3, 1);
    moveCursor(screen);
    const irr::core::vector3df target = planePoint(screen);
    CNodeBasement* node = aimer(2);
    frames(1);
    // 2 s is 20 units of 100 ms: unclamped the aimer would fly 40 times the distance.
    frame(2000);
    EXPECT_NEAR(node->getPosition().X, target.X, 1e-4f);
    EXPECT_NEAR(node->getPosition().Y, target.Y, 1e-4f);
    frame(5000);
    EXPECT_NEAR(node->getPosition().X, target.X, 1e-4f);
}

TEST_F(HoleMakerTest, AimerInsideAParentMovesInAbsoluteTerms) {
    CNodeBasement* parent = createEmptyNode(scene->root(), 0, {1, 1, 0});
    ASSERT_NE(parent, nullptr);
    const irr::core::position2di screen = screenAt(3, -1);
    moveCursor(screen);
    const irr::core::vector3df target = planePoint(screen);
    const std::string text = "-Texture:\\gui\\empty.png\n-GameLogic-FollowCursor:s5\n";
    CNodeBasement* node =
        createSprite("raw:\\" + text, 1, 1, {0, 0, 0}, parent, nullptr, "game_holes_test");
    frames(1);
    frame(1000);
    EXPECT_NEAR(node->getAbsolutePosition().X, target.X, 1e-4f);
    EXPECT_NEAR(node->getPosition().X, target.X - 1, 1e-4f);
    EXPECT_NEAR(node->getPosition().Y, target.Y - 1, 1e-4f);
}

TEST_F(HoleMakerTest, ShotsAreQueuedOnlyWithEnoughEnergyAndByButton) {
    EXPECT_FALSE(queueHoleShot(queue, 0.48f, {10, 20}, 2));
    EXPECT_TRUE(queue.empty());
    EXPECT_TRUE(queueHoleShot(queue, 0.5f, {10, 20}, 2));
    EXPECT_TRUE(queueHoleShot(queue, 0.49f, {30, 40}, 1));
    EXPECT_TRUE(queueHoleShot(queue, 0.49f, {30, 40}, 0));
    ASSERT_EQ(queue.size(), 3u);
    EXPECT_EQ(queue[0].kind, HoleShot::kBlackHole);
    EXPECT_EQ(queue[0].position, irr::core::vector2df(10, 20));
    EXPECT_EQ(queue[1].kind, HoleShot::kWhiteHole);
    EXPECT_EQ(queue[2].kind, HoleShot::kWhiteHole);
}

TEST_F(HoleMakerTest, TheAimerDropsTheHoleOnArrivalAndPaysItsEnergy) {
    moveCursor(screenAt(-4, -2));
    energy = 0.5f;
    const irr::core::position2di shotScreen = screenAt(3, 0);
    ASSERT_TRUE(queueHoleShot(
        queue, energy,
        irr::core::vector2df(static_cast<float>(shotScreen.X), static_cast<float>(shotScreen.Y)),
        2));
    // A queued entry of another kind is not a hole shot: it is passed over and left alone.
    queue.push_front({{0, 0}, 0});
    CNodeBasement* node = aimer(0.4f);
    frames(1);
    frames(4);
    // Still on the way: nothing is made and nothing is paid.
    EXPECT_GT(node->getPosition().X, 0.5f);
    EXPECT_EQ(getNodeByName("black_hole"), nullptr);
    EXPECT_FLOAT_EQ(energy, 0.5f);
    EXPECT_EQ(queue.size(), 2u);

    frames(40);
    CNodeBasement* hole = getNodeByName("black_hole");
    ASSERT_NE(hole, nullptr);
    EXPECT_EQ(hole->getParent(), node->getParent());
    EXPECT_NEAR(hole->getPosition().X, planePoint(shotScreen).X, kHoleMakerReach);
    EXPECT_NEAR(energy, 0.01f, 1e-5f);
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_EQ(queue.front().kind, 0);
    EXPECT_EQ(getNodeByName("white_hole"), nullptr);

    // With the shot made the aimer heads back to the cursor.
    frames(40);
    EXPECT_LT(node->getPosition().X, -3.0f);
}

TEST_F(HoleMakerTest, EnergyIsOnlyCheckedWhenQueuingSoItCanGoNegative) {
    const irr::core::position2di at = screenAt(0, 0);
    const irr::core::vector2df shot(static_cast<float>(at.X), static_cast<float>(at.Y));
    moveCursor(at);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(queueHoleShot(queue, energy, shot, 1));
    }
    aimer(1);
    frames(10);
    EXPECT_TRUE(queue.empty());
    EXPECT_NEAR(energy, -0.47f, 1e-5f);
    EXPECT_FALSE(queueHoleShot(queue, energy, shot, 1));
    EXPECT_NE(getNodeByName("white_hole"), nullptr);
}

TEST_F(HoleMakerTest, AHoleFromAShotPullsANearbyBody) {
    const irr::core::position2di at = screenAt(0, 0);
    moveCursor(at);
    ASSERT_TRUE(
        queueHoleShot(queue, energy,
                      irr::core::vector2df(static_cast<float>(at.X), static_cast<float>(at.Y)), 2));
    aimer(1);
    CNodeBasement* ball = createSprite("raw:\\-Texture:\\gui\\empty.png\n-Size:w0.5 h0.5\n"
                                       "-Animation.Physics2D:shape[circle]density[1]\n",
                                       1, 1, {2, 0, 0}, scene->root(), nullptr, "game_holes_test");
    ASSERT_NE(ball, nullptr);
    frames(3);
    CNodeBasement* hole = getNodeByName("black_hole");
    ASSERT_NE(hole, nullptr);
    const float holeX = hole->getPosition().X;
    frames(20);
    EXPECT_LT(ball->getPosition().X, 2.0f);
    EXPECT_GT(ball->getPosition().X, holeX);
    EXPECT_NEAR(ball->getPosition().Y, hole->getPosition().Y, 0.05f);
}

} // namespace
