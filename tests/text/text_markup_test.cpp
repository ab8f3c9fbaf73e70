#include "text_fixture.h"

#include "scene/anchor_table.h"

namespace {

const float kNear = 1e-4f;

} // namespace

class TextMarkup : public TextTest {
protected:
    // A text node with a recording effect attached (after its text was set).
    CTextNode* recordedText(const std::string& text,
                            const irr::core::vector3df& position = irr::core::vector3df(0, 0, 0)) {
        CTextNode* node = makeText(text, position);
        node->attachEffect(new RecordingEffect(&game->effectCalls), 0);
        return node;
    }
    // The pen of the first character of each drawn text, in drawing order.
    std::vector<irr::core::vector3df> firstPens() const {
        std::vector<irr::core::vector3df> pens;
        for (const EffectCall& call : callsOf(0)) {
            if (call.charIndex == 0) {
                pens.push_back(call.pen);
            }
        }
        return pens;
    }
    static constexpr float kLineStep = kMainExtentHeight * kLineHeight;
};

TEST_F(TextMarkup, ThreeLinesWithARightAlignmentLineDrawTwoLinesCentredThenRightAligned) {
    recordedText("abc\n<right>\nabc", irr::core::vector3df(1, 2, 0));
    frame();
    ASSERT_EQ(callsOf(1).size(), 2u);
    const std::vector<irr::core::vector3df> pens = firstPens();
    ASSERT_EQ(pens.size(), 2u);
    EXPECT_NEAR(pens[0].X, 1 - 3 * kMainGlyph / 2, kNear);
    EXPECT_NEAR(pens[0].Y, 2 - kMainExtentHeight / 2, kNear);
    EXPECT_NEAR(pens[1].X, 1 - 3 * kMainGlyph, kNear);
    EXPECT_NEAR(pens[1].Y, 2 - kLineStep - kMainExtentHeight / 2, kNear);
}

TEST_F(TextMarkup, ColourTagsColourTheFollowingLinesButCommentsChangeNothing) {
    recordedText("<!-- <color=#ff0000>\nwhite\n<color=#00ff00>\ngreen\n<color=16711680>\nblue");
    frame();
    std::vector<irr::video::SColor> colours;
    for (const EffectCall& call : callsOf(0)) {
        if (call.charIndex == 0) {
            colours.push_back(call.colour);
        }
    }
    ASSERT_EQ(colours.size(), 3u);
    EXPECT_EQ(colours[0], irr::video::SColor(255, 255, 255, 255));
    EXPECT_EQ(colours[1], irr::video::SColor(255, 0, 255, 0));
    EXPECT_EQ(colours[2], irr::video::SColor(255, 0, 0, 255));
}

TEST_F(TextMarkup, ColourTagKeepsTheNodesOpacity) {
    CTextNode* node = recordedText("<color=#ff0000>\nhalf");
    node->setAlpha(0.5f);
    frame();
    ASSERT_FALSE(callsOf(0).empty());
    EXPECT_EQ(callsOf(0)[0].colour, irr::video::SColor(127, 255, 0, 0));
}

TEST_F(TextMarkup, FontSizeMinusOneScalesEveryFollowingLineUntilTheNextSizeTag) {
    recordedText("<font-size:-1>\na\nb\n<size=+2>\nc");
    frame();
    std::vector<float> scales;
    for (const EffectCall& call : callsOf(0)) {
        scales.push_back(call.scale);
    }
    ASSERT_EQ(scales.size(), 3u);
    EXPECT_FLOAT_EQ(scales[0], 0.8f);
    EXPECT_FLOAT_EQ(scales[1], 0.8f);
    EXPECT_FLOAT_EQ(scales[2], 1.5f);
    // The smaller first line moves the second one down by less.
    const std::vector<irr::core::vector3df> pens = firstPens();
    EXPECT_NEAR(pens[0].Y - pens[1].Y, kLineStep * 0.8f, kNear);
}

TEST_F(TextMarkup, FaceTagResetsTheSizeBeforeTheSizeTagOfTheSameLineApplies) {
    recordedText("<font-size:-2><font-face:alt>\nxy\n<face=main>\nxy");
    frame();
    const std::vector<EffectCall> chars = callsOf(0);
    ASSERT_EQ(chars.size(), 4u);
    EXPECT_FLOAT_EQ(chars[0].scale, 0.5f);
    EXPECT_NEAR(chars[1].pen.X - chars[0].pen.X, kAltGlyph * 0.5f, kNear);
    EXPECT_FLOAT_EQ(chars[2].scale, 1.0f);
    EXPECT_NEAR(chars[3].pen.X - chars[2].pen.X, kMainGlyph, kNear);
}

TEST_F(TextMarkup, TrailingLineFeedLeavesAnEmptyLineThatStillMovesDown) {
    CTextNode* node = recordedText("a\n");
    ASSERT_EQ(node->getLines().size(), 2u);
    EXPECT_EQ(node->getLines()[1], "");
    frame();
    EXPECT_EQ(callsOf(1).size(), 2u);

    node->remove();
    game->effectCalls.clear();
    recordedText("a\n\nb");
    frame();
    const std::vector<irr::core::vector3df> pens = firstPens();
    ASSERT_EQ(pens.size(), 2u);
    EXPECT_NEAR(pens[0].Y - pens[1].Y, 2 * kLineStep, kNear);
}

TEST_F(TextMarkup, OffsetLineAndNoBreakTagsPlaceTheFollowingLines) {
    recordedText("<d dx=1 dy=2>\na\n<line x=3>\nb\n<nobr>\nc\nd");
    frame();
    const std::vector<irr::core::vector3df> pens = firstPens();
    ASSERT_EQ(pens.size(), 4u);
    const float half = kMainGlyph / 2;
    const float centre = kMainExtentHeight / 2;
    EXPECT_NEAR(pens[0].X, 1 - half, kNear);
    EXPECT_NEAR(pens[0].Y, 2 - centre, kNear);
    EXPECT_NEAR(pens[1].X, 3 - half, kNear);
    EXPECT_NEAR(pens[1].Y, 2 - kLineStep - centre, kNear);
    EXPECT_NEAR(pens[2].Y, 2 - 2 * kLineStep - centre, kNear);
    // The line after <nobr> did not move the next one down.
    EXPECT_NEAR(pens[3].Y, pens[2].Y, kNear);
}

TEST_F(TextMarkup, SpacerMovesOnlyTheNextLineAndKeepsItFromMovingTheOthers) {
    recordedText("<spacer-x=0.5 spacer-y=0.25>\ne\nf");
    frame();
    const std::vector<irr::core::vector3df> pens = firstPens();
    ASSERT_EQ(pens.size(), 2u);
    EXPECT_NEAR(pens[0].X, 0.5f - kMainGlyph / 2, kNear);
    EXPECT_NEAR(pens[0].Y, 0.25f - kMainExtentHeight / 2, kNear);
    EXPECT_NEAR(pens[1].X, -kMainGlyph / 2, kNear);
    EXPECT_NEAR(pens[1].Y, -kMainExtentHeight / 2, kNear);
}

TEST_F(TextMarkup, UnderlayRepeatsItsPatternToFourFifthsOfTheLineBeneathIt) {
    recordedText("<underlay='_'>\nabcde\n<underlay=''>\n<overlay='-'>\nab");
    frame();
    std::string glyphs;
    for (const EffectCall& call : callsOf(0)) {
        glyphs += static_cast<char>(call.glyph + 32);
    }
    // 8 pixels of pattern grow to 32 of the 40 the line is wide; the overlay comes after.
    EXPECT_EQ(glyphs, "____abcdeab--");
}

TEST_F(TextMarkup, AnchorTagPlacesTheFollowingLinesAndAnUndeclaredOneIsReportedOnce) {
    defineAnchor("text-spot", irr::core::vector3df(5, 6, 0), irr::core::dimension2df(1, 1), "");
    recordedText("<anchor=text-spot>\na", irr::core::vector3df(1, 1, 0));
    frame();
    ASSERT_EQ(firstPens().size(), 1u);
    EXPECT_NEAR(firstPens()[0].X, 4 - kMainGlyph / 2, kNear);
    EXPECT_NEAR(firstPens()[0].Y, 5 - kMainExtentHeight / 2, kNear);

    makeText("<anchor=nowhere-declared>\na");
    frame();
    frame();
    frame();
    int reports = 0;
    for (const MessageBoxRecorder::Box& box : boxes.boxes()) {
        reports +=
            box.text.find("undeclared anchor point used: nowhere-declared") != std::string::npos
                ? 1
                : 0;
    }
    EXPECT_EQ(reports, 1);
}

TEST_F(TextMarkup, GlyphsOfTextNodesBatchIntoOneDrawCall) {
    CTextNode* first = makeText("abc", irr::core::vector3df(-2, 0, 0));
    makeText("<size=2>\nde\n<right>\nfg", irr::core::vector3df(2, 0, 0));
    getEngine().getRenderer().resetFrameStatistics();
    frame();
    // Seven glyph quads of four vertices each, sorted by the font's texture.
    EXPECT_EQ(getEngine().getRenderer().trigCount(), 4 * 7);
    EXPECT_EQ(getEngine().getRenderer().switchCount(), 1);
    EXPECT_EQ(first->getMaterial(0).getTexture(0), game->mainFont->getMaterial().getTexture(0));
}

TEST_F(TextMarkup, NothingIsDrawnWithoutAFontOrWhileTransparent) {
    CTextNode* hidden = recordedText("abc");
    hidden->setAlpha(0);
    frame();
    EXPECT_TRUE(game->effectCalls.empty());
    hidden->setAlpha(1);
    hidden->setFont(nullptr);
    frame();
    EXPECT_TRUE(game->effectCalls.empty());
    hidden->setFont(game->mainFont);
    frame();
    EXPECT_EQ(callsOf(0).size(), 3u);
}
