#include "core/game_client.h"
#include "core/server_game.h"
#include "core/vellumengine.h"
#include "scene/node_factory.h"
#include "support/pixel_test_device.h"
#include "support/test_game.h"
#include "support/test_program.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

// On its first frame puts up a background image and a sprite from a description file.
class ShowingGame : public TestGame {
public:
    void onFrame() override {
        if (shown) {
            return;
        }
        shown = true;
        getEngine().setBackground("gui\\sky.png", false);
        createSprite("gui\\box.spr", 1, 1, irr::core::vector3df(0, 0, 0), getEngine().rootNode(),
                     nullptr, "screen_run_test:1");
    }

private:
    bool shown = false;
};

} // namespace

// The whole frame loop under the virtual display with OpenGL: a description file and a
// background show on screen, and the frame is written where ScreenshotAt says.
TEST(ScreenRun, BackgroundAndSpriteShowInTheWrittenScreenshot) {
    TestProgram setup;
    std::string shot = setup.folder().native() + "frame3.png";
    TestProgram program(TestProgram::defaultGameIni() + "ExitAfterFrames=4\nFixedFrameTime=20\n" +
                        "ScreenshotAt=3:" + shot + "\n");
    program.copyTestImage("orange_16.png", "gui/sky.png");
    program.copyTestImage("grey_16.png", "gui/grey.png");
    program.writeData("gui/box.spr", "-Texture:grey.png\n-Size:w4 h4\n");
    EXPECT_EXIT(
        {
            runTestGame(new ShowingGame());
            exit(0);
        },
        testing::ExitedWithCode(0), "");

    irr::IrrlichtDevice* device = irr::createDevice(irr::video::EDT_NULL);
    irr::video::IImage* image = device->getVideoDriver()->createImageFromFile(shot.c_str());
    ASSERT_NE(image, nullptr) << shot;
    EXPECT_EQ(image->getDimension(), irr::core::dimension2du(640, 480));
    irr::video::SColor centre = image->getPixel(320, 240);
    irr::video::SColor corner = image->getPixel(10, 10);
    irr::video::SColor beside = image->getPixel(320 + 60, 240);
    irr::video::IImage* grey =
        device->getVideoDriver()->createImageFromFile(testImagePath("grey_16.png").c_str());
    irr::video::IImage* orange =
        device->getVideoDriver()->createImageFromFile(testImagePath("orange_16.png").c_str());
    EXPECT_EQ(centre.color | 0xFF000000, grey->getPixel(8, 8).color | 0xFF000000);
    EXPECT_EQ(corner.color | 0xFF000000, orange->getPixel(8, 8).color | 0xFF000000);
    EXPECT_EQ(beside.color | 0xFF000000, orange->getPixel(8, 8).color | 0xFF000000);
    grey->drop();
    orange->drop();
    image->drop();
    device->drop();
}
