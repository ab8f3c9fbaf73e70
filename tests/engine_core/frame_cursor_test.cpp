#include "core/frame_cursor.h"

#include <gtest/gtest.h>

TEST(CursorVisibility, SystemCursorShowsForProfilePauseStartupAndSoftware) {
    EXPECT_FALSE(isSystemCursorShown({0, 0, 500, 0}));
    EXPECT_FALSE(isSystemCursorShown({0, 1, 500, 0}));
    EXPECT_TRUE(isSystemCursorShown({1, 0, 500, 0}));
    EXPECT_TRUE(isSystemCursorShown({0, 2, 500, 0}));
    EXPECT_TRUE(isSystemCursorShown({0, 0, 100, 0}));
    EXPECT_TRUE(isSystemCursorShown({0, 0, 500, 1}));
}

namespace {

IGameClient::CursorRequest strip(bool animate) {
    IGameClient::CursorRequest cursor;
    cursor.size = irr::core::dimension2di(256, 32);
    cursor.frameCount = 8;
    cursor.animate = animate;
    return cursor;
}

} // namespace

TEST(DrawnCursor, AdvancesAtMostEvery40MsWhileAnimating) {
    CFrameCursor cursor;
    IGameClient::CursorRequest held = strip(true);
    EXPECT_EQ(cursor.sourceRect(held, false, 1000), irr::core::recti(32, 0, 64, 32));
    EXPECT_EQ(cursor.sourceRect(held, false, 1030), irr::core::recti(32, 0, 64, 32));
    EXPECT_EQ(cursor.sourceRect(held, false, 1040), irr::core::recti(32, 0, 64, 32));
    EXPECT_EQ(cursor.sourceRect(held, false, 1041), irr::core::recti(64, 0, 96, 32));
    EXPECT_EQ(cursor.currentFrame(), 2);
}

TEST(DrawnCursor, ReleasedAnimationRunsOnToFrameZeroThenStops) {
    CFrameCursor cursor;
    uint32_t now = 1000;
    cursor.sourceRect(strip(true), false, now);
    cursor.sourceRect(strip(true), false, now += 41);
    ASSERT_EQ(cursor.currentFrame(), 2);
    IGameClient::CursorRequest released = strip(false);
    for (int expected = 3; expected < 8; ++expected) {
        cursor.sourceRect(released, false, now += 41);
        EXPECT_EQ(cursor.currentFrame(), expected);
    }
    EXPECT_EQ(cursor.sourceRect(released, false, now += 41), irr::core::recti(0, 0, 32, 32));
    cursor.sourceRect(released, false, now += 41);
    EXPECT_EQ(cursor.currentFrame(), 0);
}

TEST(DrawnCursor, WholeTextureWhenTheSystemCursorShowsOrNoFramesAreKnown) {
    CFrameCursor cursor;
    EXPECT_EQ(cursor.sourceRect(strip(true), true, 5000), irr::core::recti(0, 0, 256, 32));
    EXPECT_EQ(cursor.currentFrame(), 0);
    IGameClient::CursorRequest unknown = strip(true);
    unknown.frameCount = 0;
    EXPECT_EQ(cursor.sourceRect(unknown, false, 6000), irr::core::recti(0, 0, 256, 32));
}
