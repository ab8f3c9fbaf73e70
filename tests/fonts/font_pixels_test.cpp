#include "core/vellumengine.h"
#include "fonts/font_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace irr;

namespace {

const video::SColor white(255, 255, 255, 255);

// DejaVu Sans's capitals are 1493 of its 2048 units high: 11 pixels in the main font (15-pixel
// glyphs), 19 in the alternative one (26-pixel glyphs). The alternative font's page is 512 pixels
// high, where the texture inset makes a quad show two rows fewer than it is high: its capitals
// cover 21 rows.
const int kMainCapitals = 11;
const int kAltCapitals = 21;

// The game's fonts drawn through the render module and seen by the engine's camera.
class FontScreen : public FontTest {
protected:
    explicit FontScreen(video::E_DRIVER_TYPE driverType,
                        core::dimension2du size = core::dimension2du(800, 600))
        : FontTest(driverType, size),
          // Burning's Video adds the texture onto what is below: over black it shows as it is.
          background(driverType == video::EDT_BURNINGSVIDEO ? video::SColor(255, 0, 0, 0)
                                                            : video::SColor(255, 40, 60, 80)) {}

    void SetUp() override {
        FontTest::SetUp();
        installGameFonts();
        mainFont = load("gui\\font-main.xml", 5);
        altFont = load("gui\\font-alt.xml", 9.69f);
    }

    void TearDown() override {
        if (frame) {
            frame->drop();
        }
        FontTest::TearDown();
    }

    // Draws a frame with what `draw` hands to the batcher, and keeps its picture.
    void drawFrame(const std::function<void()>& draw) {
        if (frame) {
            frame->drop();
        }
        device.beginFrame(background);
        scene->scene()->drawAll();
        draw();
        getEngine().getRenderer().addQuad(nullptr, nullptr, nullptr);
        frame = device.captureAndEndFrame();
        ASSERT_NE(frame, nullptr);
    }

    // The ink of one line drawn alone.
    core::recti drawnInk(CGUIFont3D* font, const std::string& text, const core::vector3df& at,
                         int alignment, bool verticalCentre) {
        drawFrame(
            [&] { font->drawText(text, at, white, alignment, verticalCentre, 1, false, nullptr); });
        return frame ? inkBounds(frame, background) : core::recti();
    }

    core::position2di screen(const core::vector3df& point) const {
        return scene->screenPoint(point);
    }

    video::SColor background;
    CGUIFont3D* mainFont = nullptr;
    CGUIFont3D* altFont = nullptr;
    video::IImage* frame = nullptr;
};

// Where and how large glyphs land, on OpenGL and on Burning's Video, on an 800 by 600 screen
// (20 pixels to the scene unit at z = 0).
class FontPixels : public FontScreen, public testing::WithParamInterface<video::E_DRIVER_TYPE> {
protected:
    FontPixels() : FontScreen(GetParam()) {}
};

TEST_P(FontPixels, LeftAlignedTextStartsAtThePositionOnePixelPerFontPixel) {
    const core::vector3df at(-10, 5, 0);
    const core::recti ink = drawnInk(mainFont, "HHH", at, 1, false);
    const core::position2di corner = screen(at);
    // "H" begins about a pixel and a half right of its origin; the quads' lower edge is the
    // font's descent line, four pixels below the baseline.
    EXPECT_GE(ink.UpperLeftCorner.X, corner.X);
    EXPECT_LE(ink.UpperLeftCorner.X, corner.X + 3);
    EXPECT_NEAR(ink.LowerRightCorner.Y, corner.Y - 4, 1.5);
    EXPECT_NEAR(ink.getHeight(), kMainCapitals, 1.5);

    const core::recti alt = drawnInk(altFont, "HHH", at, 2, false);
    EXPECT_GE(alt.UpperLeftCorner.X, corner.X);
    EXPECT_LE(alt.UpperLeftCorner.X, corner.X + 4);
    EXPECT_NEAR(alt.getHeight(), kAltCapitals, 1.5);
}

TEST_P(FontPixels, CentredTextIsCentredOnThePosition) {
    for (CGUIFont3D* font : {mainFont, altFont}) {
        const core::vector3df at(3, -4, 0);
        const core::recti ink = drawnInk(font, "HHHH", at, 0, true);
        const core::position2di centre = screen(at);
        EXPECT_NEAR(ink.getCenter().X, centre.X, 2);
        // The cell is centred; capitals sit a little above its middle.
        EXPECT_NEAR(ink.getCenter().Y, centre.Y, 2);
    }
}

TEST_P(FontPixels, RightAlignedTextEndsAtThePosition) {
    const core::vector3df at(8, 0, 0);
    const core::recti ink = drawnInk(mainFont, "HHH", at, -1, false);
    const core::position2di corner = screen(at);
    EXPECT_LE(ink.LowerRightCorner.X, corner.X);
    EXPECT_GE(ink.LowerRightCorner.X, corner.X - 4);
}

TEST_P(FontPixels, LinesSteppedByTheirHeightKeepToTheirCells) {
    // The text node's rule: each line moves down by the extent height x the line height.
    struct Line {
        CGUIFont3D* font;
        const char* text;
    };
    const Line lines[] = {
        {mainFont, "The quick brown fox jumps over the lazy dog."},
        {mainFont, "Level 12 - Score: 1,234,567  (x3) [OK] \"Quit?\" Yes/No"},
        {mainFont, "\xC5ngstr\xF6m caf\xE9 na\xEFve \xA9 \x80 100 \x96 j\xE4ger T\xF7j"},
        {mainFont, "AVAWAY Tj yjg fi \x81 end"},
        {altFont, "The quick brown fox jumps"},
        {altFont, "Level 12 - Score: 1,234,567"},
        {altFont, "\xC5ngstr\xF6m caf\xE9 na\xEFve \x80 100"},
    };
    // Each line alone: its ink stays within its quads, which reach from its position one cell up.
    // A line moves the next one down by its own height, so the first line in the larger font
    // gets the difference of the cells as extra room.
    float y = 12;
    std::vector<float> positions;
    for (const Line& line : lines) {
        if (!positions.empty() && line.font != (&line - 1)->font) {
            y -= (line.font->getTextExtent("").Y - (&line - 1)->font->getTextExtent("").Y) *
                 line.font->getSize();
        }
        positions.push_back(y);
        const core::recti ink =
            drawnInk(line.font, line.text, core::vector3df(-19, y, 0), 1, false);
        const s32 bottom = screen(core::vector3df(-19, y, 0)).Y;
        const s32 cell = line.font->getPixelDimension("").Height;
        EXPECT_GE(ink.UpperLeftCorner.Y, bottom - cell - 1) << line.text;
        EXPECT_LE(ink.LowerRightCorner.Y, bottom + 1) << line.text;
        y -= line.font->getTextExtent(line.text).Y * line.font->getLineHeight();
    }
    // All together they fill one cell after the other.
    drawFrame([&] {
        for (size_t k = 0; k < positions.size(); ++k) {
            lines[k].font->drawText(lines[k].text, core::vector3df(-19, positions[k], 0), white, 1,
                                    false, 1, false, nullptr);
        }
        mainFont->drawText("Centred and outlined", core::vector3df(0, -10, 0), white, 0, true, 1,
                           true, nullptr);
    });
    const core::recti all = inkBounds(frame, background, core::recti(0, 0, 800, 400));
    const s32 top = screen(core::vector3df(-19, positions.front(), 0)).Y -
                    mainFont->getPixelDimension("").Height;
    const s32 bottom = screen(core::vector3df(-19, positions.back(), 0)).Y;
    EXPECT_NEAR(all.UpperLeftCorner.Y, top, 4);
    EXPECT_NEAR(all.LowerRightCorner.Y, bottom, 8);
}

TEST_P(FontPixels, GlyphShowsExactlyItsRectangleOfTheImage) {
    // A 64 by 64 image: a green square, image pixels 11 to 30, in a ring of red; the font file
    // counts from the pixel inside the image's border, so the square is 10, 10, 30, 30 there.
    const video::SColor green(255, 0, 255, 0);
    const video::SColor red(255, 255, 0, 0);
    writeImage("gui\\square.png", 64, 64, [&](u32 x, u32 y) {
        if (x >= 11 && x <= 30 && y >= 11 && y <= 30) {
            return green;
        }
        return x >= 10 && x <= 31 && y >= 10 && y <= 31 ? red : video::SColor(0, 0, 0, 0);
    });
    program.writeData("gui/square.xml", "<texture>square.png</texture>"
                                        "<char l='10' t='10' r='30' b='30' ascii='65' />");
    // At size 40 the 20 pixels of the square are 4 scene units: 80 screen pixels, 4 a texel.
    CGUIFont3D* square = load("gui\\square.xml", 40);
    const core::vector3df at(-2, -2, 0);
    drawFrame([&] { square->drawText("A", at, white, 1, false, 1, false, nullptr); });
    const core::position2di corner = screen(at);
    // The outermost texels show green: filtering may mix in some of the ring beside them
    // (Burning's Video reads half a texel towards the right and the bottom), but a rectangle off
    // by a pixel would show a whole texel of red.
    const auto greenish = [&](s32 x, s32 y) {
        const video::SColor pixel = frame->getPixel(u32(x), u32(y));
        return pixel.getGreen() > pixel.getRed() + 40;
    };
    EXPECT_TRUE(greenish(corner.X + 2, corner.Y - 3));
    EXPECT_TRUE(greenish(corner.X + 76, corner.Y - 3));
    EXPECT_TRUE(greenish(corner.X + 2, corner.Y - 78));
    EXPECT_TRUE(greenish(corner.X + 76, corner.Y - 78));
    EXPECT_TRUE(pixelNear(frame, corner.X - 3, corner.Y - 40, background));
    EXPECT_TRUE(pixelNear(frame, corner.X + 83, corner.Y - 40, background));
    int reddish = 0;
    for (u32 y = 0; y < 600; ++y) {
        for (u32 x = 0; x < 800; ++x) {
            const video::SColor pixel = frame->getPixel(x, y);
            reddish += pixel.getRed() > 240 ? 1 : 0;
        }
    }
    EXPECT_EQ(reddish, 0);
}

std::string driverName(const testing::TestParamInfo<video::E_DRIVER_TYPE>& info) {
    return info.param == video::EDT_OPENGL ? "OpenGL" : "BurningsVideo";
}

INSTANTIATE_TEST_SUITE_P(Driver, FontPixels,
                         testing::Values(video::EDT_OPENGL, video::EDT_BURNINGSVIDEO), driverName);

// Outlines need vertex colours, which only OpenGL has here.
class FontPixelsOpenGL : public FontScreen {
protected:
    FontPixelsOpenGL() : FontScreen(video::EDT_OPENGL) {}
};

TEST_F(FontPixelsOpenGL, OutlineDarkensTheGlyphEdges) {
    background = video::SColor(255, 150, 150, 150);
    // Pixels darker than the background; white text alone never makes any.
    const auto darkPixels = [this](bool outline) {
        drawFrame([&] {
            mainFont->drawText("Outlined", core::vector3df(0, 0, 0), white, 0, true, 1, outline,
                               nullptr);
        });
        int count = 0;
        for (u32 y = 0; y < 600; ++y) {
            for (u32 x = 0; x < 800; ++x) {
                count += frame->getPixel(x, y).getRed() + 25 < 150 ? 1 : 0;
            }
        }
        return count;
    };
    EXPECT_EQ(darkPixels(false), 0);
    EXPECT_GT(darkPixels(true), 20);
}

TEST_F(FontPixelsOpenGL, OutlineNearTheCameraShowsAroundTheGlyph) {
    background = video::SColor(255, 150, 150, 150);
    // 1.65 units in front of the camera the outline's 0.004 units are a pixel, and the glyph is
    // six times its size: the copies make a dark rim round the white stem.
    const core::vector3df at(0, 0, -19);
    const auto darkestLeftOfTheStem = [&](bool outline) {
        drawFrame([&] { mainFont->drawText("I", at, white, 0, true, 1, outline, nullptr); });
        const core::recti ink = inkBounds(frame, background);
        int darkest = 255;
        for (s32 x = ink.getCenter().X; x > ink.getCenter().X - 60 && x >= 0; --x) {
            darkest =
                std::min<int>(darkest, frame->getPixel(u32(x), u32(ink.getCenter().Y)).getRed());
        }
        return darkest;
    };
    // Filtering the magnified image darkens its outermost pixels a little even without it.
    const int plain = darkestLeftOfTheStem(false);
    const int outlined = darkestLeftOfTheStem(true);
    EXPECT_LT(outlined, 110);
    EXPECT_GT(plain, outlined + 25);
}

// The game's fonts at 1024 by 768, 25.6 pixels to the unit: 1.28 screen pixels per font pixel.
class FontPixelsLarge : public FontScreen {
protected:
    FontPixelsLarge() : FontScreen(video::EDT_OPENGL, core::dimension2du(1024, 768)) {}
};

TEST_F(FontPixelsLarge, TextGrowsWithTheScreen) {
    const core::recti main =
        drawnInk(mainFont, "The quick brown fox", core::vector3df(-19, 12, 0), 1, false);
    EXPECT_NEAR(main.getHeight(), 1.28 * (kMainCapitals + 4), 2.5); // "q" reaches 4 lower
    const core::recti alt = drawnInk(altFont, "HHH", core::vector3df(-19, 6, 0), 1, false);
    EXPECT_NEAR(alt.getHeight(), 1.28 * kAltCapitals, 2);
}

// Mip-maps would only blur the font image, which is drawn pixel for pixel.
class FontImageLoading : public FontTest {
protected:
    FontImageLoading() : FontTest(video::EDT_OPENGL) {}
};

TEST_F(FontImageLoading, FontImageHasNoMipMapsAndTheDriverFlagIsRestored) {
    installGameFonts();
    video::IVideoDriver* driver = device.driver();
    driver->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, true);
    CGUIFont3D* font = load("gui\\font-main.xml", 5);
    video::ITexture* texture = font->getMaterial().getTexture(0);
    ASSERT_NE(texture, nullptr);
    EXPECT_FALSE(texture->hasMipMaps());
    EXPECT_TRUE(driver->getTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS));
    // An image loaded afterwards gets mip-maps again.
    video::ITexture* other = driver->getTexture(testImagePath("white_16.png").c_str());
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(other->hasMipMaps());
}

} // namespace
