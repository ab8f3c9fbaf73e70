#include "text_fixture.h"

#include "scene/text_warnings.h"
#include "utils/system.h"

class TextWarning : public TextTest {
protected:
    void SetUp() override {
        TextTest::SetUp();
        defineNameId("pole", 1001);
        pole = createEmptyNode(nullptr, 1001, irr::core::vector3df(0, 0, 0));
    }

    CNodeBasement* pole = nullptr;
};

TEST_F(TextWarning, WarningShowsTheTimeAndMessageAtTheTopUnderTheRootNode) {
    const int before = warningCount();
    showWarning("disk is full", 3000);
    ASSERT_EQ(warningCount(), before + 1);
    auto* warning = dynamic_cast<CTextNode*>(warningNodes().back());
    ASSERT_NE(warning, nullptr);
    const std::string text = warning->getText();
    EXPECT_TRUE(startsWith(text, "<font-size:-1>\n[")) << text;
    EXPECT_EQ(text.substr(text.size() - std::string("] disk is full").size()), "] disk is full");
    // The bracket holds the current time text.
    EXPECT_EQ(text.size(),
              std::string("<font-size:-1>\n[] disk is full").size() + timeText().size());
    EXPECT_EQ(warning->getParent(), pole);
    EXPECT_EQ(warning->getPosition(), irr::core::vector3df(0, 13, -1));
    EXPECT_EQ(warning->getID(), kNoNodeId);
    EXPECT_EQ(warning->getRenderOrder(), 17);
}

TEST_F(TextWarning, NewWarningMovesTheOlderOnesDownALine) {
    showWarning("first", 3000);
    irr::scene::ISceneNode* first = warningNodes().back();
    showWarning("second", 3000);
    irr::scene::ISceneNode* second = warningNodes().back();
    ASSERT_GE(warningNodes().size(), 2u);
    EXPECT_EQ(warningNodes()[warningNodes().size() - 2], first);
    EXPECT_NEAR(first->getPosition().Y, 13 - 1.1f, 1e-5f);
    EXPECT_EQ(second->getPosition(), irr::core::vector3df(0, 13, -1));
}

TEST_F(TextWarning, WarningRemovesItselfAfterItsLifetime) {
    const int before = warningCount();
    frameAt(1000);
    showWarning("short", 500);
    showWarning("long", 3000);
    irr::scene::ISceneNode* longer = warningNodes().back();
    ASSERT_EQ(warningCount(), before + 2);
    for (irr::u32 time = 1025; time <= 1700; time += 25) {
        frameAt(time);
    }
    EXPECT_EQ(warningCount(), before + 1);
    ASSERT_FALSE(warningNodes().empty());
    EXPECT_EQ(warningNodes().back(), longer);
}
