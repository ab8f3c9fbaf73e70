#include "text_fixture.h"

#include <cstdlib>

class TextSet : public TextTest {};

TEST_F(TextSet, WideTextBecomesWindows1252Bytes) {
    CTextNode* node = makeText("");
    node->setText(std::wstring(L"caf\u00e9 \u00fcber \u20ac5"));
    EXPECT_EQ(node->getText(), "caf\xE9 \xFC"
                               "ber \x80"
                               "5");
    EXPECT_EQ(std::string(node->getName()), "TEXTX-caf\xE9 \xFC"
                                            "ber \x80"
                                            "5");
}

TEST_F(TextSet, SetTextSplitsLinesAndDropsTheEffect) {
    CTextNode* node = makeText("one");
    node->attachEffect(new CBrakeEffect(), 0);
    node->setText("a\nb\n\nc");
    EXPECT_EQ(node->getEffect(), nullptr);
    EXPECT_EQ(node->getLines(), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_FALSE(node->hasRenderedOnce());
    frame();
    EXPECT_TRUE(node->hasRenderedOnce());
}

TEST_F(TextSet, RussianTextsStoreTheLetterYoAsE) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    program.folder().write("data_en/strings.lng", "MENU.OPTIONS.TITLE=\xCE\xEF\xF6\xE8\xE8\n");
    clearLocalizationCaches();
    EXPECT_EXIT(
        {
            CTextNode* node = makeText("\xB8\xA8-");
            const bool stored = node->getText() == "\xE5\xE5-";
            const bool drawn = node->getLines()[0] == "\xB8\xA8-";
            std::_Exit(stored && drawn ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}
