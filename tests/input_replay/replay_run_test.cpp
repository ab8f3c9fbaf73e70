#include "core/game_client.h"
#include "core/server_game.h"
#include "core/vellumengine.h"
#include "input/input_record.h"
#include "platform/message_box.h"
#include "support/test_game.h"
#include "support/test_program.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

const int kFixedFrameTime = 20;

// What the game does to the input as a person would, by frame (all after preloading ends).
const std::multimap<int, std::string> kPersonInput = {
    {10, "10 mouse move 100 80"},
    {11, "11 mouse left-down 100 80 buttons=1"},
    {12, "12 mouse left-up 100 80"},
    {12, "12 key down 72 104 0 0"},
    {13, "13 key up 72 104 0 0"},
    {14, "14 mouse wheel 200 150 -1"},
    {14, "14 mouse right-down 200 150 buttons=2"},
    {15, "15 mouse move 300 200 shift buttons=2"},
    {15, "15 mouse right-up 300 200"},
};

irr::SEvent eventOf(const std::string& line) {
    return parseInputRecording(line).events.at(0).event;
}

// Writes down each event the engine hands it with the frame it came in and the device time then;
// posts `posted` to the device at their frames as live input would arrive, and, when asked,
// checks that the input module's cursor is where each move and press says.
class WatchingGame : public TestGame {
public:
    WatchingGame(std::string reportPath, std::multimap<int, std::string> posted, bool checkCursor)
        : reportPath(std::move(reportPath)), posted(std::move(posted)), checkCursor(checkCursor) {}

    bool onEvent(const irr::SEvent& event) override {
        if (!isRecordedInput(event)) {
            return false;
        }
        CVellumEngine& engine = getEngine();
        std::string line = formatRecordedEvent(frame + 1, event);
        report += line + " t=" + std::to_string(engine.getDevice()->getTimer()->getTime()) + "\n";
        bool positioned = event.EventType == irr::EET_MOUSE_INPUT_EVENT &&
                          (event.MouseInput.Event == irr::EMIE_MOUSE_MOVED ||
                           event.MouseInput.Event == irr::EMIE_LMOUSE_PRESSED_DOWN);
        if (checkCursor && positioned &&
            (engine.getInput().cursorX() != event.MouseInput.X ||
             engine.getInput().cursorY() != event.MouseInput.Y)) {
            cursorProblems += line + " found the cursor at " +
                              std::to_string(engine.getInput().cursorX()) + "," +
                              std::to_string(engine.getInput().cursorY()) + "\n";
        }
        return false;
    }

    // Posts before counting the frame, so events seen here and events the engine replays before
    // this call carry the same frame number.
    void onFrame() override {
        auto [first, last] = posted.equal_range(frame + 1);
        for (auto it = first; it != last; ++it) {
            getEngine().getDevice()->postEventFromUser(eventOf(it->second));
        }
        ++frame;
    }

    void onExit() override {
        std::ofstream(reportPath) << report;
        fprintf(stderr, "unattended=%d\n%s", isUnattendedRun() ? 1 : 0, cursorProblems.c_str());
    }

private:
    std::string reportPath;
    std::multimap<int, std::string> posted;
    bool checkCursor;
    int frame = 0;
    std::string report;
    std::string cursorProblems;
};

std::string runIni(const std::string& extra) {
    return TestProgram::defaultGameIni() +
           "ExitAfterFrames=18\nFixedFrameTime=" + std::to_string(kFixedFrameTime) + "\n" + extra;
}

} // namespace

// A run records what arrives from the device; a second run replays the file under the virtual
// display: the game sees the same events at the same frames and device times, the cursor follows
// the replayed moves, live input is ignored, and a malformed line is reported and skipped.
TEST(ReplayRun, ARecordedRunReplaysTheSameEventsAtTheSameFrames) {
    TestProgram setup;
    const std::string folder = setup.folder().native();
    {
        TestProgram program(runIni("InputRecord=" + folder + "input.txt\n"));
        EXPECT_EXIT(
            {
                runTestGame(new WatchingGame(folder + "recorded_run.txt", kPersonInput, false));
                exit(0);
            },
            testing::ExitedWithCode(0), "unattended=1\n");
    }
    std::string expectedFile;
    for (const auto& [frame, line] : kPersonInput) {
        expectedFile += line + "\n";
    }
    ASSERT_EQ(setup.folder().read("input.txt"), expectedFile);
    std::string recordedRun = setup.folder().read("recorded_run.txt");
    ASSERT_NE(recordedRun.find("10 mouse move 100 80 t=200\n"), std::string::npos) << recordedRun;

    setup.folder().write("input.txt", expectedFile + "12 mouse hop 1 1\n");
    {
        TestProgram program(runIni("InputReplay=" + folder + "input.txt\n"));
        const std::multimap<int, std::string> live = {{12, "12 key down 27 27 0 0"},
                                                      {16, "16 mouse move 1 1"}};
        EXPECT_EXIT(
            {
                runTestGame(new WatchingGame(folder + "replayed_run.txt", live, true));
                exit(0);
            },
            testing::ExitedWithCode(0),
            "line 10 \\(12 mouse hop 1 1\\): unknown mouse event(.|\n)*unattended=1\n$");
    }
    EXPECT_EQ(setup.folder().read("replayed_run.txt"), recordedRun);
}
