#include "core/vellumengine.h"
#include "fonts/font_fixture.h"

#include <gtest/gtest.h>

using namespace irr;

namespace {

// A font at size 2 with a space 6 pixels wide, "a" 10 wide (left bearing 2, advance values 5 and
// 1), "b" 8 wide and "~" 12 wide, the highest code and so the fallback.
class FontDrawing : public FontTest {
protected:
    void SetUp() override {
        FontTest::SetUp();
        writeFont("gui\\draw.xml",
                  "<texture>white.png</texture>\n"
                  "<char l='0' t='0' r='6' b='20' abcA='0' abcB='0' abcC='0' ascii='32' />\n"
                  "<char l='0' t='0' r='10' b='20' abcA='2' abcB='5' abcC='1' ascii='97' />\n"
                  "<char l='0' t='0' r='8' b='20' abcA='0' abcB='0' abcC='-1' ascii='98' />\n"
                  "<char l='0' t='0' r='12' b='20' abcA='0' abcB='0' abcC='0' ascii='126' />\n"
                  "<gaps l='1' t='0' r='0' b='0' />\n");
        font = load("gui\\draw.xml", 2);
        ASSERT_EQ(font->glyphCount(), 95);
    }

    // The pen step of a glyph at size 1 and scale 1.
    float step(char character) const {
        const int index = font->glyphIndexOf(character);
        return font->getGlyphSize(index).X + font->getGlyphAdvance(index).X;
    }

    // Where each character of the text is drawn (before its left bearing).
    std::vector<core::vector3df> pens(const std::string& text, const core::vector3df& position,
                                      int alignment, bool verticalCentre, float scale) {
        RecordingEffect effect;
        font->drawText(text, position, 0xFFFFFFFF, alignment, verticalCentre, scale, false,
                       &effect);
        getEngine().getRenderer().addQuad(nullptr, nullptr, nullptr);
        std::vector<core::vector3df> result;
        for (const RecordingEffect::Call& call : effect.calls) {
            result.push_back(call.pen);
        }
        return result;
    }

    CGUIFont3D* font = nullptr;
};

TEST_F(FontDrawing, PenAdvancesByGlyphWidthAndSpacingValues) {
    EXPECT_NEAR(step('a'), 10 * 0.005f - 0.0055f + 5 * 0.0018f + 1 * 0.003f, 1e-6f);
    EXPECT_NEAR(step('b'), 8 * 0.005f - 0.0055f - 1 * 0.003f, 1e-6f);
    const core::vector3df at(1, 2, 3);
    const std::vector<core::vector3df> drawn = pens("aba", at, 1, false, 1.5f);
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[0], at);
    // Scale 1.5 at size 2.
    EXPECT_NEAR(drawn[1].X, at.X + step('a') * 3, 1e-5f);
    EXPECT_NEAR(drawn[2].X, at.X + (step('a') + step('b')) * 3, 1e-5f);
    EXPECT_FLOAT_EQ(drawn[2].Y, at.Y);
    EXPECT_FLOAT_EQ(drawn[2].Z, at.Z);
}

TEST_F(FontDrawing, AlignmentAndVerticalCentringPlaceTheLine) {
    const core::vector3df at(-4, 1, 0);
    const float width = step('a') + step('b');
    const float height = font->getTextExtent("ab").Y;
    const float scale = 2; // size 2, scale 1
    EXPECT_EQ(pens("ab", at, 1, false, 1)[0], at);
    EXPECT_EQ(pens("ab", at, 2, false, 1), pens("ab", at, 1, false, 1));
    const core::vector3df centred = pens("ab", at, 0, false, 1)[0];
    EXPECT_NEAR(centred.X, at.X - width * scale * 0.5f, 1e-5f);
    EXPECT_FLOAT_EQ(centred.Y, at.Y);
    const core::vector3df right = pens("ab", at, -1, true, 1)[0];
    EXPECT_NEAR(right.X, at.X - width * scale, 1e-5f);
    EXPECT_NEAR(right.Y, at.Y - height * scale * 0.5f, 1e-5f);
    for (int alignment : {1, 2, 7}) {
        const core::vector3df left = pens("ab", at, alignment, true, 1)[0];
        EXPECT_FLOAT_EQ(left.X, at.X) << alignment;
        EXPECT_NEAR(left.Y, at.Y - height * scale * 0.5f, 1e-5f) << alignment;
    }
}

TEST_F(FontDrawing, ControlCodesAndBytesBeyondTheTableDrawTheFallbackGlyph) {
    RecordingEffect effect;
    EXPECT_EQ(quadsDrawn([&] {
                  font->drawText("a\nb\r\xFF", core::vector3df(0, 0, 0), 0xFFFFFFFF, 1, false, 1,
                                 false, &effect);
              }),
              5);
    ASSERT_EQ(effect.calls.size(), 5u);
    const int expected[] = {65, 94, 66, 94, 94};
    for (size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(effect.calls[k].glyph, expected[k]) << k;
    }
}

TEST_F(FontDrawing, EffectSeesEachCharacterBeforeItIsDrawn) {
    ITimer* timer = device.irrlichtDevice()->getTimer();
    timer->stop();
    timer->setTime(5000);
    RecordingEffect effect;
    effect.startTime = 4750;
    effect.counter = 7;
    font->drawText("abab", core::vector3df(0, 0, 0), 0xFFFFFFFF, 1, false, 1, false, &effect);
    getEngine().getRenderer().addQuad(nullptr, nullptr, nullptr);
    timer->start();
    ASSERT_EQ(effect.calls.size(), 4u);
    for (int k = 0; k < 4; ++k) {
        const RecordingEffect::Call& call = effect.calls[size_t(k)];
        EXPECT_EQ(call.charIndex, k);
        EXPECT_FLOAT_EQ(call.progress, float(k) / 4);
        EXPECT_EQ(call.counter, 8 + k);
        EXPECT_EQ(call.elapsed, 250);
        EXPECT_EQ(call.perLine, 0);
    }
}

TEST_F(FontDrawing, EffectReturningFalseOnTheThirdCharacterLeavesTwoDrawn) {
    RecordingEffect plain;
    plain.stopAt = 2;
    EXPECT_EQ(quadsDrawn([&] {
                  font->drawText("abab", core::vector3df(0, 0, 0), 0xFFFFFFFF, 1, false, 1, false,
                                 &plain);
              }),
              2);
    EXPECT_EQ(plain.calls.size(), 3u);
    // With an outline the third character's four outline copies are drawn before the effect
    // stops the line.
    RecordingEffect outlined;
    outlined.stopAt = 2;
    EXPECT_EQ(quadsDrawn([&] {
                  font->drawText("abab", core::vector3df(0, 0, 0), 0xFFFFFFFF, 1, false, 1, true,
                                 &outlined);
              }),
              2 * 5 + 4);
}

TEST_F(FontDrawing, ScaleSetByAnEffectHoldsForTheRestOfTheLine) {
    RecordingEffect effect;
    effect.scaleTo = 10;
    font->drawText("abb", core::vector3df(0, 0, 0), 0xFFFFFFFF, 1, false, 1, false, &effect);
    getEngine().getRenderer().addQuad(nullptr, nullptr, nullptr);
    ASSERT_EQ(effect.calls.size(), 3u);
    EXPECT_NEAR(effect.calls[1].pen.X, step('a') * 10, 1e-5f);
    EXPECT_NEAR(effect.calls[2].pen.X, (step('a') + step('b')) * 10, 1e-5f);
}

TEST_F(FontDrawing, ExtentHeightIsMeasuredOnTheSpaceWhateverTheText) {
    const float height = 6 * 0.005f + 20 * 0.002f;
    EXPECT_EQ(font->getTextExtent(""), core::vector2df(0, height));
    EXPECT_FLOAT_EQ(font->getTextExtent("a~b").Y, height);
    EXPECT_NEAR(font->getTextExtent("a~b").X, step('a') + step('~') + step('b'), 1e-6f);
    EXPECT_EQ(font->getPixelDimension("a~b"), core::dimension2di(30, 20));
    EXPECT_EQ(font->getPixelDimension(""), core::dimension2di(0, 20));
}

} // namespace
