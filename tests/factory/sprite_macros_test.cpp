#include "core/vellumengine.h"
#include "scene/sprite_macros.h"
#include "support/test_program.h"
#include "utils/math_fastmath.h"
#include "utils/utils_lang.h"
#include "utils/utils_str.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace {

std::string expanded(std::string text, std::vector<std::string> params = {}) {
    expandSpriteMacros(text, &params, nullptr);
    return text;
}

} // namespace

TEST(SpriteMacros, IntegerRandomCoversBothEnds) {
    setRandomSeed(11);
    std::set<std::string> seen;
    for (int i = 0; i < 300; ++i) {
        seen.insert(expanded("${rnd(1,3)}"));
    }
    EXPECT_EQ(seen, (std::set<std::string>{"1", "2", "3"}));
    EXPECT_EQ(expanded("x${rnd(7)}y"), "x7y");
}

TEST(SpriteMacros, FloatRandomIsWrittenWithSixDecimalsWithinItsRange) {
    setRandomSeed(5);
    for (int i = 0; i < 100; ++i) {
        std::string value = expanded("${rnd(0.5,1.5)}");
        ASSERT_TRUE(std::regex_match(value, std::regex("[01]\\.\\d{6}"))) << value;
        float number = std::stof(value);
        ASSERT_GE(number, 0.5f);
        ASSERT_LE(number, 1.5f);
    }
}

TEST(SpriteMacros, EqualRandomMacrosGetTheirOwnValues) {
    setRandomSeed(3);
    bool differed = false;
    for (int i = 0; i < 50 && !differed; ++i) {
        std::string text = expanded("${rnd(0,1000)} ${rnd(0,1000)}");
        size_t blank = text.find(' ');
        differed = text.substr(0, blank) != text.substr(blank + 1);
    }
    EXPECT_TRUE(differed);
}

TEST(SpriteMacros, UnclosedRandomMacroStaysAndEndsTheExpansion) {
    std::string text = expanded("a ${rnd(5,5)} b ${rnd(3,4");
    EXPECT_EQ(text, "a 5 b ${rnd(3,4");
}

TEST(SpriteMacros, ParametersKeysAndScreenSize) {
    TestProgram program;
    setLanguage("data_en");
    EXPECT_EQ(expanded("-Tint:${color} ${color}", {"color=red"}), "-Tint:red red");
    EXPECT_EQ(expanded("${auto},${all},${VK_RETURN},${VK_SPACE}"), "-1,-1,13,32");
    EXPECT_EQ(expanded("${Screen_X}x${Screen_Y}"), "640x480");
    program.writeData("gui/empty.png", "png");
    EXPECT_EQ(expanded("-Texture:${virtualNode}"),
              "-Texture:" + toLower(program.folder().engine()) +
                  "data\\gui\\empty.png\n-Invisible:1\n");
}

TEST(SpriteMacros, MalformedParameterIsFatal) {
    EXPECT_EXIT(expanded("${a}", {"a"}), testing::ExitedWithCode(1), "");
    EXPECT_EXIT(expanded("${a}", {"a=b=c"}), testing::ExitedWithCode(1), "");
}
