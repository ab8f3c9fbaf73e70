// Text nodes drawn with the game's fonts through the render module on OpenGL (run under
// xvfb-run), looked at in the captured frame. With VELLUM_TEST_SCREENSHOTS set to a folder, the
// frame is also written there as a PNG.

#include "core/game_client.h"
#include "core/vellumengine.h"
#include "scene/node_factory.h"
#include "scene/node_text.h"
#include "scene/rendering_font.h"
#include "support/engine_scene.h"
#include "support/message_box_recorder.h"
#include "support/pixel_test_device.h"
#include "support/test_game.h"
#include "support/test_program.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"
#include "utils/utils_str.h"

#include <gtest/gtest.h>
#include <irrlicht/irrlicht.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

using namespace irr;

namespace {

// The game's two fonts at the game's sizes.
class FontGame : public TestGame {
public:
    ~FontGame() override {
        for (CGUIFont3D* font : {mainFont, altFont}) {
            if (font != nullptr) {
                font->drop();
            }
        }
    }
    CGUIFont3D* getFont(const std::string& face) override {
        return startsWith(face, "a") ? altFont : mainFont;
    }

    CGUIFont3D* mainFont = nullptr;
    CGUIFont3D* altFont = nullptr;
};

using PixelTest = std::function<bool(video::SColor)>;

// The smallest rectangle holding every pixel that passes the test; empty when none does.
core::recti inkOf(video::IImage* frame, const PixelTest& test) {
    const core::dimension2du size = frame->getDimension();
    core::recti ink;
    bool found = false;
    for (u32 y = 0; y < size.Height; ++y) {
        for (u32 x = 0; x < size.Width; ++x) {
            if (!test(frame->getPixel(x, y))) {
                continue;
            }
            const core::position2di point(static_cast<s32>(x), static_cast<s32>(y));
            if (!found) {
                ink = core::recti(point, point);
                found = true;
            } else {
                ink.addInternalPoint(point);
            }
        }
    }
    return ink;
}

bool reddish(video::SColor c) {
    return c.getRed() > 110 && c.getGreen() < 70 && c.getBlue() < 70;
}
bool greenish(video::SColor c) {
    return c.getGreen() > 110 && c.getRed() < 70 && c.getBlue() < 70;
}
bool bluish(video::SColor c) {
    return c.getBlue() > 110 && c.getRed() < 70 && c.getGreen() < 70;
}
bool yellowish(video::SColor c) {
    return c.getRed() > 110 && c.getGreen() > 110 && c.getBlue() < 70;
}
bool whitish(video::SColor c) {
    return c.getRed() > 110 && c.getGreen() > 110 && c.getBlue() > 110;
}

// The brightest red in the frame.
u32 brightestRed(video::IImage* frame) {
    const core::dimension2du size = frame->getDimension();
    u32 brightest = 0;
    for (u32 y = 0; y < size.Height; ++y) {
        for (u32 x = 0; x < size.Width; ++x) {
            brightest = std::max(brightest, frame->getPixel(x, y).getRed());
        }
    }
    return brightest;
}

} // namespace

class TextScreen : public testing::Test {
protected:
    TextScreen() : device(video::EDT_OPENGL, core::dimension2du(800, 600)) {}

    void SetUp() override {
        ASSERT_TRUE(device.valid());
        setLanguage("data_en");
        program.copyGameFonts(true);
        program.copyTestImage("orange_16.png", "gui/dot.png");
        scene = std::make_unique<EngineScene>(device.irrlichtDevice());
        game = new FontGame();
        game->mainFont = createFont(resolveDataPath("gui\\font-main.xml"), 5.0f);
        game->altFont = createFont(resolveDataPath("gui\\font-alt.xml"), 9.69f);
        getEngine().setClient(game);
        game->drop();
    }

    void TearDown() override {
        if (frame != nullptr) {
            frame->drop();
        }
        getEngine().getRenderer().drainDeletionQueue();
        scene.reset();
        clearDescriptionCache();
        getEngine().setClient(nullptr);
    }

    // Draws two frames (the first makes the inline images) and keeps the second.
    void drawFrames() {
        for (int k = 0; k < 2; ++k) {
            device.beginFrame(video::SColor(255, 0, 0, 0));
            getEngine().getRenderer().renderAll();
            if (frame != nullptr) {
                frame->drop();
            }
            frame = device.captureAndEndFrame();
            ASSERT_NE(frame, nullptr);
        }
    }

    TestProgram program;
    MessageBoxRecorder boxes;
    PixelTestDevice device;
    std::unique_ptr<EngineScene> scene;
    FontGame* game = nullptr;
    video::IImage* frame = nullptr;
};

TEST_F(TextScreen, MarkupColoursSizesAlignsAndPlacesAnImage) {
    makeTextNode("<img src='gui\\dot.png' w=2 h=2 x=-12 y=-2>\n"
                 "Vellum text markup\n"
                 "<color=#ff2020>\n"
                 "A red line, centred\n"
                 "<right>\n"
                 "<color=#20ff20>\n"
                 "Green, right-aligned\n"
                 "<left>\n"
                 "<size=+3>\n"
                 "<color=#2020ff>\n"
                 "Big blue\n"
                 "<center>\n"
                 "<font-size:-1>\n"
                 "<color=#ffff20>\n"
                 "small and yellow\n"
                 "<font-face:alt>\n"
                 "<color=#ffffff>\n"
                 "Alternative face",
                 core::vector3df(0, 8, 0), nullptr, 8001);
    drawFrames();
    ASSERT_NE(frame, nullptr);
    const int centreX = scene->screenPoint(core::vector3df(0, 8, 0)).X;

    const core::recti red = inkOf(frame, reddish);
    const core::recti green = inkOf(frame, greenish);
    const core::recti blue = inkOf(frame, bluish);
    const core::recti yellow = inkOf(frame, yellowish);
    ASSERT_GT(red.getArea(), 0);
    ASSERT_GT(green.getArea(), 0);
    ASSERT_GT(blue.getArea(), 0);
    ASSERT_GT(yellow.getArea(), 0);

    // Centred, right-aligned and left-aligned at the node's position.
    EXPECT_NEAR(red.getCenter().X, centreX, 6);
    EXPECT_NEAR(green.LowerRightCorner.X, centreX, 6);
    EXPECT_NEAR(blue.UpperLeftCorner.X, centreX, 6);
    EXPECT_NEAR(yellow.getCenter().X, centreX, 6);
    // Each line below the one before (lines are centred on their pen, so a big line reaches up
    // towards the line above it).
    EXPECT_LT(red.getCenter().Y, green.getCenter().Y);
    EXPECT_LT(green.getCenter().Y, blue.getCenter().Y);
    EXPECT_LT(blue.getCenter().Y, yellow.getCenter().Y);
    // Size +3 is twice, -1 four fifths of the plain size (the red line has capitals and
    // descenders like the others).
    EXPECT_GT(blue.getHeight(), red.getHeight() * 3 / 2);
    EXPECT_LT(yellow.getHeight(), red.getHeight());

    // The inline image lies at its offset from the node, 2 by 2 units (40 by 40 pixels).
    const core::position2di image = scene->screenPoint(core::vector3df(-12, 6, 0));
    const video::SColor imageColour =
        frame->getPixel(static_cast<u32>(image.X), static_cast<u32>(image.Y));
    EXPECT_GT(imageColour.getRed(), 150u);
    EXPECT_GT(imageColour.getRed(), imageColour.getBlue());
    const core::position2di beside = scene->screenPoint(core::vector3df(-10.5f, 6, 0));
    EXPECT_EQ(frame->getPixel(static_cast<u32>(beside.X), static_cast<u32>(beside.Y)),
              video::SColor(255, 0, 0, 0));

    // The first and the last line are white; the alternative face is below everything else.
    const core::recti white = inkOf(frame, whitish);
    EXPECT_LT(white.UpperLeftCorner.Y, red.UpperLeftCorner.Y);
    EXPECT_GT(white.LowerRightCorner.Y, yellow.LowerRightCorner.Y);
}

TEST_F(TextScreen, TextLaidOutOnceFollowsTheNodeItsOpacityAndANewText) {
    const core::vector3df first(-6, 4, 0);
    const core::vector3df second(4, -2, 0);
    CTextNode* node = makeTextNode("<color=#ff2020>\nWWWW", first, nullptr, 8001);
    drawFrames();
    const core::recti before = inkOf(frame, reddish);
    ASSERT_GT(before.getArea(), 0);
    const u32 opaqueRed = brightestRed(frame);

    node->setPosition(second);
    drawFrames();
    const core::recti moved = inkOf(frame, reddish);
    const core::position2di shift = scene->screenPoint(second) - scene->screenPoint(first);
    EXPECT_NEAR(moved.UpperLeftCorner.X, before.UpperLeftCorner.X + shift.X, 1);
    EXPECT_NEAR(moved.UpperLeftCorner.Y, before.UpperLeftCorner.Y + shift.Y, 1);
    EXPECT_NEAR(moved.getWidth(), before.getWidth(), 1);
    EXPECT_NEAR(moved.getHeight(), before.getHeight(), 1);

    node->setAlpha(0.5f);
    drawFrames();
    EXPECT_NEAR(static_cast<double>(brightestRed(frame)), opaqueRed * 0.5, opaqueRed * 0.1);
    EXPECT_EQ(node->getLayoutCount(), 1);

    // A new text shows on the next frame, in its own colour and width.
    node->setAlpha(1);
    node->setText("<color=#20ff20>\nWW");
    device.beginFrame(video::SColor(255, 0, 0, 0));
    getEngine().getRenderer().renderAll();
    frame->drop();
    frame = device.captureAndEndFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(inkOf(frame, reddish).getArea(), 0);
    const core::recti green = inkOf(frame, greenish);
    EXPECT_NEAR(green.getWidth(), before.getWidth() / 2, 3);
    EXPECT_NEAR(green.getCenter().X, moved.getCenter().X, 3);
}
