#include "core/server_game.h"
#include "core/vellumengine.h"
#include "scene/node_factory.h"
#include "support/kept_screenshot.h"
#include "support/pixel_test_device.h"
#include "support/temporary_folder.h"
#include "support/test_game.h"
#include "support/test_program.h"
#include "utils/utils_str.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// On its first frame puts up a black background, an animated atlas strip on the left and a
// pulsing white square on the right.
class EffectsGame : public TestGame {
public:
    void onFrame() override {
        if (shown) {
            return;
        }
        shown = true;
        // The frame loop does not clear the screen: the opaque background does.
        getEngine().setBackground("gui\\black.png", false);
        createSprite("gui\\strip.spr", 1, 1, irr::core::vector3df(-8, 0, 0), getEngine().rootNode(),
                     nullptr, "effects_screen_test:1");
        createSprite("gui\\pulse.spr", 1, 1, irr::core::vector3df(8, 0, 0), getEngine().rootNode(),
                     nullptr, "effects_screen_test:2");
    }

private:
    bool shown = false;
};

bool near(int value, int expected, int tolerance) {
    return std::abs(value - expected) <= tolerance;
}

} // namespace

// The whole frame loop under the virtual display: 100 ms a frame, the sprites made on frame 1, so
// frames 3, 5 and 7 show the animation 200, 400 and 600 ms in. The strip then shows its frames
// 2, 4 and 6 (blue, cyan, white), and the square, pulsing from full alpha with a period of
// 800 ms, fades through (cos(pi/4) + 1) / 2, 1/2 and (cos(3pi/4) + 1) / 2 over black.
TEST(EffectsScreen, AtlasStripAnimatesAndTheSquarePulsesAcrossThreeFrames) {
    TemporaryFolder shots;
    TestProgram program(
        TestProgram::defaultGameIni() + "ExitAfterFrames=7\nFixedFrameTime=100\nScreenshotAt=" +
        format("3:%sframe3.png,5:%sframe5.png,7:%sframe7.png\n", shots.native().c_str(),
               shots.native().c_str(), shots.native().c_str()));
    program.copyTestImage("strip_8_frames.png", "gui/strip.png");
    program.copyTestImage("white_16.png", "gui/white.png");
    program.writeData("gui/strip.spr", "-Texture:strip.png\n-Size:w8 h8\n"
                                       "-Animation.Texture:t800 m8x1\n");
    program.writeData("gui/pulse.spr", "-Texture:white.png\n-Size:w8 h8\n"
                                       "-Animation.AlphaPulsar:t800 a1 l0 p0\n");
    EXPECT_EXIT(
        {
            runTestGame(new EffectsGame());
            exit(0);
        },
        testing::ExitedWithCode(0), "");

    const struct {
        int frame;
        irr::video::SColor strip;
        int grey;
    } expected[] = {{3, irr::video::SColor(255, 0, 0, 255), 218},
                    {5, irr::video::SColor(255, 0, 255, 255), 128},
                    {7, irr::video::SColor(255, 255, 255, 255), 37}};
    irr::IrrlichtDevice* device = irr::createDevice(irr::video::EDT_NULL);
    for (const auto& shot : expected) {
        std::string path = shots.native() + format("frame%i.png", shot.frame);
        keepScreenshot(path, format("EffectsScreen.frame%i.png", shot.frame));
        irr::video::IImage* image = device->getVideoDriver()->createImageFromFile(path.c_str());
        ASSERT_NE(image, nullptr) << path;
        // 640 by 480, 16 pixels per unit: the strip's centre at x 192, the square's at x 448.
        EXPECT_TRUE(pixelNear(image, 192, 240, shot.strip, 3)) << "frame " << shot.frame;
        irr::video::SColor square = image->getPixel(448, 240);
        EXPECT_TRUE(near(square.getRed(), shot.grey, 8) && near(square.getGreen(), shot.grey, 8) &&
                    near(square.getBlue(), shot.grey, 8))
            << "frame " << shot.frame << ": " << square.getRed() << "," << square.getGreen() << ","
            << square.getBlue();
        EXPECT_EQ(image->getPixel(320, 240).color & 0xFFFFFF, 0u) << "frame " << shot.frame;
        image->drop();
    }
    device->drop();
}
