#include "core/server_game.h"
#include "platform/message_box.h"
#include "support/test_game.h"
#include "support/test_program.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Inside a death test: every device request fails, and each box's kind and text go to standard
// error with the answer given.
void runWithoutAnyDevice(int answer) {
    setDeviceCreator(
        [](const irr::SIrrlichtCreationParameters&) -> irr::IrrlichtDevice* { return nullptr; });
    setMessageBoxHook([answer](const std::string& text, const std::string&, int kind) {
        fprintf(stderr, "box kind %d: %s\n", kind & kBoxButtonMask, text.c_str());
        return answer;
    });
    runTestGame(new TestGame());
    exit(2);
}

// The failure box's text, exactly, as a pattern.
const char* const kFailureBoxPattern =
    "box kind 3: Failed to create 3D Device!\nPlease upgrade you video drivers/DirectX\n\nIf you "
    "already have latest drivers installed,\npress 'Yes' button to allow us to run\nDirectX "
    "diagnostic tool and send us diagnostic result\nto find what is the problem!\n";

} // namespace

TEST(DeviceFailure, WithoutADisplayItNamesTheMissingDisplayAndEndsWithCodeOne) {
    TestProgram program;
    std::string log = program.folder().native() + "last_debug.log";
    for (int answer : {kAnswerYes, kAnswerNo, kAnswerCancel}) {
        EXPECT_EXIT(
            {
                unsetenv("DISPLAY");
                runWithoutAnyDevice(answer);
            },
            testing::ExitedWithCode(1),
            "No 3D device: DISPLAY is not set, so there is no X display to open a window on; set "
            "DISPLAY or run the game under xvfb-run -a. Debug log: " +
                log + "\n" + kFailureBoxPattern + "$")
            << "answer " << answer;
    }
    // The attempts that led there are in the log the line points at.
    EXPECT_NE(program.folder().read("last_debug.log").find("Defaulting to software mode"),
              std::string::npos);
}

TEST(DeviceFailure, WithADisplayItNamesTheDisplayAndTheOpenGlDriver) {
    TestProgram program;
    std::string log = program.folder().native() + "last_debug.log";
    EXPECT_EXIT(
        {
            setenv("DISPLAY", ":42", 1);
            runWithoutAnyDevice(kAnswerNo);
        },
        testing::ExitedWithCode(1),
        "No 3D device: the X display :42 could not be opened, or gave no window for OpenGL or "
        "the software renderer; check that its X server runs and accepts this user, and that an "
        "OpenGL driver \\(Mesa's, or the graphics card's\\) "
        "is installed. Debug log: " +
            log + "\n" + kFailureBoxPattern + "$");
}
