#include "text_fixture.h"

#include "scene/anchor_table.h"

class TextLayout : public TextTest {
protected:
    // Draws one frame with fresh statistics.
    void countedFrame() {
        getEngine().getRenderer().resetFrameStatistics();
        frame();
    }
    // Glyph quads the last counted frame drew.
    static int drawnGlyphs() { return getEngine().getRenderer().trigCount() / 4; }
};

TEST_F(TextLayout, UnchangedTextIsLaidOutOnceWhileItMovesAndFades) {
    CTextNode* node = makeText("<color=#ff0000>\nabc\n<font-face:alt>\nde");
    countedFrame();
    EXPECT_EQ(node->getLayoutCount(), 1);
    EXPECT_EQ(drawnGlyphs(), 5);

    node->setPosition(irr::core::vector3df(3, 1, 0));
    node->setAlpha(0.5f);
    // Only the opacity of the colour differs, and the node's own opacity is what shows.
    node->setColor(irr::video::SColor(10, 255, 255, 255));
    countedFrame();
    countedFrame();
    EXPECT_EQ(node->getLayoutCount(), 1);
    EXPECT_EQ(drawnGlyphs(), 5);
}

TEST_F(TextLayout, EveryChangeThatShapesTheTextShowsOnTheNextFrame) {
    CTextNode* node = makeText("abc");
    countedFrame();
    node->setText("abcdefg");
    countedFrame();
    EXPECT_EQ(node->getLayoutCount(), 2);
    EXPECT_EQ(drawnGlyphs(), 7);

    node->setColor(irr::video::SColor(255, 0, 255, 0));
    countedFrame();
    EXPECT_EQ(node->getLayoutCount(), 3);
    node->setTextScale(2);
    countedFrame();
    EXPECT_EQ(node->getLayoutCount(), 4);
    node->setFont(game->altFont);
    countedFrame();
    EXPECT_EQ(node->getLayoutCount(), 5);
    // The shared font changing its size changes every text drawn with it.
    game->altFont->setScaleAndSize(1, 1, 2);
    countedFrame();
    EXPECT_EQ(node->getLayoutCount(), 6);
    countedFrame();
    EXPECT_EQ(node->getLayoutCount(), 6);
    EXPECT_EQ(drawnGlyphs(), 7);

    // A text that stops drawing while transparent keeps its layout for when it shows again.
    node->setAlpha(0);
    countedFrame();
    EXPECT_EQ(drawnGlyphs(), 0);
    node->setAlpha(1);
    countedFrame();
    EXPECT_EQ(node->getLayoutCount(), 6);
    EXPECT_EQ(drawnGlyphs(), 7);
}

TEST_F(TextLayout, TextsWithAnEffectOrAnAnchorTagAreLaidOutEveryFrame) {
    defineAnchor("layout-spot", irr::core::vector3df(5, 6, 0), irr::core::dimension2df(1, 1), "");
    CTextNode* anchored = makeText("<anchor=layout-spot>\na");
    CTextNode* attached = makeText("ab");
    attached->attachEffect(new RecordingEffect(&game->effectCalls), 0);
    // The markup attaches its effect while the first frame lays the text out.
    CTextNode* marked = makeText("<font-effect:record>\ncd");
    frame();
    frame();
    EXPECT_EQ(anchored->getLayoutCount(), 2);
    EXPECT_EQ(attached->getLayoutCount(), 2);
    EXPECT_EQ(marked->getLayoutCount(), 2);
    // Both effects saw every character of both frames.
    EXPECT_EQ(callsOf(0).size(), 2u * 2 * 2);

    // A new text drops the effect, and its layout is kept again.
    attached->setText("ab");
    frame();
    frame();
    EXPECT_EQ(attached->getLayoutCount(), 3);
}
