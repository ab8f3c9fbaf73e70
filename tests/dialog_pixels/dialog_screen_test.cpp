// A dialog drawn through the render module on OpenGL (run under xvfb-run): its panel, its text
// and its button show where the description puts them. With VELLUM_TEST_SCREENSHOTS set to a
// folder, the frame is also written there as a PNG.

#include "core/game_client.h"
#include "core/vellumengine.h"
#include "dialogs/module_dialogfactory.h"
#include "scene/node_factory.h"
#include "scene/rendering_font.h"
#include "support/engine_scene.h"
#include "support/message_box_recorder.h"
#include "support/pixel_test_device.h"
#include "support/test_game.h"
#include "support/test_program.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"

#include <gtest/gtest.h>
#include <irrlicht/irrlicht.h>

#include <fstream>
#include <iterator>
#include <memory>

using namespace irr;

namespace {

// The game's main font for every face.
class FontGame : public TestGame {
public:
    ~FontGame() override {
        if (font != nullptr) {
            font->drop();
        }
    }
};

bool sameColour(video::SColor a, video::SColor b, u32 tolerance) {
    auto near = [tolerance](u32 x, u32 y) { return (x > y ? x - y : y - x) <= tolerance; };
    return near(a.getRed(), b.getRed()) && near(a.getGreen(), b.getGreen()) &&
           near(a.getBlue(), b.getBlue());
}

// Pixels in the rectangle lighter than the grey panel and the orange button.
int lightPixels(video::IImage* frame, const core::recti& area) {
    int count = 0;
    for (s32 y = area.UpperLeftCorner.Y; y < area.LowerRightCorner.Y; ++y) {
        for (s32 x = area.UpperLeftCorner.X; x < area.LowerRightCorner.X; ++x) {
            video::SColor c = frame->getPixel(static_cast<u32>(x), static_cast<u32>(y));
            count += c.getRed() > 160 && c.getGreen() > 160 && c.getBlue() > 160 ? 1 : 0;
        }
    }
    return count;
}

} // namespace

class DialogScreen : public testing::Test {
protected:
    DialogScreen() : device(video::EDT_OPENGL, core::dimension2du(800, 600)) {}

    void SetUp() override {
        ASSERT_TRUE(device.valid());
        setLanguage("data_en");
        program.copyGameFonts(false);
        program.copyTestImage("grey_16.png", "gui/panel.png");
        program.copyTestImage("orange_16.png", "gui/button.png");
        scene = std::make_unique<EngineScene>(device.irrlichtDevice());
        getEngine().rootNode() = scene->root();
        game = new FontGame();
        game->font = createFont(resolveDataPath("gui\\font-main.xml"), 5.0f);
        getEngine().setClient(game);
        game->drop();
    }

    void TearDown() override {
        if (frame != nullptr) {
            frame->drop();
        }
        getEngine().getRenderer().drainDeletionQueue();
        scene->scene()->clear();
        getEngine().rootNode() = nullptr;
        scene.reset();
        clearDescriptionCache();
        getEngine().setClient(nullptr);
    }

    video::SColor imageColour(const std::string& name) {
        video::IImage* image = device.driver()->createImageFromFile(testImagePath(name).c_str());
        video::SColor colour = image->getPixel(8, 8);
        image->drop();
        return colour;
    }
    video::SColor pixelAt(const core::vector3df& point) {
        core::position2di pixel = scene->screenPoint(point);
        return frame->getPixel(static_cast<u32>(pixel.X), static_cast<u32>(pixel.Y));
    }

    TestProgram program;
    MessageBoxRecorder boxes;
    PixelTestDevice device;
    std::unique_ptr<EngineScene> scene;
    FontGame* game = nullptr;
    video::IImage* frame = nullptr;
};

TEST_F(DialogScreen, PanelTextAndButtonOfADialogShowOnScreen) {
    program.writeData("dialogs/message.dlg",
                      "-DialogName:message\n"
                      "[Sprite]\n"
                      "-Texture:\\gui\\panel.png\n"
                      "-Size:w20 h12\n"
                      "[Sprite]\n"
                      "-Text:?Hello from a dialog\n"
                      "-Position:x0 y2.5 z-0.1\n"
                      "[Sprite]\n"
                      "-Texture:\\gui\\button.png\n"
                      "-Size:w6 h2\n"
                      "-Position:x0 y-3 z-0.1\n"
                      "-Label:?Close\n"
                      "-Event.Mouse.Click.Action:core_CloseDialog(\"message\");\n");
    ASSERT_NE(openDialog("dialogs\\message.dlg"), nullptr);
    for (int k = 0; k < 2; ++k) {
        device.beginFrame(video::SColor(255, 0, 0, 0));
        getEngine().getRenderer().renderAll();
        if (frame != nullptr) {
            frame->drop();
        }
        frame = device.captureAndEndFrame();
        ASSERT_NE(frame, nullptr);
    }

    const video::SColor panel = imageColour("grey_16.png");
    const video::SColor button = imageColour("orange_16.png");
    EXPECT_TRUE(sameColour(pixelAt(core::vector3df(-8, 4.5f, 0)), panel, 8));
    // The button is probed beside its label: the label's centre has ink at the edge of a glyph.
    EXPECT_TRUE(sameColour(pixelAt(core::vector3df(-2.3f, -3, 0)), button, 8));
    EXPECT_TRUE(sameColour(pixelAt(core::vector3df(2.7f, -3.7f, 0)), button, 8));
    // Outside the panel the screen stays black.
    EXPECT_TRUE(sameColour(pixelAt(core::vector3df(12, 0, 0)), video::SColor(255, 0, 0, 0), 2));
    // The text's light ink lies on the panel around its line, the label's on the button, and
    // none between them.
    auto inkBetween = [this](const core::vector3df& topLeft, const core::vector3df& bottomRight) {
        return lightPixels(
            frame, core::recti(scene->screenPoint(topLeft), scene->screenPoint(bottomRight)));
    };
    EXPECT_GT(inkBetween(core::vector3df(-8, 3.5f, 0), core::vector3df(8, 1.5f, 0)), 50);
    EXPECT_GT(inkBetween(core::vector3df(-3, -2, 0), core::vector3df(3, -4, 0)), 20);
    EXPECT_EQ(inkBetween(core::vector3df(-9, 1, 0), core::vector3df(9, -1.5f, 0)), 0);
}
