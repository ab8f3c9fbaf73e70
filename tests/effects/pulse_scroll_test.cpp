#include "effects_fixture.h"

#include "animators/aeffectsanimators.h"

#include <algorithm>

namespace {

using AlphaPulse = EffectTest;
using TextureScroll = EffectTest;

TEST_F(AlphaPulse, DefaultPhaseStartsLowAndPeaksAfterOnePeriod) {
    CSpriteNode* sprite = spriteWith("-Animation.AlphaPulsar:t1000 a1 l0\n");
    ASSERT_NE(sprite, nullptr);
    ASSERT_EQ(countOf<CAlphaPulsar>(sprite), 1);
    EXPECT_EQ(sprite->getAlphaThreshold(), 0);
    const struct {
        irr::u32 elapsed;
        float alpha;
    } expected[] = {{0, 0.0f}, {500, 0.5f}, {1000, 1.0f}, {1500, 0.5f}, {2000, 0.0f}};
    irr::u32 time = kStart;
    for (const auto& point : expected) {
        for (; time <= kStart + point.elapsed; time += 25) {
            frameAt(time);
        }
        EXPECT_NEAR(sprite->getAlpha(), point.alpha, 1e-4f) << point.elapsed;
    }
}

TEST_F(AlphaPulse, PhaseZeroStartsHighAndTheLowAlphaIsTheBottom) {
    CSpriteNode* high = spriteWith("-Animation.AlphaPulsar:t400 a0.8 l0.2 p0\n");
    CSpriteNode* half = spriteWith("-Animation.AlphaPulsar:t400 a0.8 l0.2 p0.5\n");
    ASSERT_NE(high, nullptr);
    ASSERT_NE(half, nullptr);
    float lowest = 1;
    float highest = 0;
    for (irr::u32 elapsed = 0; elapsed <= 1600; elapsed += 25) {
        frameAt(kStart + elapsed);
        if (elapsed == 0) {
            EXPECT_NEAR(high->getAlpha(), 0.8f, 1e-4f);
            EXPECT_NEAR(half->getAlpha(), 0.5f, 1e-4f);
        }
        if (elapsed == 400) {
            EXPECT_NEAR(high->getAlpha(), 0.2f, 1e-4f);
            EXPECT_NEAR(half->getAlpha(), 0.5f, 1e-4f);
        }
        if (elapsed == 200) {
            EXPECT_NEAR(half->getAlpha(), 0.2f, 1e-4f);
        }
        lowest = std::min(lowest, high->getAlpha());
        highest = std::max(highest, high->getAlpha());
    }
    EXPECT_NEAR(lowest, 0.2f, 1e-4f);
    EXPECT_NEAR(highest, 0.8f, 1e-4f);
}

TEST_F(AlphaPulse, APulseWithoutPeriodStaysAtItsHighAlpha) {
    CSpriteNode* sprite = spriteWith("");
    ASSERT_NE(sprite, nullptr);
    auto* pulsar = new CAlphaPulsar(0, 0.7f);
    pulsar->setLowAlpha(0.1f);
    attachAnimator(sprite, pulsar);
    framesFromTo(kStart, kStart + 200, 25);
    EXPECT_FLOAT_EQ(sprite->getAlpha(), 0.7f);
}

TEST_F(TextureScroll, TextureCoordinatesMoveBySpeedTimesTenthsOfSecondsWithoutBound) {
    CSpriteNode* sprite = spriteWith("-Animation.TextureScroller:x0.1 y-0.25\n");
    CSpriteNode* tooSlow = spriteWith("-Animation.TextureScroller:x0.0009 y-0.0009\n");
    ASSERT_NE(sprite, nullptr);
    ASSERT_NE(tooSlow, nullptr);
    EXPECT_EQ(countOf<CTextureScroller>(sprite), 1);
    EXPECT_EQ(countOf<CTextureScroller>(tooSlow), 0);
    irr::core::vector2df before[4];
    for (int k = 0; k < 4; ++k) {
        before[k] = sprite->getVertices()[k].TCoords;
    }
    framesFromTo(kStart, kStart + 3000, 25);
    for (int k = 0; k < 4; ++k) {
        irr::core::vector2df moved = sprite->getVertices()[k].TCoords - before[k];
        EXPECT_NEAR(moved.X, 3.0f, 1e-3f) << k;
        EXPECT_NEAR(moved.Y, -7.5f, 1e-3f) << k;
    }
}

} // namespace
