#include "input_fixture.h"

#include "input/text_editor_behaviour.h"
#include "scene/node_text.h"
#include "scene/rendering_font.h"
#include "utils/utils_str.h"

namespace {

// A label with a one-line editor of at most 12 characters keeping its text in "playername", and
// a font, so the label's markup is read when it is drawn.
class TextEditorTest : public InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        program.copyTestImage("white_16.png", "gui/edit-font.png");
        std::string font = "<font>\n<texture>edit-font.png</texture>\n";
        for (int code = 32; code < 256; ++code) {
            font += format("<char l='0' t='0' r='8' b='16' abcA='0' abcB='0' abcC='0' "
                           "ascii='%i'/>\n",
                           code);
        }
        program.writeData("gui/edit-font.xml", font + "</font>\n");
        inputGame->font = createFont(resolveDataPath("gui\\edit-font.xml"), 1.0f);
        setTextSoundPlayer([this](const std::string& name) { played.push_back(name); });
        make("-Name:entry\n-Size:w8 h1\n-Label:?\n-Label.Formatting:<left>\n"
             "-Animation.SimpleTextEditor:s12 @playername\n");
        label = findTextNode("entry");
        ASSERT_NE(label, nullptr);
        frame();
        startRunning();
    }
    void TearDown() override {
        // The game goes with the scene; its font is this test's to release afterwards.
        CGUIFont3D* font = inputGame->font;
        InputTest::TearDown();
        setTextSoundPlayer(nullptr);
        font->drop();
    }

    void type(const std::wstring& text) {
        for (wchar_t character : text) {
            irr::EKEY_CODE code =
                character >= L'a' && character <= L'z'
                    ? static_cast<irr::EKEY_CODE>(irr::KEY_KEY_A + character - L'a')
                    : irr::KEY_PERIOD;
            tap(code, character);
        }
    }
    std::string stored() const { return label->getStringProperty("playername", "?"); }

    CTextNode* label = nullptr;
    std::vector<std::string> played;
};

TEST_F(TextEditorTest, TypedMarkupIsShownAsTextAndNeverRuns) {
    EXPECT_EQ(stored(), "");
    type(L"<sound=x>");
    frames(3);
    EXPECT_EQ(stored(), "<sound=x>");
    EXPECT_EQ(label->getText(), "<left>\n <sound=x>|");
    EXPECT_TRUE(played.empty());
    EXPECT_TRUE(label->getImageIds().empty());

    // Every line break is left out, so typed text never starts a line of its own.
    run("core_SetNodeAttribute(\"entry_text\", \"playername\", \"a\\n<img src='x'>\\r\\n\");");
    frames(3);
    EXPECT_EQ(label->getText(), "<left>\n<color=#FFD27F>\na<img src='x|");
    EXPECT_TRUE(label->getImageIds().empty());
    EXPECT_TRUE(played.empty());
}

TEST_F(TextEditorTest, KeysEditOneCapitalizedLineOfPrintableCharactersUpToTheMaximum) {
    type(L"ann lee");
    EXPECT_EQ(stored(), "Ann Lee");
    tap(irr::KEY_RETURN, L'\r');
    tap(irr::KEY_TAB, L'\t');
    tap(irr::KEY_KEY_Q, L'q', true);
    EXPECT_EQ(stored(), "Ann Lee");
    tap(irr::KEY_BACK, L'\b');
    tap(irr::KEY_DELETE, 0);
    EXPECT_EQ(stored(), "Ann L");
    // Latin letters and the code page's extra signs are kept; other characters are not.
    tap(irr::KEY_KEY_E, L'\u00e9');
    tap(irr::KEY_KEY_E, L'\u20ac');
    tap(irr::KEY_KEY_O, L'\u03a9');
    EXPECT_EQ(stored(), "Ann L\xe9\x80");
    type(L"abcdefghij");
    EXPECT_EQ(stored(), "Ann L\xe9\x80"
                        "abcde");
    frames(2);
    EXPECT_EQ(label->getText(), "<left>\nAnn L\xe9\x80"
                                "abcde|");
    EXPECT_EQ(inputGame->seen.size(), 2 * 25u) << "the game still sees every key";
}

TEST_F(TextEditorTest, AnOfferedTextIsSelectedAndTheFirstKeyReplacesIt) {
    run("core_SetNodeAttribute(\"entry_text\", \"playername\", \"Zoe\");");
    frames(2);
    EXPECT_EQ(label->getText(), "<left>\n<color=#FFD27F>\nZoe|");
    tap(irr::KEY_SHIFT, 0);
    type(L"max");
    EXPECT_EQ(stored(), "Max");
    frames(2);
    EXPECT_EQ(label->getText(), "<left>\nMax|");

    // Backspace clears a selected text at once; a cursor key keeps it and types on after it.
    run("core_SetNodeAttribute(\"entry_text\", \"playername\", \"Ada\");");
    frames(2);
    tap(irr::KEY_BACK, L'\b');
    EXPECT_EQ(stored(), "");
    run("core_SetNodeAttribute(\"entry_text\", \"playername\", \"Ada\");");
    frames(2);
    tap(irr::KEY_END, 0);
    type(L"m");
    EXPECT_EQ(stored(), "Adam");
    frames(2);
    EXPECT_EQ(label->getText(), "<left>\nAdam|");
}

TEST_F(TextEditorTest, TheNewestEditorHoldsTheKeyboardUntilItGoes) {
    make("-Name:second\n-Size:w8 h1\n-Label:?\n-Animation.SimpleTextEditor:s5 @other\n");
    CTextNode* second = findTextNode("second");
    ASSERT_NE(second, nullptr);
    type(L"xy");
    EXPECT_EQ(stored(), "");
    EXPECT_EQ(second->getStringProperty("other", ""), "Xy");

    deleteNode(getNodeByName("second"));
    getEngine().getRenderer().drainDeletionQueue();
    type(L"z");
    frames(2);
    EXPECT_EQ(stored(), "");
    EXPECT_EQ(label->getText(), "<left>\n|");
}

} // namespace
