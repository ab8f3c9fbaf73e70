#include "core/vellumengine.h"
#include "fonts/font_fixture.h"
#include "gameimplementation.h"
#include "platform/native_path.h"
#include "utils/utils_fs.h"

#include <gtest/gtest.h>

using namespace irr;

namespace {

// DejaVu Sans's advance widths in its own units (2048 to the em).
const float kUnitsPerEm = 2048;
const float kHelloUnits = 1540 + 1260 + 569 + 569 + 1253;

// The fonts the game ships, loaded as the game loads them.
class GameFonts : public FontTest {
protected:
    void SetUp() override {
        FontTest::SetUp();
        installGameFonts();
        mainFont = load("gui\\font-main.xml", 5);
        altFont = load("gui\\font-alt.xml", 9.69f);
    }

    CGUIFont3D* mainFont = nullptr;
    CGUIFont3D* altFont = nullptr;
};

TEST_F(GameFonts, EveryByteFrom32To255HasItsOwnGlyph) {
    for (CGUIFont3D* font : {mainFont, altFont}) {
        EXPECT_EQ(font->glyphCount(), 224);
        EXPECT_EQ(font->getFallbackGlyph(), 223);
        EXPECT_EQ(font->glyphIndexOf('\xFF'), 223);
    }
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(GameFonts, OneFontPixelIsOneScreenPixelAt800x600) {
    // The screen is 30 scene units high; a font pixel is 0.005 units times the size.
    for (CGUIFont3D* font : {mainFont, altFont}) {
        EXPECT_NEAR(font->getSize() * 0.005f * 600 / 30, 1, 0.001f);
    }
}

TEST_F(GameFonts, PenAdvancesByDejaVuSansWidths) {
    // The main font is drawn from DejaVu Sans at 15 pixels, the alternative one at 26.
    EXPECT_NEAR(mainFont->getTextExtent("Hello").X, kHelloUnits / kUnitsPerEm * 15 * 0.005f,
                0.2f * 0.005f);
    EXPECT_NEAR(altFont->getTextExtent("Hello").X, kHelloUnits / kUnitsPerEm * 26 * 0.005f,
                0.2f * 0.005f);
    EXPECT_NEAR(mainFont->getTextExtent(" ").X, 651 / kUnitsPerEm * 15 * 0.005f, 0.2f * 0.005f);
}

TEST_F(GameFonts, LineStepAndCentringHeightAreOneCell) {
    for (CGUIFont3D* font : {mainFont, altFont}) {
        // The space's rectangle is one cell high; the measured height matches it to half a
        // pixel, and text nodes move a line down by exactly the drawn height.
        const float cell = font->getGlyphSize(0).Y;
        const float height = font->getTextExtent("").Y;
        EXPECT_NEAR(height, cell, 0.5f * 0.005f);
        EXPECT_NEAR(font->getLineHeight(), font->getSize(), 0.01f);
    }
    EXPECT_EQ(mainFont->getPixelDimension("").Height, 19);
    EXPECT_EQ(altFont->getPixelDimension("").Height, 32);
}

TEST_F(GameFonts, GlyphRectanglesLieApartInsideTheImageWithTransparentEdges) {
    for (const char* name : {"font-main", "font-alt"}) {
        CGUIFont3D* font = std::string(name) == "font-main" ? mainFont : altFont;
        video::IImage* image = device.driver()->createImageFromFile(
            toNativePath(resolveDataPath(std::string("gui\\") + name + ".png")).c_str());
        ASSERT_NE(image, nullptr) << name;
        const core::dimension2du size = image->getDimension();
        std::vector<core::recti> placed;
        for (int index = 0; index < font->glyphCount(); ++index) {
            const CGUIFont3D::Glyph& glyph = *font->getGlyph(index);
            // The file counts from the first pixel inside the border that the texture cache
            // never shows.
            const core::recti pixels(glyph.l + 1, glyph.t + 1, glyph.r + 1, glyph.b + 1);
            ASSERT_TRUE(pixels.UpperLeftCorner.X >= 1 && pixels.UpperLeftCorner.Y >= 1 &&
                        pixels.LowerRightCorner.X <= s32(size.Width) - 1 &&
                        pixels.LowerRightCorner.Y <= s32(size.Height) - 1)
                << name << " glyph " << index;
            for (s32 x = pixels.UpperLeftCorner.X; x < pixels.LowerRightCorner.X; ++x) {
                EXPECT_EQ(image->getPixel(u32(x), u32(pixels.UpperLeftCorner.Y)).getAlpha(), 0u)
                    << name << " glyph " << index;
                EXPECT_EQ(image->getPixel(u32(x), u32(pixels.LowerRightCorner.Y - 1)).getAlpha(),
                          0u)
                    << name << " glyph " << index;
            }
            for (s32 y = pixels.UpperLeftCorner.Y; y < pixels.LowerRightCorner.Y; ++y) {
                EXPECT_EQ(image->getPixel(u32(pixels.UpperLeftCorner.X), u32(y)).getAlpha(), 0u)
                    << name << " glyph " << index;
                EXPECT_EQ(image->getPixel(u32(pixels.LowerRightCorner.X - 1), u32(y)).getAlpha(),
                          0u)
                    << name << " glyph " << index;
            }
            // At least a pixel apart.
            for (const core::recti& other : placed) {
                const core::recti grown(other.UpperLeftCorner - core::vector2di(1, 1),
                                        other.LowerRightCorner + core::vector2di(1, 1));
                EXPECT_FALSE(grown.isRectCollided(pixels)) << name << " glyph " << index;
            }
            placed.push_back(pixels);
        }
        image->drop();
    }
}

TEST_F(GameFonts, GameGivesTheAlternativeFontForFacesStartingWithA) {
    CGameImplementation game;
    EXPECT_EQ(game.getFont(""), nullptr);
    game.onStart();
    CGUIFont3D* main = game.getFont("");
    CGUIFont3D* alternative = game.getFont("alt");
    ASSERT_NE(main, nullptr);
    ASSERT_NE(alternative, nullptr);
    EXPECT_NE(main, alternative);
    EXPECT_EQ(game.getFont("b"), main);
    EXPECT_EQ(game.getFont("main"), main);
    EXPECT_EQ(game.getFont("a"), alternative);
    EXPECT_EQ(game.getFont("Alt"), main);
    EXPECT_FLOAT_EQ(main->getSize(), 10);
    EXPECT_NEAR(alternative->getSize(), 9.69f * 1.032f, 1e-4f);
    EXPECT_EQ(main->glyphCount(), 224);

    main->grab();
    alternative->grab();
    game.onExit();
    EXPECT_EQ(main->getReferenceCount(), 1);
    EXPECT_EQ(alternative->getReferenceCount(), 1);
    EXPECT_EQ(game.getFont(""), nullptr);
    main->drop();
    alternative->drop();
}

using GameFontsDeath = FontTest;

TEST_F(GameFontsDeath, FontWithFewerThanTwentyGlyphsEndsTheGame) {
    installGameFonts();
    // Codes 32 to 40: nine glyphs.
    writeFont("gui\\font-alt.xml", "<texture>white.png</texture>"
                                   "<char l='0' t='0' r='4' b='8' ascii='40' />");
    EXPECT_EXIT(
        {
            echoBoxesToStandardError();
            CGameImplementation game;
            game.onStart();
        },
        testing::ExitedWithCode(1), "box: Fonts are not initialized well!");
}

TEST_F(GameFontsDeath, MissingFontFilesEndTheGame) {
    EXPECT_EXIT(
        {
            echoBoxesToStandardError();
            CGameImplementation game;
            game.onStart();
        },
        testing::ExitedWithCode(1), "box: Fonts are not initialized well!");
}

} // namespace
