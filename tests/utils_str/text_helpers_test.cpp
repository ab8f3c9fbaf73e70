#include "utils/utils_str.h"

#include <gtest/gtest.h>

TEST(TextHelpers, FindReturnsMinusOneWhenAbsentOrStartOutOfRange) {
    EXPECT_EQ(find("abcabc", "bc"), 1);
    EXPECT_EQ(find("abcabc", "bc", 2), 4);
    EXPECT_EQ(find("abcabc", "x"), -1);
    EXPECT_EQ(find("abc", "a", 4), -1);
    EXPECT_EQ(find("abc", "a", -1), -1);
    EXPECT_EQ(findChar("abc", 'c'), 2);
    EXPECT_EQ(findChar("abc", 'c', 3), -1);
}

TEST(TextHelpers, ReplaceAllDoesNotRescanInsertedText) {
    EXPECT_EQ(replaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(replaceAll("\nkey\nkey", "\nkey", "\n//key"), "\n//key\n//key");
    EXPECT_EQ(replaceAll("abc", "", "x"), "abc");
}

TEST(TextHelpers, ReplaceNCountsAndStopsAfterN) {
    std::string text = "a.b.c.d";
    EXPECT_EQ(replaceN(text, ".", "-", 2), 2);
    EXPECT_EQ(text, "a-b-c.d");
    EXPECT_EQ(replaceN(text, ".", "-", -1), 1);
    EXPECT_EQ(text, "a-b-c-d");
    EXPECT_EQ(replaceN(text, ".", "-", -1), 0);
}

TEST(TextHelpers, SlicesClampToTheText) {
    EXPECT_EQ(left("hello", 2), "he");
    EXPECT_EQ(left("hello", 9), "hello");
    EXPECT_EQ(right("hello", 3), "llo");
    EXPECT_EQ(right("hello", 9), "hello");
    EXPECT_EQ(right("hello", 0), "");
    EXPECT_EQ(mid("hello", 1, 3), "ell");
    EXPECT_EQ(mid("hello", 3), "lo");
    EXPECT_EQ(mid("hello", 7), "");
}

TEST(TextHelpers, TrimAndCase) {
    EXPECT_EQ(trim(" \t a b \r\n"), "a b");
    EXPECT_EQ(trimLeft("  a "), "a ");
    EXPECT_EQ(trimRight("  a "), "  a");
    EXPECT_EQ(trim(" \n "), "");
    EXPECT_EQ(toLower("Data_EN\\X.SPR"), "data_en\\x.spr");
    EXPECT_EQ(toUpper("abc\xe4"), "ABC\xe4");
}

TEST(TextHelpers, StartsWithNeedsTheWholePrefix) {
    EXPECT_TRUE(startsWith("raw:\\x", "raw:\\"));
    EXPECT_TRUE(startsWith("abc", ""));
    EXPECT_FALSE(startsWith("ra", "raw"));
    EXPECT_FALSE(startsWith("Raw", "raw"));
}

TEST(TextHelpers, FormatAndIntToText) {
    EXPECT_EQ(format("%s=%0.2f", "v", 1.0 / 3), "v=0.33");
    EXPECT_EQ(format("%s", std::string(3000, 'x').c_str()).size(), 3000u);
    EXPECT_EQ(intToText(-42), "-42");
    EXPECT_EQ(intToText(0), "0");
}

TEST(Lists, JoinPutsSeparatorsOnlyAfterNonEmptyText) {
    EXPECT_EQ(joinList({"a", "b", "c"}, ','), "a,b,c");
    EXPECT_EQ(joinList({"", "", "a", "", "b"}, ','), "a,,b");
    EXPECT_EQ(joinList({}, ','), "");
}

TEST(Lists, SplitKeepsOrDropsEmptyPieces) {
    EXPECT_EQ(splitList("a,,b,", ',', false), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(splitList("a,,b,", ',', true), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(splitList("", ',', false), std::vector<std::string>{});
    EXPECT_EQ(splitList("one", ',', false), std::vector<std::string>{"one"});
}

TEST(SanitizeFileName, ReplacesSpecialCharactersAndCollapsesRuns) {
    std::string text = "a//b";
    sanitizeFileName(text);
    EXPECT_EQ(text, "a_b");
    text = "__x__";
    sanitizeFileName(text);
    EXPECT_EQ(text, "x");
    text = "  what:   is  (this)?  ";
    sanitizeFileName(text);
    EXPECT_EQ(text, "what_ is _this");
    text = "\\\"'\t\r\n%:+!?/()<>*~`;";
    sanitizeFileName(text);
    EXPECT_EQ(text, "");
    text = "pr_UGxheWVy";
    sanitizeFileName(text);
    EXPECT_EQ(text, "pr_UGxheWVy");
}

TEST(WildcardMatch, StarsBacktrackAndQuestionMarksTakeOneCharacter) {
    EXPECT_TRUE(wildcardMatch("level01.spr", "*.spr"));
    EXPECT_FALSE(wildcardMatch("level01.spr", "level?.spr"));
    EXPECT_TRUE(wildcardMatch("level01.spr", "level??.spr"));
    EXPECT_TRUE(wildcardMatch("abcbcd", "*bcd"));
    EXPECT_TRUE(wildcardMatch("a.spr.spr", "*.spr"));
    EXPECT_TRUE(wildcardMatch("aXbXc", "a*b*c"));
    EXPECT_FALSE(wildcardMatch("aXbXd", "a*b*c"));
    EXPECT_TRUE(wildcardMatch("", "*"));
    EXPECT_FALSE(wildcardMatch("", "?"));
    EXPECT_FALSE(wildcardMatch("Level.spr", "level*"));
    EXPECT_FALSE(wildcardMatch("abc", "ab"));
    EXPECT_TRUE(wildcardMatch("abc", "abc**"));
}

TEST(UrlEscaping, EscapesEveryByteInUpperCaseHex) {
    EXPECT_EQ(urlEscape("a b"), "%61%20%62");
    EXPECT_EQ(urlEscape("\xff"), "%FF");
    EXPECT_EQ(urlEscape(""), "");
}

TEST(UrlEscaping, UnescapeDecodesPairsAndPlusAndRoundTrips) {
    EXPECT_EQ(urlUnescape("a+b%41%4a%4A"), "a bAJJ");
    std::string bytes("x\0y\xfe", 4);
    EXPECT_EQ(urlUnescape(urlEscape(bytes)), bytes);
}

TEST(UrlEscaping, UnescapeKeepsAPercentWithoutTwoHexDigits) {
    EXPECT_EQ(urlUnescape("ab%"), "ab%");
    EXPECT_EQ(urlUnescape("ab%4"), "ab%4");
    EXPECT_EQ(urlUnescape("100%zz"), "100%zz");
    EXPECT_EQ(urlUnescape("%41%"), "A%");
}

TEST(TitleCase, UpperCasesAfterSeparatorsAndCanDropThem) {
    EXPECT_EQ(titleCase("hELLO wORLD-foo_bar", false), "Hello World-Foo_Bar");
    EXPECT_EQ(titleCase("main_menu.button", true), "MainMenuButton");
    EXPECT_EQ(titleCase("a\\b/c:d,e", true), "ABCDE");
    EXPECT_EQ(titleCase("", true), "");
}

TEST(BitsFromString, CountsFromTheEnd) {
    EXPECT_EQ(bitsFromString("101"), 5);
    EXPECT_EQ(bitsFromString("1x0"), 6);
    EXPECT_EQ(bitsFromString(""), 0);
    EXPECT_EQ(bitsFromString(std::string(40, '1')), -1);
}
