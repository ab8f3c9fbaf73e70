#include "text_fixture.h"

#include "platform/process.h"
#include "scene/text_warnings.h"
#include "script/module_scripting_core.h"

#include <cstdlib>

class TextScript : public TextTest {
protected:
    void SetUp() override {
        TextTest::SetUp();
        program.copyTestImage("orange_16.png", "gui/dot.png");
        getEngine().setMainThreadId(currentThreadId());
        registerCoreFunctions(getEngine().getScripting().vm());
        defineNameId("pole", 1001);
        createEmptyNode(nullptr, 1001, irr::core::vector3df(0, 0, 0));
    }
    void TearDown() override {
        getEngine().setMainThreadId(0);
        TextTest::TearDown();
    }

    static squirrel::Object eval(const std::string& expression) {
        return getEngine().getScripting().vm().run("return " + expression + ";", "test");
    }
};

TEST_F(TextScript, NodeTextIsSetAndReadThroughTheNodesTextNode) {
    CTextNode* title = makeText("old");
    setNodeName(title, "title");
    EXPECT_TRUE(eval("core_SetNodeText(\"title\", \"new\")").toBool());
    EXPECT_EQ(title->getText(), "new");
    EXPECT_EQ(eval("core_GetNodeText(\"title\")").toString(), "new");

    // A sprite's label is its first text child; references may be IDs too.
    CNodeBasement* button =
        createSprite("raw:\\-Texture:\\gui\\dot.png\n-Name:button\n-Label:?Press\n", 1, 1,
                     irr::core::vector3df(0, 0, 0), nullptr, nullptr, "text_script_test:1");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(eval("core_GetNodeText(\"button\")").toString(), "Press");
    EXPECT_TRUE(eval(format("core_SetNodeText(%i, \"Pressed\")", button->getID())).toBool());
    EXPECT_EQ(textNodeOf(button)->getText(), "Pressed");
    EXPECT_EQ(findTextNode("button"), textNodeOf(button));

    // A name whose own node is gone still reaches its label by the "_text" name.
    CTextNode* loose = makeText("alone");
    setNodeName(loose, "loose_text");
    EXPECT_EQ(eval("core_GetNodeText(\"loose\")").toString(), "alone");
}

TEST_F(TextScript, NodeWithoutATextNodeGivesFalse) {
    EXPECT_FALSE(eval("core_SetNodeText(\"nobody-here\", \"x\")").toBool());
    EXPECT_EQ(eval("typeof core_GetNodeText(\"nobody-here\")").toString(), "bool");
    createSprite("raw:\\-Texture:\\gui\\dot.png\n-Name:plain\n", 1, 1,
                 irr::core::vector3df(0, 0, 0), nullptr, nullptr, "text_script_test:2");
    EXPECT_FALSE(eval("core_GetNodeText(\"plain\")").toBool());
}

TEST_F(TextScript, JustifyTextWrapsWithTheMainFont) {
    EXPECT_EQ(eval("core_JustifyText(\"abc def\", 0.18)").toString(), "abc \ndef");
}

TEST_F(TextScript, WarningShowsForTheGivenTimeOrThreeSeconds) {
    const int before = warningCount();
    frameAt(1000);
    eval("core_Warning(\"brief\", 500)");
    eval("core_Warning(\"standard\")");
    ASSERT_EQ(warningCount(), before + 2);
    EXPECT_NE(dynamic_cast<CTextNode*>(warningNodes().back())->getText().find("] standard"),
              std::string::npos);
    for (irr::u32 time = 1025; time <= 1700; time += 25) {
        frameAt(time);
    }
    EXPECT_EQ(warningCount(), before + 1);
    for (irr::u32 time = 1725; time <= 4100; time += 25) {
        frameAt(time);
    }
    EXPECT_EQ(warningCount(), before);
}

TEST_F(TextScript, WarningsSwitchedOffInGameIniShowNothing) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    program.folder().write("game.ini", TestProgram::defaultGameIni() + "nowarnings=yes\n");
    EXPECT_EXIT(
        {
            eval("core_Warning(\"hidden\")");
            eval("core_Warning(\"hidden too\", 100)");
            std::_Exit(warningCount() == 0 ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}
