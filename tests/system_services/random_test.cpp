#include "utils/math_fastmath.h"
#include "utils/math_misc.h"

#include <gtest/gtest.h>

TEST(RandomGenerator, SeededSequenceIsTheLinearCongruentialOne) {
    setRandomSeed(1);
    EXPECT_EQ(random15(), 41);
    EXPECT_EQ(random15(), 18467);
    EXPECT_EQ(random15(), 6334);
    EXPECT_EQ(random15(), 26500);
    EXPECT_EQ(random15(), 19169);
}

TEST(RandomGenerator, IntegerRangeExcludesTheUpperBound) {
    setRandomSeed(12345);
    bool seen[11] = {};
    for (int i = 0; i < 20000; ++i) {
        int value = randomInt(0, 10);
        ASSERT_GE(value, 0);
        ASSERT_LT(value, 10);
        seen[value] = true;
    }
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(seen[i]) << i;
    }
}

TEST(RandomGenerator, FloatRangeTakesEitherOrder) {
    setRandomSeed(99);
    float low = 100, high = -100;
    for (int i = 0; i < 20000; ++i) {
        float value = randomFloat(10, 0);
        low = std::min(low, value);
        high = std::max(high, value);
    }
    EXPECT_GE(low, 0.0f);
    EXPECT_LE(high, 10.0f);
    EXPECT_LT(low, 0.05f);
    EXPECT_GT(high, 9.95f);
}

TEST(NoiseOscillator, StaysBetweenZeroAndTheAmplitude) {
    setRandomSeed(7);
    for (int n = 0; n < 20; ++n) {
        NoiseOscillator oscillator(4.0f, 3.0f);
        for (float t = 0; t < 100; t += 0.37f) {
            float value = oscillator.value(t);
            ASSERT_GE(value, -0.0001f);
            ASSERT_LE(value, 4.0001f);
        }
    }
}

TEST(NoiseOscillator, WithoutRangeRestsAtHalfTheAmplitude) {
    NoiseOscillator oscillator(3.0f, 0.0f);
    EXPECT_FLOAT_EQ(oscillator.value(0), 1.5f);
    EXPECT_FLOAT_EQ(oscillator.value(12.5f), 1.5f);
}

TEST(NoiseOscillator, SameSeedGivesTheSameOscillation) {
    setRandomSeed(3);
    NoiseOscillator first(2.0f, 1.0f);
    setRandomSeed(3);
    NoiseOscillator second(2.0f, 1.0f);
    EXPECT_FLOAT_EQ(first.value(5.0f), second.value(5.0f));
    NoiseOscillator third(2.0f, 1.0f);
    EXPECT_NE(first.value(5.0f), third.value(5.0f));
}
