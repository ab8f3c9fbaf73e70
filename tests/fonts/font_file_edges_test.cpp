#include "fonts/font_fixture.h"
#include "utils/text_file_check.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace irr;

namespace {

// XML font files with absurd numbers, cut elements and bad bytes.
using FontFileEdges = FontTest;

std::string charElement(const char* l, const char* abcA, const char* abcB, const char* abcC,
                        const char* ascii) {
    return format("<char l='%s' t='0' r='4' b='10' abcA='%s' abcB='%s' abcC='%s' ascii='%s' />\n",
                  l, abcA, abcB, abcC, ascii);
}

bool isFinite(const core::vector2df& v) {
    return std::isfinite(v.X) && std::isfinite(v.Y);
}

TEST_F(FontFileEdges, AbsurdNumbersGiveFiniteGlyphsAndNameTheNumber) {
    writeFont("gui\\absurd.xml",
              "<font>\n<texture>white.png</texture>\n" +
                  charElement("0", "1.0e999", "nan", "-0", "65") +
                  charElement("99999999999", "-1.0e308", "inf", "3.0e38", "99999999999") +
                  "<scale lineh='3.0e38' y='-1.0e99' />\n</font>\n");
    CGUIFont3D* font = load("gui\\absurd.xml");
    // Code 99999999 reads as its last eight bits, 255.
    ASSERT_EQ(font->glyphCount(), 224);
    for (int index = 0; index < font->glyphCount(); ++index) {
        const CGUIFont3D::Glyph* glyph = font->getGlyph(index);
        ASSERT_NE(glyph, nullptr);
        EXPECT_TRUE(std::isfinite(glyph->abcA) && std::isfinite(glyph->abcB) &&
                    std::isfinite(glyph->abcC))
            << index;
        EXPECT_TRUE(isFinite(font->getGlyphAdvance(index))) << index;
        EXPECT_TRUE(isFinite(font->getGlyphSize(index))) << index;
    }
    EXPECT_EQ(font->getGlyph(33)->abcA, 0.0f);
    EXPECT_FALSE(std::signbit(font->getGlyph(33)->abcC));
    EXPECT_TRUE(std::isfinite(font->getLineHeight()));
    EXPECT_TRUE(boxes.sawText("The number '1.0e999' is beyond the range"));
    EXPECT_TRUE(boxes.sawText("The number '-1.0e99' is beyond the range"));
    EXPECT_TRUE(boxes.sawText("The number '3.0e38 line heights' is beyond the range"));
    const core::dimension2di pixels = font->getPixelDimension("AAAA");
    EXPECT_GE(pixels.Width, 0);
    EXPECT_GE(pixels.Height, 0);
}

TEST_F(FontFileEdges, CutFileKeepsTheWholeElementsBeforeTheCut) {
    const std::string whole = "<font>\n<texture>white.png</texture>\n" +
                              charElement("2", "0", "1", "0", "65") + "<char l='6' t='0' r='9";
    writeFont("gui\\cut.xml", whole);
    CGUIFont3D* font = load("gui\\cut.xml");
    ASSERT_GE(font->glyphCount(), 34);
    EXPECT_EQ(font->getGlyph(33)->l, 2);
    // Cut inside an attribute's quotes and inside the texture element.
    writeFont("gui\\quote.xml", "<font>\n<texture>white.png</texture>\n<char l='3");
    EXPECT_NE(load("gui\\quote.xml"), nullptr);
    writeFont("gui\\texture.xml", "<font>\n<texture>whi");
    EXPECT_EQ(load("gui\\texture.xml")->getPixelDimension("A"), core::dimension2di(0, 0));
}

TEST_F(FontFileEdges, BadBytesPassTheTextFileChecks) {
    const std::string glyphA = charElement("2", "0", "1", "0", "65");
    // A byte-order mark is not part of the first element.
    writeFont("gui\\bom.xml", "\xEF\xBB\xBF<texture>white.png</texture>" + glyphA);
    EXPECT_EQ(load("gui\\bom.xml")->getGlyph(33)->l, 2);
    // Codes of the high half are the Windows-1252 bytes.
    writeFont("gui\\high.xml", "<texture>white.png</texture>" +
                                   charElement("7", "0", "1", "0", "255") +
                                   charElement("8", "0", "1", "0", "129"));
    CGUIFont3D* high = load("gui\\high.xml");
    EXPECT_EQ(high->getGlyph(high->glyphIndexOf('\xFF'))->l, 7);
    EXPECT_EQ(high->getGlyph(high->glyphIndexOf('\x81'))->l, 8);
    // A zero byte ends the file where it stands, and says so.
    writeFont("gui\\zero.xml", "<texture>white.png</texture>\n" + glyphA + std::string(1, '\0') +
                                   charElement("9", "0", "1", "0", "66"));
    CGUIFont3D* zero = load("gui\\zero.xml");
    EXPECT_EQ(zero->getGlyph(zero->glyphIndexOf('B'))->l, 2);
    EXPECT_TRUE(
        boxes.sawText("Line 3 of " + resolveDataPath("gui\\zero.xml") + " holds a zero byte"));
    // An overlong line refuses the file: the font has no glyphs.
    writeFont("gui\\long.xml", "<texture>white.png</texture>\n<!--" +
                                   std::string(kMaxTextLineBytes, '-') + "-->\n" + glyphA);
    EXPECT_EQ(load("gui\\long.xml")->glyphCount(), 0);
    EXPECT_TRUE(boxes.sawText("Line 2 of " + resolveDataPath("gui\\long.xml") + " is longer than"));
}

} // namespace
