#include "utils/math_fastmath.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(NumericHelpers, SignColorByteAndRangeMapping) {
    EXPECT_EQ(signOf(0.0000005f), 0);
    EXPECT_EQ(signOf(-0.0000005f), 0);
    EXPECT_EQ(signOf(0.5f), 1);
    EXPECT_EQ(signOf(-2.0f), -1);

    EXPECT_EQ(colorByte(0.5f), 127);
    EXPECT_EQ(colorByte(1.0f), 255);
    EXPECT_EQ(colorByte(2.0f), 255);
    EXPECT_EQ(colorByte(-1.0f), 0);

    EXPECT_FLOAT_EQ(mapRange(5, 0, 10, 100, 200), 150);
    EXPECT_FLOAT_EQ(mapRange(0, 10, 0, 0, 1), 1);
}

TEST(VectorHelpers, LengthsNormalisationRotationAndAngles) {
    EXPECT_FLOAT_EQ(vectorLength(irr::core::vector3df(2, 3, 6)), 7);
    EXPECT_FLOAT_EQ(vectorLength(3, 4), 5);

    irr::core::vector3df v(0, 3, 4);
    normalizeVector(v);
    EXPECT_FLOAT_EQ(v.Y, 0.6f);
    irr::core::vector3df tiny(0.00001f, 0, 0);
    normalizeVector(tiny);
    EXPECT_FLOAT_EQ(tiny.X, 0.00001f);

    irr::core::vector3df turned = rotateAboutZ(irr::core::vector3df(1, 0, 5), 3.14159265f / 2);
    EXPECT_NEAR(turned.X, 0, 1e-6);
    EXPECT_NEAR(turned.Y, 1, 1e-6);
    EXPECT_FLOAT_EQ(turned.Z, 5);

    float yaw, pitch;
    directionAngles(1, 0, yaw, pitch);
    EXPECT_NEAR(yaw, 90, 1e-4);
    EXPECT_NEAR(pitch, 0, 1e-4);
    directionAngles(-1, 0, yaw, pitch);
    EXPECT_NEAR(yaw, 270, 1e-4);
    directionAngles(0, 1, yaw, pitch);
    EXPECT_NEAR(yaw, 0, 1e-4);
    EXPECT_NEAR(pitch, 315, 1e-4);
}
