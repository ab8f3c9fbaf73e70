#include "text_fixture.h"

#include "scene/text_wrap.h"

// Every glyph of the test's main font is 0.04 units wide.
class TextWrap : public TextTest {
protected:
    std::string wrap(const std::string& text, float maxWidth) {
        return wrapText(*game->mainFont, text, maxWidth);
    }
};

TEST_F(TextWrap, TwoWordsBreakAfterTheBlankWhenTheSecondDoesNotFit) {
    EXPECT_EQ(wrap("abc def", 0.18f), "abc \ndef");
    EXPECT_EQ(wrap("abc def", 0.30f), "abc def");
}

TEST_F(TextWrap, LinesBreakAfterTheirLastBreakCharacter) {
    EXPECT_EQ(wrap("ab,cd,ef", 0.22f), "ab,cd,\nef");
    EXPECT_EQ(wrap("one two three", 0.34f), "one two \nthree");
}

TEST_F(TextWrap, WordsLongerThanTheWidthBreakInside) {
    EXPECT_EQ(wrap("abcdefghij", 0.13f), "abc\ndef\nghi\nj");
    EXPECT_EQ(wrap("ab cdefghij", 0.13f), "ab \ncde\nfgh\nij");
}

TEST_F(TextWrap, WidthBelowOneCharacterStillEndsWithOneCharacterPerLine) {
    EXPECT_EQ(wrap("abc", 0.001f), "a\nb\nc");
    EXPECT_EQ(wrap("a b", 0.0f), "a \nb");
    EXPECT_EQ(wrap("xy", -1.0f), "x\ny");
}

TEST_F(TextWrap, LineFeedsStartAFreshLineAndMarkupLinesStayWhole) {
    EXPECT_EQ(wrap("ab\ncd", 0.1f), "ab\ncd");
    EXPECT_EQ(wrap("<font-size:-1>\nabc def\n<color=#ff0000><center>\nghi", 0.18f),
              "<font-size:-1>\nabc \ndef\n<color=#ff0000><center>\nghi");
    EXPECT_EQ(wrap("abc\n<right>", 0.13f), "abc\n<right>");
}

TEST_F(TextWrap, WithoutAFontSizeTheMainFontMeasures) {
    EXPECT_EQ(wrapText("abc def", 0.18f), "abc \ndef");
}
