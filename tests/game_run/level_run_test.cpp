// The authors' guide's example level played by the whole game, unattended, on the virtual display:
// the ship flies its path through two waves, a black hole placed by the wave pulls a rock towards
// it, and the level is won exactly once. Screenshots along the way are kept for looking at.

#include "core/server_game.h"
#include "core/vellumengine.h"
#include "gameimplementation.h"
#include "platform/message_box.h"
#include "scene/node_base.h"
#include "scene/node_utilities.h"
#include "script/module_scripting.h"
#include "support/kept_screenshot.h"
#include "support/report_file.h"
#include "support/test_game.h"
#include "support/test_program.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const int kFrameTime = 20;
const int kEarlyShot = 60;
const int kLateShot = 150;
const int kLastFrame = 330;

// The authors' guide's example game (docs/example), with the bundled images it names.
void writeExample(const TestProgram& program) {
    program.copyGameFonts(true);
    const std::string source = __FILE__;
    const std::string repository = source.substr(0, source.rfind("tests/game_run/"));
    std::filesystem::copy(repository + "docs/example/data", program.folder().native() + "data",
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    for (const char* image : {"rock_small.png", "black_hole.png", "target.png", "mad_ship.png"}) {
        std::filesystem::copy_file(repository + "data/actors/" + image,
                                   program.folder().native() + "data/actors/" + image);
    }
}

// The game itself, writing to a report file where the ship and the rock are at the two
// screenshots and, at the last frame, how the level ended and how many boxes appeared.
class LevelRunGame : public CGameImplementation {
public:
    explicit LevelRunGame(const std::string& reportPath)
        : report(std::fopen(reportPath.c_str(), "w")) {}
    ~LevelRunGame() override { std::fclose(report); }

    void onFrame() override {
        ++frame;
        if (frame == kEarlyShot || frame == kLateShot) {
            tell("ship", getNodeByName("mad_ship"));
            tell("rock", getNodeByName("rock"));
        }
        if (frame == kLastFrame) {
            CScriptHost& scripting = getEngine().getScripting();
            std::fprintf(report, "good %d\nbad %d\nboxes %d\n",
                         scripting.callScriptCode("return ::levelsWon;").toInt(),
                         scripting.callScriptCode("return ::levelsLost;").toInt(), boxes);
            std::fflush(report);
        }
    }
    int boxes = 0;

private:
    void tell(const std::string& what, CNodeBasement* node) {
        irr::core::vector3df at = node ? node->getAbsolutePosition() : irr::core::vector3df(999);
        std::fprintf(report, "%s@%d %.3f %.3f\n", what.c_str(), frame, at.X, at.Y);
    }
    std::FILE* report;
    int frame = 0;
};

std::string runIni(const std::string& early, const std::string& late) {
    return TestProgram::defaultGameIni() + "ExitAfterFrames=" + std::to_string(kLastFrame + 1) +
           "\nFixedFrameTime=" + std::to_string(kFrameTime) +
           "\nScreenshotAt=" + std::to_string(kEarlyShot) + ":" + early + "," +
           std::to_string(kLateShot) + ":" + late + "\n";
}

} // namespace

TEST(LevelRun, ShipFliesBothWavesAHolePullsTheRockAndTheLevelIsWonOnce) {
    TestProgram shots;
    const std::string early = shots.folder().native() + "early.png";
    const std::string late = shots.folder().native() + "late.png";
    const std::string reportPath = shots.folder().native() + "report.txt";
    TestProgram program(runIni(early, late));
    writeExample(program);
    EXPECT_EXIT(
        {
            auto* game = new LevelRunGame(reportPath);
            setMessageBoxHook([game](const std::string& text, const std::string&, int) {
                std::fprintf(stderr, "box: %s\n", text.c_str());
                ++game->boxes;
                return 1;
            });
            runTestGame(game);
            exit(0);
        },
        testing::ExitedWithCode(0), "");
    auto report = readReportFile(reportPath);
    for (const char* key : {"ship@60", "ship@150", "rock@60", "rock@150"}) {
        ASSERT_EQ(report[key].size(), 2u) << key;
    }
    // The ship is on its path (the spline swings a little outside the points ±16 by ±10) and has
    // moved on between the shots.
    for (const char* key : {"ship@60", "ship@150"}) {
        EXPECT_LE(std::abs(report[key][0]), 20.0f) << key;
        EXPECT_LE(std::abs(report[key][1]), 15.0f) << key;
    }
    EXPECT_GT(std::hypot(report["ship@150"][0] - report["ship@60"][0],
                         report["ship@150"][1] - report["ship@60"][1]),
              5.0f);
    // The rock starts at x -8 and falls towards the hole at x 2.
    EXPECT_LT(report["rock@60"][0], report["rock@150"][0] - 1.0f);
    EXPECT_NEAR(report["rock@150"][1], 4.0f, 1.0f);
    EXPECT_EQ(report["good"], std::vector<float>{1});
    EXPECT_EQ(report["bad"], std::vector<float>{0});
    EXPECT_EQ(report["boxes"], std::vector<float>{0});
    keepScreenshot(early, "level_run_early.png");
    keepScreenshot(late, "level_run_late.png");
}
