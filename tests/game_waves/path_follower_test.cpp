#include "path_follower.h"

#include "fire_spots.h"

#include "animators/animator_fixture.h"

namespace {

using irr::core::vector2df;
using irr::core::vector3df;

// A square whose corners the ship passes one per second at speed 1.
const std::vector<vector2df> kSquare = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};

class PathFollowerTest : public AnimatorTest {
protected:
    void SetUp() override {
        AnimatorTest::SetUp();
        game->speeds[1] = 1;
        ship = makeNode(nullptr, 8001, vector3df(7, 7, 7));
    }

    CPathFollower* follow(std::vector<vector2df> path) {
        follower = new CPathFollower(std::move(path), 1.0f, 0.5f);
        attachAnimatorEveryFrame(ship, follower);
        return follower;
    }

    void expectShipAt(float x, float y) {
        vector3df position = ship->getPosition();
        EXPECT_NEAR(position.X, x, 0.01f);
        EXPECT_NEAR(position.Y, y, 0.01f);
        EXPECT_EQ(position.Z, 0);
    }

    CNodeBasement* ship = nullptr;
    CPathFollower* follower = nullptr;
};

TEST_F(PathFollowerTest, FollowsTheSplineOneSegmentPerSecond) {
    follow(kSquare);
    EXPECT_EQ(follower->getBaseTimer(), 1);
    frameAt(kStart);
    expectShipAt(0, 0);
    frameAt(kStart + 500);
    expectShipAt(50, -12.5f);
    frameAt(kStart + 1000);
    expectShipAt(100, 0);
    frameAt(kStart + 1500);
    expectShipAt(112.5f, 50);
    frameAt(kStart + 2000);
    expectShipAt(100, 100);
}

TEST_F(PathFollowerTest, PathEndsWhenTheClosingSegmentBegins) {
    int ends = 0;
    follow(kSquare)->setPathEndHandler([&] {
        ++ends;
        return false;
    });
    framesFromTo(kStart, kStart + 2999, 100);
    frameAt(kStart + 2999);
    EXPECT_EQ(ends, 0);
    frameAt(kStart + 3000);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(follower->getCompletedPaths(), 1);
    // Without a new path the same one starts again from its first point.
    frameAt(kStart + 3500);
    expectShipAt(50, -12.5f);
    EXPECT_EQ(ends, 1);
}

TEST_F(PathFollowerTest, NextWavePathStartsFromItsFirstSegment) {
    const std::vector<vector2df> next = {{10, 10}, {20, 10}, {20, 20}};
    follow(kSquare)->setPathEndHandler([&] {
        follower->setPath(next);
        return false;
    });
    frameAt(kStart);
    frameAt(kStart + 3000);
    frameAt(kStart + 3100);
    expectShipAt(10, 10);
    frameAt(kStart + 4100);
    expectShipAt(20, 10);
}

TEST_F(PathFollowerTest, LastWaveDoneRemovesTheFollower) {
    follow(kSquare)->setPathEndHandler([] { return true; });
    frameAt(kStart);
    frameAt(kStart + 3000);
    EXPECT_TRUE(ship->getAnimators().empty());
    EXPECT_EQ(CBaseAnimator::liveCount(), liveAtStart);
    frameAt(kStart + 4000);
}

TEST_F(PathFollowerTest, TimeJumpPastThePathEndEndsTheWave) {
    int ends = 0;
    follow(kSquare)->setPathEndHandler([&] {
        ++ends;
        return false;
    });
    frameAt(kStart);
    // Ten segments at once: wrapping would land in the middle of a later pass.
    frameAt(kStart + 10000);
    EXPECT_EQ(ends, 1);
    expectShipAt(0, 100);
    frameAt(kStart + 10500);
    expectShipAt(50, -12.5f);
    EXPECT_EQ(ends, 1);
}

TEST_F(PathFollowerTest, PausedLevelFreezesTheShip) {
    follow(kSquare);
    frameAt(kStart);
    frameAt(kStart + 500);
    expectShipAt(50, -12.5f);
    game->speeds[1] = 0;
    framesFromTo(kStart + 600, kStart + 5000, 200);
    expectShipAt(50, -12.5f);
    game->speeds[1] = 1;
    frameAt(kStart + 5500);
    expectShipAt(100, 0);
}

TEST_F(PathFollowerTest, EmptyPathWaitsUntilItGetsPoints) {
    int ends = 0;
    follow({})->setPathEndHandler([&] {
        ++ends;
        return false;
    });
    framesFromTo(kStart, kStart + 5000, 250);
    vector3df waiting = ship->getPosition();
    EXPECT_EQ(waiting, vector3df(7, 7, 7));
    EXPECT_EQ(ends, 0);
    follower->setPath(kSquare);
    frameAt(kStart + 5250);
    expectShipAt(0, 0);
    frameAt(kStart + 5750);
    expectShipAt(50, -12.5f);
}

TEST_F(PathFollowerTest, OnePointPathHoldsThePointAndEndsEachTick) {
    int ends = 0;
    follow({{30, 40}})->setPathEndHandler([&] {
        ++ends;
        return false;
    });
    frameAt(kStart);
    frameAt(kStart + 700);
    expectShipAt(30, 40);
    EXPECT_EQ(ends, 2);
}

} // namespace

namespace {

TEST_F(PathFollowerTest, ReportsEachMoveForTheFireSpots) {
    std::vector<FireSpot> spots(2);
    spots[0].start = vector2df(100, 0.2f);
    spots[0].name = "near";
    spots[1].start = vector2df(100, 100.5f);
    spots[1].name = "far";
    std::vector<std::string> activated;
    follow(kSquare)->setMoveHandler([&](const vector2df& from, const vector2df& to) {
        for (const FireSpot& spot : activateFireSpotsNear(spots, from, to)) {
            activated.push_back(spot.name);
        }
    });
    frameAt(kStart);
    frameAt(kStart + 1000);
    frameAt(kStart + 2000);
    frameAt(kStart + 3000);
    frameAt(kStart + 4000);
    ASSERT_EQ(activated, std::vector<std::string>{"near"});
    EXPECT_EQ(spots[0].activated, 1);
    EXPECT_EQ(spots[1].activated, 0);
}

} // namespace

namespace {

using Names = std::vector<std::string>;

TEST_F(PathFollowerTest, SpotBetweenTwoFramesIsPassedAndFires) {
    // Along the second segment of this straight path the ship runs from x 100 to 200 in a second,
    // so two frames 20 ms apart are 2 units apart, far more than the reach.
    std::vector<FireSpot> spots(1);
    spots[0].start = vector2df(150, 0.2f);
    spots[0].name = "between";
    Names activated;
    follow({{0, 0}, {100, 0}, {200, 0}, {300, 0}})
        ->setMoveHandler([&](const vector2df& from, const vector2df& to) {
            for (const FireSpot& spot : activateFireSpotsNear(spots, from, to)) {
                activated.push_back(spot.name);
            }
        });
    frameAt(kStart);
    frameAt(kStart + 1490);
    EXPECT_TRUE(activated.empty());
    frameAt(kStart + 1510);
    frameAt(kStart + 1530);
    EXPECT_EQ(activated, Names{"between"});
}

TEST_F(PathFollowerTest, JumpToTheNextWavePathPassesNoSpot) {
    // The next wave starts at (-200, 100); the ship jumps there from (0, 100) without flying.
    std::vector<FireSpot> spots(1);
    spots[0].start = vector2df(-100, 100);
    spots[0].name = "jumped";
    Names activated;
    follow(kSquare)->setPathEndHandler([&] {
        follower->setPath({{-200, 100}, {-300, 100}, {-300, 200}});
        return false;
    });
    follower->setMoveHandler([&](const vector2df& from, const vector2df& to) {
        for (const FireSpot& spot : activateFireSpotsNear(spots, from, to)) {
            activated.push_back(spot.name);
        }
    });
    framesFromTo(kStart, kStart + 3000, 100);
    frameAt(kStart + 3100);
    frameAt(kStart + 3200);
    EXPECT_LT(ship->getPosition().X, -200);
    EXPECT_TRUE(activated.empty());
}

} // namespace
