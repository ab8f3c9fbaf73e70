// The whole game loop under the virtual display driven by a recorded input file: it clicks a
// menu's button, whose action opens a dialog with a text editor, and types into it; the
// screenshot at the end shows the typed text, and a second replay gives the same picture.

#include "core/game_client.h"
#include "core/server_game.h"
#include "core/vellumengine.h"
#include "dialogs/module_dialogfactory.h"
#include "scene/node_base.h"
#include "scene/node_utilities.h"
#include "scene/rendering_font.h"
#include "support/test_game.h"
#include "support/test_program.h"
#include "utils/utils_fs.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

const int kShotFrame = 90;

// The menu (a panel with a button) at the screen's centre; the button opens the editor dialog
// above it, whose label takes the keyboard and keeps the text in its "typed" property.
void writeDialogs(const TestProgram& program) {
    program.copyGameFonts(false);
    program.copyTestImage("grey_16.png", "gui/panel.png");
    program.copyTestImage("orange_16.png", "gui/button.png");
    program.writeData("dialogs/menu.dlg",
                      "-DialogName:menu\n"
                      "[Sprite]\n"
                      "-Texture:\\gui\\panel.png\n"
                      "-Size:w20 h10\n"
                      "-Position:x0 y-3\n"
                      "[Sprite]\n"
                      "-Texture:\\gui\\button.png\n"
                      "-Size:w8 h3\n"
                      "-Position:x0 y-3 z-0.1\n"
                      "-Label:?Edit\n"
                      "-Event.Mouse.Click.Action:core_OpenDialog(\"editor\");\n");
    program.writeData("dialogs/editor.dlg", "-DialogName:editor\n"
                                            "[Sprite]\n"
                                            "-Texture:\\gui\\panel.png\n"
                                            "-Size:w30 h6\n"
                                            "-Position:x0 y9\n"
                                            "[Sprite]\n"
                                            "-Name:field\n"
                                            "-Texture:\\gui\\button.png\n"
                                            "-Size:w26 h3\n"
                                            "-Position:x0 y9 z-0.1\n"
                                            "-Label:?\n"
                                            "-Animation.SimpleTextEditor:s20 @typed\n");
}

// Key presses and releases that type the lower-case word, one key every two frames.
std::string typing(int firstFrame, const std::string& word) {
    std::string lines;
    int frame = firstFrame;
    for (char c : word) {
        int key = c - 'a' + 'A';
        lines += std::to_string(frame) + " key down " + std::to_string(key) + " " +
                 std::to_string(static_cast<int>(c)) + " 0 0\n";
        lines += std::to_string(frame + 1) + " key up " + std::to_string(key) + " " +
                 std::to_string(static_cast<int>(c)) + " 0 0\n";
        frame += 2;
    }
    return lines;
}

// The button's centre is 3 scene units (48 pixels) below the centre of the 640 by 480 screen.
const std::string kClickAndType = "# move onto the button and click it\n"
                                  "40 mouse move 320 288\n"
                                  "41 mouse left-down 320 288 buttons=1\n"
                                  "43 mouse left-up 320 288\n"
                                  "# type into the editor that opened\n" +
                                  typing(60, "vellum");

// Opens the menu once the game runs; on the screenshot's frame, tells on standard error which
// dialogs are open and what the editor holds.
class MenuGame : public TestGame {
public:
    ~MenuGame() override {
        if (font != nullptr) {
            font->drop();
        }
    }
    void onStart() override { font = createFont(resolveDataPath("gui\\font-main.xml"), 5.0f); }
    void onFrame() override {
        ++frame;
        CVellumEngine& engine = getEngine();
        if (!menuOpened && engine.isStageRunning()) {
            menuOpened = true;
            openDialog("dialogs\\menu.dlg");
        }
        if (frame == kShotFrame) {
            CNodeBasement* field = getNodeByName("field_text");
            fprintf(stderr, "editor=%d typed=%s\n", field != nullptr ? 1 : 0,
                    field != nullptr ? field->getStringProperty("typed", "").c_str() : "");
        }
    }

private:
    int frame = 0;
    bool menuOpened = false;
};

std::string replayIni(const std::string& replayPath, const std::string& shotPath) {
    return TestProgram::defaultGameIni() + "ExitAfterFrames=" + std::to_string(kShotFrame + 2) +
           "\nFixedFrameTime=20\nScreenshotAt=" + std::to_string(kShotFrame) + ":" + shotPath +
           "\nInputReplay=" + replayPath + "\n";
}

// Replays the file in a program folder of its own and returns the screenshot's bytes.
std::string replayAndShoot(const std::string& replayText, const std::string& typedPattern,
                           const std::string& shotPath) {
    TestProgram setup;
    setup.folder().write("input.txt", replayText);
    TestProgram program(replayIni(setup.folder().native() + "input.txt", shotPath));
    writeDialogs(program);
    EXPECT_EXIT(
        {
            runTestGame(new MenuGame());
            exit(0);
        },
        testing::ExitedWithCode(0), typedPattern);
    std::ifstream in(shotPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(DialogReplay, AReplayedClickOpensTheEditorAndTypedTextShowsTheSameEachTime) {
    TestProgram shots;
    const std::string first = shots.folder().native() + "first.png";
    const std::string second = shots.folder().native() + "second.png";
    const std::string untyped = shots.folder().native() + "untyped.png";
    std::string firstBytes = replayAndShoot(kClickAndType, "editor=1 typed=Vellum\n", first);
    std::string secondBytes = replayAndShoot(kClickAndType, "editor=1 typed=Vellum\n", second);
    ASSERT_FALSE(firstBytes.empty());
    EXPECT_EQ(firstBytes, secondBytes);

    // Without the typing the editor opens empty, and the picture differs.
    std::string clickOnly = kClickAndType.substr(0, kClickAndType.find("# type"));
    std::string untypedBytes = replayAndShoot(clickOnly, "editor=1 typed=\n", untyped);
    ASSERT_FALSE(untypedBytes.empty());
    EXPECT_NE(untypedBytes, firstBytes);
    if (const char* keep = std::getenv("VELLUM_TEST_SCREENSHOTS")) {
        std::ofstream(std::string(keep) + "/dialog_replay.png", std::ios::binary) << firstBytes;
        std::ofstream(std::string(keep) + "/dialog_replay_untyped.png", std::ios::binary)
            << untypedBytes;
    }
}
