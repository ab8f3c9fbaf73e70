#include "core/vellumengine.h"
#include "fonts/font_fixture.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

#include <gtest/gtest.h>

using namespace irr;

namespace {

std::string charElement(int l, int t, int r, int b, const char* abcA, const char* abcB,
                        const char* abcC, int ascii) {
    return format("<char l='%i' t='%i' r='%i' b='%i' abcA='%s' abcB='%s' abcC='%s' ascii='%i' />\n",
                  l, t, r, b, abcA, abcB, abcC, ascii);
}

std::string fontText(const std::string& elements) {
    return "<font>\n<texture>white.png</texture>\n" + elements + "</font>\n";
}

void expectGlyph(const CGUIFont3D* font, int index, int l, int t, int r, int b, float abcA,
                 float abcB, float abcC) {
    const CGUIFont3D::Glyph* glyph = font->getGlyph(index);
    ASSERT_NE(glyph, nullptr) << index;
    EXPECT_EQ(glyph->l, l) << index;
    EXPECT_EQ(glyph->t, t) << index;
    EXPECT_EQ(glyph->r, r) << index;
    EXPECT_EQ(glyph->b, b) << index;
    EXPECT_FLOAT_EQ(glyph->abcA, abcA) << index;
    EXPECT_FLOAT_EQ(glyph->abcB, abcB) << index;
    EXPECT_FLOAT_EQ(glyph->abcC, abcC) << index;
}

using FontFile = FontTest;

TEST_F(FontFile, ReadsRectanglesSpacingAndGapsInAnyElementOrder) {
    writeFont("gui\\plain.xml", "<font>\n<gaps l='1' t='2' r='3' b='4' />\n" +
                                    charElement(1, 2, 5, 12, "+1.5", "2.25", "-0.5", 32) +
                                    "<texture>white.png</texture>\n" +
                                    charElement(6, 2, 9, 12, "0", "1", "1", 34) + "</font>\n");
    CGUIFont3D* font = load("gui\\plain.xml");
    ASSERT_EQ(font->glyphCount(), 3);
    expectGlyph(font, 0, 1, 2, 5, 12, 1.5f, 2.25f, -0.5f);
    // Code 33 is not defined: it keeps the copy of the glyph that first reached past it.
    expectGlyph(font, 1, 6, 2, 9, 12, 0, 1, 1);
    expectGlyph(font, 2, 6, 2, 9, 12, 0, 1, 1);
    EXPECT_EQ(font->getFallbackGlyph(), 2);

    EXPECT_FLOAT_EQ(font->getGlyphSize(0).X, 4 * 0.005f);
    EXPECT_FLOAT_EQ(font->getGlyphSize(0).Y, 10 * 0.005f);
    const core::vector2df advance = font->getGlyphAdvance(0);
    EXPECT_NEAR(advance.X, -(1 + 3) * 0.0055f + 2.25f * 0.0018f - 0.5f * 0.003f, 1e-6f);
    EXPECT_NEAR(advance.Y, -(2 + 4) * 0.0015f + 10 * 0.002f, 1e-6f);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(FontFile, CodesAreTruncatedToEightBitsAndSkippedWhenZero) {
    writeFont("gui\\codes.xml", fontText(charElement(1, 1, 2, 2, "0", "0", "0", 0) +
                                         charElement(3, 3, 7, 9, "0", "0", "0", 321) +
                                         charElement(4, 4, 8, 8, "0", "0", "0", 288)));
    CGUIFont3D* font = load("gui\\codes.xml");
    // 321 is 'A' (65) and 288 the space (32); the element with code 0 counts for nothing.
    ASSERT_EQ(font->glyphCount(), 34);
    expectGlyph(font, 33, 3, 3, 7, 9, 0, 0, 0);
    expectGlyph(font, 0, 4, 4, 8, 8, 0, 0, 0);
    expectGlyph(font, 1, 3, 3, 7, 9, 0, 0, 0);
}

TEST_F(FontFile, DuplicateCharElementShowsABoxAndEndsTheGlyphsButNotGapsAndScale) {
    const std::string duplicate = charElement(10, 0, 14, 8, "0", "0", "0", 66);
    writeFont("gui\\twice.xml",
              fontText(charElement(0, 0, 4, 8, "0", "0", "0", 65) + duplicate + duplicate +
                       charElement(20, 0, 24, 8, "0", "0", "0", 67) +
                       "<gaps l='2' t='0' r='0' b='0' />\n<scale lineh='2' />\n"));
    CGUIFont3D* font = load("gui\\twice.xml");
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "XML font file: duperror!");
    // 'A' stays; 'B' and 'C' are never read.
    ASSERT_EQ(font->glyphCount(), 34);
    EXPECT_EQ(font->getGlyph(33)->l, 0);
    EXPECT_FLOAT_EQ(font->getLineHeight(), 14);
    EXPECT_NEAR(font->getGlyphAdvance(33).X, -2 * 0.0055f, 1e-6f);
}

TEST_F(FontFile, MissingElementsAndAttributesReadAsZero) {
    writeFont("gui\\bare.xml", "<texture>white.png</texture><char r='4' b='10' ascii='65' />");
    CGUIFont3D* font = load("gui\\bare.xml", 3);
    ASSERT_EQ(font->glyphCount(), 34);
    expectGlyph(font, 33, 0, 0, 4, 10, 0, 0, 0);
    EXPECT_FLOAT_EQ(font->getGlyphAdvance(33).X, 0);
    EXPECT_FLOAT_EQ(font->getGlyphAdvance(33).Y, 10 * 0.002f);
    EXPECT_FLOAT_EQ(font->getLineHeight(), 7);
    EXPECT_FLOAT_EQ(font->getSize(), 3);
    EXPECT_EQ(font->getPixelDimension("AA"), core::dimension2di(8, 10));
}

TEST_F(FontFile, OnlyCapitalADefinedDrawsEveryCharacterAsA) {
    writeFont("gui\\a.xml", fontText(charElement(2, 3, 9, 14, "1", "2", "3", 65)));
    CGUIFont3D* font = load("gui\\a.xml");
    ASSERT_EQ(font->glyphCount(), 34);
    EXPECT_EQ(font->getFallbackGlyph(), 33);
    for (int index = 0; index < 34; ++index) {
        expectGlyph(font, index, 2, 3, 9, 14, 1, 2, 3);
    }
    EXPECT_EQ(font->glyphIndexOf('z'), 33);
    EXPECT_EQ(font->glyphIndexOf('\xFF'), 33);
    EXPECT_EQ(font->glyphIndexOf(' '), 0);
}

TEST_F(FontFile, HugeRectanglesAndScalesMeasureWithinIntRange) {
    writeFont("gui\\huge.xml",
              fontText(charElement(0, 0, 4, 10, "0", "0", "0", 32) +
                       charElement(-50331648, 0, 50331648, 10, "0", "0", "0", 65)) +
                  "<scale y='99999999.5e9' />");
    CGUIFont3D* font = load("gui\\huge.xml");
    // Each "A" is 100663296 pixels wide: 24 of them are more than an int holds.
    EXPECT_EQ(font->getPixelDimension(std::string(24, 'A')),
              core::dimension2di(2147483520, 2147483520));
    EXPECT_EQ(font->getPixelDimension("A"), core::dimension2di(100663296, 2147483520));
}

struct ScaleCase {
    const char* scale;
    float lineHeight;
    float size;
    core::dimension2di pixels; // of "AB" with glyphs 4 by 10 pixels
};

class FontScale : public FontTest, public testing::WithParamInterface<ScaleCase> {};

TEST_P(FontScale, ScaleElementSetsLineHeightSizeAndPixelScales) {
    writeFont("gui\\scaled.xml",
              fontText(charElement(0, 0, 4, 10, "0", "0", "0", 65) +
                       charElement(4, 0, 8, 10, "0", "0", "0", 66) + GetParam().scale));
    CGUIFont3D* font = load("gui\\scaled.xml", 5);
    EXPECT_FLOAT_EQ(font->getLineHeight(), GetParam().lineHeight);
    EXPECT_FLOAT_EQ(font->getSize(), GetParam().size);
    EXPECT_EQ(font->getPixelDimension("AB"), GetParam().pixels);
}

INSTANTIATE_TEST_SUITE_P(Values, FontScale,
                         testing::Values(ScaleCase{"<scale lineh='1' />", 7, 5, {8, 10}},
                                         ScaleCase{"<scale lineh='0.001' />", 7, 5, {8, 10}},
                                         ScaleCase{"<scale lineh='2' />", 14, 5, {8, 10}},
                                         ScaleCase{"<scale x='0.005' y='2.5' />", 7, 5, {8, 25}},
                                         ScaleCase{"<scale x='1.5' global='2' />", 7, 10, {12, 10}},
                                         ScaleCase{"<scale global='0.005' />", 7, 5, {8, 10}}));

TEST_F(FontFile, FontWithoutItsImageHasNoGlyphsAndDrawsAndMeasuresNothing) {
    writeFont("gui\\lost.xml",
              "<texture>missing.png</texture>" + charElement(0, 0, 4, 10, "0", "0", "0", 65));
    CGUIFont3D* font = load("gui\\lost.xml");
    EXPECT_EQ(font->glyphCount(), 0);
    EXPECT_EQ(font->getTextExtent("AAA"), core::vector2df(0, 0));
    EXPECT_EQ(font->getPixelDimension("AAA"), core::dimension2di(0, 0));
    EXPECT_EQ(font->getGlyphSize(font->glyphIndexOf('A')), core::vector2df(0, 0));
    RecordingEffect effect;
    EXPECT_EQ(quadsDrawn([&] {
                  font->drawText("AAA", core::vector3df(0, 0, 0), 0xFFFFFFFF, 0, true, 1, true,
                                 &effect);
              }),
              0);
    EXPECT_TRUE(effect.calls.empty());
}

TEST_F(FontFile, FontWithAnImageButNoGlyphsDrawsNothing) {
    writeFont("gui\\empty.xml", fontText("<scale lineh='3' />"));
    CGUIFont3D* font = new CGUIFont3D(getEngine().getDriver());
    EXPECT_FALSE(font->loadXmlFont(resolveDataPath("gui\\empty.xml")));
    EXPECT_EQ(font->glyphCount(), 0);
    EXPECT_EQ(font->getTextExtent("x"), core::vector2df(0, 0));
    EXPECT_EQ(quadsDrawn([&] {
                  font->drawText("x", core::vector3df(0, 0, 0), 0xFFFFFFFF, 1, false, 1, false,
                                 nullptr);
              }),
              0);
    font->drop();
}

using FontFileDeath = FontTest;

TEST_F(FontFileDeath, CharacterCodeBelow32IsFatal) {
    for (int code : {31, 256}) {
        const std::string name = format("gui\\low%i.xml", code);
        writeFont(name, fontText(charElement(0, 0, 4, 10, "0", "0", "0", code)));
        EXPECT_EXIT(
            {
                echoBoxesToStandardError();
                load(name);
            },
            testing::ExitedWithCode(1), "box: Something wrong with Font chars!!!")
            << code;
    }
}

} // namespace
