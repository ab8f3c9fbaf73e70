#include "core/server_game.h"
#include "support/message_box_recorder.h"
#include "support/pixel_test_device.h"
#include "support/test_game.h"
#include "support/test_program.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::string readNative(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The start-up script waits for the running stage, then creates a sprite through a function
// that only another script file defines: it can only appear once every script was preloaded and
// compiled.
const char* const kStartup = R"(
function startGame()
{
    print("started");
    ::waiting <- core_SetInterval(40, "whenRunning();");
}

function whenRunning()
{
    if (core_GetGameState() < 500)
        return;
    core_CancelInterval(::waiting);
    showBox();
}
)";

const char* const kOtherScript = R"(
function showBox()
{
    core_CreateSprite("gui\\box.spr", "", {x = 0.0, y = 0.0, z = 0.0, name = "box"});
}
)";

} // namespace

// The whole game loop with the start-up script under the virtual display: the sprite the scripts
// create shows in the written screenshot, and the run ends cleanly.
TEST(StartupRun, TheStartupScriptRunsAndLaterScriptsCreateASprite) {
    TestProgram setup;
    std::string shot = setup.folder().native() + "frame30.png";
    TestProgram program(TestProgram::defaultGameIni() + "ExitAfterFrames=31\nFixedFrameTime=20\n" +
                        "ScreenshotAt=30:" + shot + "\n");
    program.copyTestImage("grey_16.png", "gui/grey.png");
    program.writeData("gui/box.spr", "-Texture:grey.png\n-Size:w4 h4\n");
    program.writeData("scripts/startup.nut", kStartup);
    program.writeData("scripts/show.nut", kOtherScript);
    EXPECT_EXIT(
        {
            runTestGame(new TestGame());
            exit(0);
        },
        testing::ExitedWithCode(0), "");

    std::string compiled = readNative(program.folder().native() + "last_scriptcomp_error_all.log");
    EXPECT_NE(compiled.find("function showBox()"), std::string::npos) << compiled;
    EXPECT_NE(compiled.find("function whenRunning()"), std::string::npos) << compiled;

    irr::IrrlichtDevice* device = irr::createDevice(irr::video::EDT_NULL);
    irr::video::IImage* image = device->getVideoDriver()->createImageFromFile(shot.c_str());
    ASSERT_NE(image, nullptr) << shot;
    irr::video::IImage* grey =
        device->getVideoDriver()->createImageFromFile(testImagePath("grey_16.png").c_str());
    EXPECT_EQ(image->getPixel(320, 240).color | 0xFF000000,
              grey->getPixel(8, 8).color | 0xFF000000);
    EXPECT_EQ(image->getPixel(10, 10).color & 0x00FFFFFF, 0u);
    grey->drop();
    image->drop();
    device->drop();
}

// Without a start-up script the missing file is reported and "startGame();" still runs; its
// failure is reported too, and the game goes on to the end of the run.
TEST(StartupRun, AMissingStartupScriptIsReportedAndTheGameGoesOn) {
    TestProgram program(TestProgram::defaultGameIni() + "ExitAfterFrames=5\nFixedFrameTime=20\n");
    EXPECT_EXIT(
        {
            MessageBoxRecorder boxes(6);
            runTestGame(new TestGame());
            bool reported = boxes.sawText("startup.nut") &&
                            boxes.sawText("Calling script code\n\r\nstartGame();");
            exit(reported ? 0 : 2);
        },
        testing::ExitedWithCode(0), "");
}

// The start-up script runs on its own before the other scripts are compiled; its errors name its
// lines, also in its functions that an interval calls later, and the call the engine adds after
// its text names none.
TEST(StartupRun, ErrorsOfTheStartupScriptNameItsFileAndLines) {
    TestProgram program(TestProgram::defaultGameIni() + "ExitAfterFrames=5\nFixedFrameTime=20\n");
    program.writeData("scripts/startup.nut",
                      "// starts the game\n"
                      "function startGame()\n"
                      "{\n"
                      "    ::waiting <- core_SetInterval(40, \"later();\");\n"
                      "    local settings = {};\n"
                      "    print(settings.missing);\n"
                      "}\n"
                      "function later()\n"
                      "{\n"
                      "    core_CancelInterval(::waiting);\n"
                      "    local settings = {};\n"
                      "    print(settings.other);\n"
                      "}\n");
    EXPECT_EXIT(
        {
            MessageBoxRecorder boxes(6);
            runTestGame(new TestGame());
            bool startNamed =
                boxes.sawText("*FUNCTION [startGame()] console_buffer line [6] "
                              "(scripts\\startup.nut line 6)\n*FUNCTION [main()] console_buffer "
                              "line [15], Calling script code\n");
            bool laterNamed =
                boxes.sawText("*FUNCTION [later()] console_buffer line [12] "
                              "(scripts\\startup.nut line 12)\n*FUNCTION [main()] console_buffer "
                              "line [1], Calling script code\nlater();");
            exit(startNamed && laterNamed ? 0 : 2);
        },
        testing::ExitedWithCode(0), "");
}
