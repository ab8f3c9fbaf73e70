// How the check compares a written value with what the engine reads from it, form by form.

#include "check/description_keys.h"
#include "check/key_value_check.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const DescriptionKey& key(const char* name, unsigned places = kSpriteKey) {
    const DescriptionKey* found = findDescriptionKey(name, places);
    EXPECT_NE(found, nullptr) << name;
    return *found;
}

// The messages for the value, joined.
std::string problems(const char* keyName, const std::string& value, unsigned places = kSpriteKey) {
    std::string text;
    for (const ValueProblem& problem : checkKeyValue(key(keyName, places), value)) {
        text += problem.message + "|";
    }
    return text;
}

} // namespace

TEST(KeyValueCheck, WholeNumbersMustStartAtTheFirstCharacterAndEndThere) {
    EXPECT_EQ(problems("-RenderOrder:", "1"), "");
    EXPECT_EQ(problems("-LocalID:", "-12"), "");
    EXPECT_NE(problems("-RenderOrder:", " 1").find("starts with a blank: the engine reads 0"),
              std::string::npos);
    EXPECT_NE(problems("-MakeClones:", "2.5").find("is not a whole number: the engine reads 2"),
              std::string::npos);
    EXPECT_NE(problems("-Visible:", "yes").find("the engine reads 0"), std::string::npos);
    EXPECT_EQ(problems("-MakeClones:", "1000"), "");
    EXPECT_NE(problems("-MakeClones:", "99999999").find("more than the 1000 the engine makes"),
              std::string::npos);
}

TEST(KeyValueCheck, PlainNumbersWithACommaOrTrailingTextAreReadOtherwise) {
    EXPECT_EQ(problems("-Rotation:", " 90"), "");
    EXPECT_EQ(problems("-Rotation:", "1.5e2"), "");
    EXPECT_NE(problems("-Rotation:", "1,5").find("written with a comma: the engine reads 1"),
              std::string::npos);
    EXPECT_NE(problems("-Rotation:", "90 deg").find("'deg' after the number is ignored"),
              std::string::npos);
    // The alpha takes a fade time after its number.
    EXPECT_EQ(problems("-Alpha:", "0.5 t300"), "");
    EXPECT_NE(problems("-Alpha:", "0.5 q300").find("'q300' is no tag"), std::string::npos);
}

TEST(KeyValueCheck, TaggedValuesNeedTheirLettersInFront) {
    EXPECT_EQ(problems("-Position:", "x1 y-2.5 z0 s3"), "");
    EXPECT_EQ(problems("-Position:", "x1 y2 @box"), "");
    EXPECT_NE(problems("-Position:", "1 y2").find("'1' has no tag letter (x, y, z, s)"),
              std::string::npos);
    EXPECT_NE(problems("-Position:", "x0,5 y1").find("'x0,5' is written with a comma"),
              std::string::npos);
    EXPECT_NE(problems("-Position:", "10 20").find("gives none of the tags x, y, z, s"),
              std::string::npos);
    // The engine finds a tag at its first occurrence: here the x inside the name after the at
    // sign, which reads as 0.
    EXPECT_NE(problems("-Position:", "y1 @box x2")
                  .find("'x' is not given, so the engine reads it "
                        "at its first occurrence in 'y1 @box x2': 0"),
              std::string::npos);
    EXPECT_NE(problems("-Position:", "@box x1 y1").find("'x' is not given"), std::string::npos);
    EXPECT_NE(problems("-Position:", "x1 @").find("nothing follows '@'"), std::string::npos);
}

TEST(KeyValueCheck, SizesAreOneNumberOrTaggedSides) {
    EXPECT_EQ(problems("-Size:", "3"), "");
    EXPECT_EQ(problems("-Size:", "w4 h2"), "");
    EXPECT_EQ(problems("-Size:", "h2"), "");
    EXPECT_NE(problems("-Size:", "10 5").find("'5' after the number is ignored"),
              std::string::npos);
    EXPECT_NE(problems("-Size:", "2,5").find("written with a comma"), std::string::npos);
}

TEST(KeyValueCheck, ColoursAreHexadecimalWithoutPrefix) {
    EXPECT_EQ(problems("-Tint:", "80FF0000"), "");
    EXPECT_NE(problems("-Tint:", "0x80FF0000").find("the engine reads 00000000"),
              std::string::npos);
    EXPECT_NE(problems("-Tint:", "red").find("not a colour"), std::string::npos);
}

TEST(KeyValueCheck, ValuesWithMacrosAndFreeTextAreNotJudged) {
    EXPECT_EQ(problems("-Position:", "x${left} y1"), "");
    EXPECT_EQ(problems("-Event.Mouse.Click.Action:", "go(1, 2);"), "");
    EXPECT_EQ(problems("-Label:", "MENU.PLAY"), "");
}

TEST(DescriptionKeys, KeysAreFoundByPlaceAndNumberPatterns) {
    addDescriptionKeys({{"-Wave#:", kDialogHeaderKey, KeyForm::Text}});
    EXPECT_NE(findDescriptionKey("-Wave12:", kDialogHeaderKey), nullptr);
    EXPECT_EQ(findDescriptionKey("-Wave:", kDialogHeaderKey), nullptr);
    EXPECT_EQ(findDescriptionKey("-Wave1:", kSpriteKey), nullptr);
    // The header's position has no depth tag; the sprite's has.
    EXPECT_STREQ(findDescriptionKey("-Position:", kDialogHeaderKey)->tags, "xyz");
    EXPECT_STREQ(findDescriptionKey("-Position:", kSpriteKey)->tags, "xyzs");
    EXPECT_EQ(findDescriptionKey("-AsChild:", kSpriteKey), nullptr);
    EXPECT_NE(findDescriptionKey("-AsChild:", kSpriteKey | kSubSpriteKey), nullptr);
}

TEST(DescriptionKeys, AMisspeltKeyGetsTheClosestKeyOfItsPlace) {
    EXPECT_EQ(closestDescriptionKey("-Positon:", kSpriteKey), "-Position:");
    EXPECT_EQ(closestDescriptionKey("-texture:", kSpriteKey), "-Texture:");
    EXPECT_EQ(closestDescriptionKey("-BackgroundMusik:", kDialogHeaderKey), "-BackgroundMusic:");
    EXPECT_EQ(closestDescriptionKey("-Completely.Different:", kSpriteKey), "");
}
