#include "utils/key_value.h"

#include <gtest/gtest.h>

TEST(GetBetween, ReadsBetweenMarkersAndMovesThePosition) {
    std::string text = "<a>one</a><a>two</a>";
    int position = 0;
    EXPECT_EQ(getBetween(text, "<a>", "</a>", position), "one");
    EXPECT_EQ(position, 10);
    EXPECT_EQ(getBetween(text, "<a>", "</a>", position), "two");
    EXPECT_EQ(position, 20);
    EXPECT_EQ(getBetween(text, "<a>", "</a>", position), "");
    EXPECT_EQ(position, -1);
}

TEST(GetBetween, MissingMarkersSetThePositionAsDescribed) {
    std::string text = "x=1";
    int position = 0;
    EXPECT_EQ(getBetween(text, "y", "\n", position), "");
    EXPECT_EQ(position, -1);
    position = 0;
    EXPECT_EQ(getBetween(text, "x=", "\n", position), "");
    EXPECT_EQ(position, 3);
    position = 0;
    EXPECT_EQ(getBetween(text, "x", "", position), "=1");
    EXPECT_EQ(position, 3);
}

TEST(GetBetween, TakesTheValueFromTheParallelText) {
    std::string original = "\nKey=Mixed Case\n";
    std::string lower = "\nkey=mixed case\n";
    int position = 0;
    EXPECT_EQ(getBetween(lower, "key=", "\n", position, &original), "Mixed Case");
}

TEST(GetOption, ReadsTrimmedValueOfALineAfterALineBreak) {
    EXPECT_EQ(getOption("\nA=1\nB= two\n", "B"), "two");
    EXPECT_EQ(getOption("\nA=1\nB= two", "B"), "");
    EXPECT_EQ(getOption("\nA=1\nA=2\n", "A"), "1");
    EXPECT_EQ(getOption("\nXA=5\n", "A"), "");
    EXPECT_EQ(getOption("", "A"), "");
}

TEST(GetOption, WithoutLeadingLineBreakMatchesInsideLongerKeys) {
    EXPECT_EQ(getOption("XA=5\nA=7\n", "A"), "5");
}

TEST(ReadOptions, SetTargetOnlyWhenTheKeyLineExists) {
    std::string text = "\nName= Bob \nCount=12\nVolume=0.5\n";
    std::string name = "unchanged";
    int count = -1;
    float volume = -1;
    EXPECT_TRUE(readStringOption(name, text, "Name"));
    EXPECT_EQ(name, "Bob");
    EXPECT_TRUE(readIntOption(count, text, "Count"));
    EXPECT_EQ(count, 12);
    EXPECT_TRUE(readFloatOption(volume, text, "Volume"));
    EXPECT_FLOAT_EQ(volume, 0.5f);
    EXPECT_FALSE(readIntOption(count, text, "Missing"));
    EXPECT_EQ(count, 12);
    EXPECT_FALSE(readStringOption(name, text, "ame"));
    EXPECT_EQ(name, "Bob");
}

TEST(WriteOption, AppendsLinesWithDecimalIntsAndTwoDecimalFloats) {
    std::string text;
    writeOption(text, "S", "v");
    writeOption(text, "I", -3);
    writeOption(text, "F", 1.0 / 3);
    EXPECT_EQ(text, "S=v\nI=-3\nF=0.33\n");
}
