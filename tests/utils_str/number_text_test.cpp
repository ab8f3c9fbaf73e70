#include "utils/number_text.h"

#include <gtest/gtest.h>

TEST(ParseInt, ReadsAtMostEightDigitsAndOneSign) {
    EXPECT_EQ(parseInt("123456789"), 12345678);
    EXPECT_EQ(parseInt("+-5"), -5);
    EXPECT_EQ(parseInt("-17x3"), -17);
    EXPECT_EQ(parseInt("+7"), 7);
    EXPECT_EQ(parseInt(""), 0);
    EXPECT_EQ(parseInt("abc"), 0);
    EXPECT_EQ(parseInt("--5"), 0);
}

TEST(ParseIntAnyBase, RecognisesEachPrefix) {
    EXPECT_EQ(parseIntAnyBase("#ff"), 255);
    EXPECT_EQ(parseIntAnyBase("&#65"), 65);
    EXPECT_EQ(parseIntAnyBase("&#x41"), 65);
    EXPECT_EQ(parseIntAnyBase("&#X4a"), 74);
    EXPECT_EQ(parseIntAnyBase("0x1G"), 1);
    EXPECT_EQ(parseIntAnyBase("0xFFFFFFFF"), -1);
    EXPECT_EQ(parseIntAnyBase("0x"), 0);
    EXPECT_EQ(parseIntAnyBase("#"), 0);
    EXPECT_EQ(parseIntAnyBase("-12"), -12);
    EXPECT_EQ(parseIntAnyBase(""), 0);
}

TEST(ParseFloat, ReadsFractionAndExponentOnlyInOrder) {
    EXPECT_FLOAT_EQ(parseFloat("0.33"), 0.33f);
    EXPECT_FLOAT_EQ(parseFloat("-2.5"), -2.5f);
    EXPECT_FLOAT_EQ(parseFloat("+3"), 3.0f);
    EXPECT_FLOAT_EQ(parseFloat("1.5e2"), 150.0f);
    EXPECT_FLOAT_EQ(parseFloat("1.5e-1"), 0.15f);
    EXPECT_FLOAT_EQ(parseFloat("2e3"), 2.0f);
    EXPECT_FLOAT_EQ(parseFloat("123456789.5"), 12345678.0f);
    EXPECT_FLOAT_EQ(parseFloat("0.123456789"), 0.12345678f);
    EXPECT_FLOAT_EQ(parseFloat(""), 0.0f);
}

TEST(ParseColor, HashFormPutsRedInTheLowestByte) {
    EXPECT_EQ(parseColor("#FF8000"), 255 + 128 * 256);
    EXPECT_EQ(parseColor("#0000ff"), 255 * 65536);
    EXPECT_EQ(parseColor("16777215"), 16777215);
    EXPECT_EQ(parseColor(" -5"), -5);
    EXPECT_EQ(parseColor("#FF80"), 0);
    EXPECT_EQ(parseColor(""), 0);
}
