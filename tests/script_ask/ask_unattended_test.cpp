#include "core/vellumengine.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "script/core_api_ask.h"
#include "script/module_scripting_core.h"
#include "utils/popup_menu.h"
#include "utils/windows_1252.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The two functions registered as scripts see them, on the engine's script machine. The engine
// has no device here, so no one can be asked.
class AskWithoutWindow : public testing::Test {
protected:
    void SetUp() override {
        getEngine().setMainThreadId(currentThreadId());
        registerCoreFunctions(vm());
    }
    void TearDown() override { getEngine().setMainThreadId(0); }

    static squirrel::VM& vm() { return getEngine().getScripting().vm(); }
    static squirrel::Object eval(const std::string& expression) {
        return vm().run("return " + expression + ";", "test");
    }
};

TEST_F(AskWithoutWindow, ChoiceIsMinusOneAndTextIsTheTrimmedDefault) {
    ASSERT_EQ(getEngine().getDevice(), nullptr);
    EXPECT_EQ(eval("core_AskChoice([\"a\", \"b\"], \"title\")").toInt(), -1);
    EXPECT_EQ(eval("typeof core_AskChoice([\"a\"], \"title\")").toString(), "integer");
    EXPECT_EQ(eval("core_AskChoice()").toInt(), -1);
    EXPECT_EQ(eval("core_AskString(0, \" \\t some text \\r\\n\")").toString(), "some text");
    EXPECT_EQ(eval("core_AskString(0, \"   \")").toString(), "");
    EXPECT_EQ(eval("core_AskString(0)").toString(), "");
    EXPECT_EQ(eval("typeof core_AskString()").toString(), "string");
}

TEST_F(AskWithoutWindow, DefaultTextWithShellCharactersComesBackByteForByte) {
    const std::string text = "it's \"quoted\" $(touch /tmp/ask_owned) `id` \\\\server\\share\\ "
                             "%PATH% & | ; \xE9\x80";
    vm().rootTable().set("defaultText", vm().string("  " + text + "\n"));
    EXPECT_EQ(eval("core_AskString(null, defaultText)").toString(), text);
}

TEST_F(AskWithoutWindow, ChoiceListTakesAtMostHundredStringsUpToTheFirstEmptyOne) {
    EXPECT_EQ(choiceItems(eval("array(150, \"item\")")).size(), 100u);
    EXPECT_EQ(choiceItems(eval("array(100, \"item\")")).size(), 100u);
    EXPECT_EQ(choiceItems(eval("[\"a\", \"b\", \"\", \"c\"]")),
              (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(choiceItems(eval("[\"a\", 5, \"c\"]")), (std::vector<std::string>{"a"}));
    EXPECT_EQ(choiceItems(eval("[\" \", \"x\"]")), (std::vector<std::string>{" ", "x"}));
    EXPECT_TRUE(choiceItems(eval("[\"\", \"x\"]")).empty());
    EXPECT_TRUE(choiceItems(eval("\"a\"")).empty());
    EXPECT_TRUE(choiceItems(squirrel::Object()).empty());
}

TEST(PopupMenuLayout, ItemTextsAreCutToThirtyCharactersAndTrimmed) {
    EXPECT_EQ(shortText("  short  ", 30), "short  ");
    EXPECT_EQ(shortText(std::string(30, 'x'), 30), std::string(30, 'x'));
    EXPECT_EQ(shortText(std::string(31, 'x'), 30), std::string(30, 'x') + "...");
    EXPECT_EQ(shortText("abcd  efgh", 6), "abcd...");
    EXPECT_EQ(shortText("   abcdef", 5), "ab...");
    EXPECT_EQ(shortText("abc", 3), "abc");
}

TEST(PopupMenuLayout, ItemsSharingAShortenedTextFormASubmenu) {
    const std::vector<PopupMenuEntry> entries = layoutPopupMenu({"abc1", "abc2", "xyz"}, 3);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].text, "abc...");
    EXPECT_EQ(entries[0].item, -1);
    EXPECT_EQ(entries[0].group, (std::vector<int>{0, 1}));
    EXPECT_EQ(entries[1].text, "xyz");
    EXPECT_EQ(entries[1].item, 2);

    const std::vector<PopupMenuEntry> flat = layoutPopupMenu({"abc1", "abc2", "xyz"}, 0);
    ASSERT_EQ(flat.size(), 3u);
    EXPECT_EQ(flat[1].text, "abc2");
    EXPECT_EQ(flat[1].item, 1);
}

TEST(PopupMenuLayout, AnItemJoinsOnlyTheSubmenuAddedLast) {
    // A unique item in between leaves the current submenu as it is.
    const std::vector<PopupMenuEntry> joined = layoutPopupMenu({"ab1", "xy", "ab2"}, 2);
    ASSERT_EQ(joined.size(), 2u);
    EXPECT_EQ(joined[0].group, (std::vector<int>{0, 2}));
    EXPECT_EQ(joined[1].item, 1);
    // Another group in between starts a new submenu with the same title.
    const std::vector<PopupMenuEntry> split = layoutPopupMenu({"ab1", "cd1", "ab2", "cd2"}, 2);
    ASSERT_EQ(split.size(), 4u);
    EXPECT_EQ(split[0].text, "ab...");
    EXPECT_EQ(split[2].text, "ab...");
    EXPECT_EQ(split[2].group, (std::vector<int>{2}));
    EXPECT_EQ(split[3].group, (std::vector<int>{3}));
}

TEST(Windows1252Text, EveryByteSurvivesTheWayThroughWideText) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    EXPECT_EQ(wideToWindows1252(windows1252ToWide(all)), all);
    EXPECT_EQ(windows1252ToWide("\x80\xE9"), std::wstring(L"\u20AC\u00E9"));
    EXPECT_EQ(wideToWindows1252(L"\u20AC\u0161 \u4E2D"), "\x80\x9A ?");
}

} // namespace
