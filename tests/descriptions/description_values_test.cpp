#include "description_fixture.h"

#include "scene/description_values.h"

namespace {

using DescriptionValues = DescriptionTest;

TEST_F(DescriptionValues, FirstOccurrenceOfARepeatedKeyWins) {
    std::string value;
    EXPECT_TRUE(getKeyValue("\n-Name:first\n-Name:second\n", "-Name:", value));
    EXPECT_EQ(value, "first");
}

TEST_F(DescriptionValues, KeyIsFoundInsideAnotherLine) {
    std::string value;
    EXPECT_TRUE(getKeyValue("\n-Comment: see -Alpha:0.5\n", "-Alpha:", value));
    EXPECT_EQ(value, "0.5");
}

TEST_F(DescriptionValues, KeyWithoutValueOrOnAnUnterminatedLastLineIsAbsent) {
    std::string value = "stale";
    EXPECT_FALSE(getKeyValue("\n-Name:\n-Alpha:1\n", "-Name:", value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(getKeyValue("\n-Alpha:1\n-Name:last", "-Name:", value));
    EXPECT_FALSE(getKeyValue("\n-Alpha:1\n", "-Name:", value));
}

TEST_F(DescriptionValues, MultiLineValueEndsBeforeTheNextKeyOrSectionLine) {
    std::string value;
    EXPECT_TRUE(
        getKeyValue("\n-Text:\nline one\n  line -two\nline [three]\n-Alpha:1\n", "-Text:", value));
    EXPECT_EQ(value, "line one\n  line -two\nline [three]");

    EXPECT_TRUE(getKeyValue("\n-Text:\nA\nB\n[Sprite]\n-Text:C\n", "-Text:", value));
    EXPECT_EQ(value, "A\nB");

    EXPECT_TRUE(getKeyValue("\n-Text:\nA\nB", "-Text:", value));
    EXPECT_EQ(value, "A\nB");
}

TEST_F(DescriptionValues, KeyLineIsTheRawRestOfTheLine) {
    EXPECT_EQ(getKeyLine("\n-Texture: a b.png \n-X:1\n", "-Texture:"), " a b.png ");
    EXPECT_EQ(getKeyLine("\n-Texture:\nnext\n", "-Texture:"), "");
    EXPECT_EQ(getKeyLine("\n-Other:1\n", "-Texture:"), "");
}

TEST_F(DescriptionValues, IntegersAreReadFromTheFirstCharacter) {
    EXPECT_EQ(readDescriptionInt("42"), 42);
    EXPECT_EQ(readDescriptionInt("+-7"), -7);
    EXPECT_EQ(readDescriptionInt(" 1"), 0);
    EXPECT_EQ(readDescriptionInt("123456789"), 12345678);
    EXPECT_EQ(readDescriptionInt("x"), 0);
}

TEST_F(DescriptionValues, FloatsSkipBlanksAndReadSignFractionAndExponent) {
    EXPECT_FLOAT_EQ(readDescriptionFloat("  -2.5"), -2.5f);
    EXPECT_FLOAT_EQ(readDescriptionFloat("1.5e2"), 150.0f);
    EXPECT_FLOAT_EQ(readDescriptionFloat("25e-1"), 2.5f);
    EXPECT_FLOAT_EQ(readDescriptionFloat(".5"), 0.5f);
    EXPECT_FLOAT_EQ(readDescriptionFloat("abc"), 0.0f);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DescriptionValues, FloatWithACommaWarnsAndStopsThere) {
    EXPECT_FLOAT_EQ(readDescriptionFloat("0,5"), 0.0f);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Warning! whorg float delimiter used: 0,5");
}

TEST_F(DescriptionValues, TaggedNumbersAreFoundByTheirFirstLetter) {
    float x = -1, y = -1, z = -1;
    EXPECT_TRUE(readTaggedFloat(" x1 y-0.25", 'x', x));
    EXPECT_TRUE(readTaggedFloat(" x1 y-0.25", 'y', y));
    EXPECT_FALSE(readTaggedFloat(" x1 y-0.25", 'z', z));
    EXPECT_FLOAT_EQ(x, 1.0f);
    EXPECT_FLOAT_EQ(y, -0.25f);
    EXPECT_FLOAT_EQ(z, -1.0f);

    // The first x of "@box x1" is the one inside the name, which has no number after it.
    EXPECT_TRUE(readTaggedFloat("@box x1", 'x', x));
    EXPECT_FLOAT_EQ(x, 0.0f);

    int w = 0;
    EXPECT_TRUE(readTaggedInt("w64 h32", 'w', w));
    EXPECT_EQ(w, 64);
    EXPECT_TRUE(readTaggedInt("w 64", 'w', w));
    EXPECT_EQ(w, 0);
    EXPECT_TRUE(readTaggedFloat("x1,5", 'x', x));
    EXPECT_FLOAT_EQ(x, 1.0f);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DescriptionValues, TailStringFollowsTheFirstMarker) {
    std::string tail = "kept";
    EXPECT_FALSE(readTailString("x1 y2", '@', tail));
    EXPECT_EQ(tail, "kept");
    EXPECT_TRUE(readTailString("x1 @ box name @b ", '@', tail));
    EXPECT_EQ(tail, "box name @b");
}

TEST_F(DescriptionValues, ColourIsHexadecimalWithoutPrefix) {
    EXPECT_EQ(readDescriptionColor("80FF0000"), 0x80FF0000u);
    EXPECT_EQ(readDescriptionColor("ff00ff00 rest"), 0xFF00FF00u);
    EXPECT_EQ(readDescriptionColor("0x80FF0000"), 0u);
}

} // namespace
