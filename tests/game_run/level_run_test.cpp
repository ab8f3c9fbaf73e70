// The authors' guide's example game (docs/example) played as it is, unattended, on the virtual
// display, from its own folder with nothing of the bundled game: from the main menu into the level
// and out through the result screen. Dropping a black hole in the path of the ship's shot saves
// the station and wins the level; without it the shot destroys the station and the level is lost.
// Screenshots along the way are kept for looking at.

#include "core/vellumengine.h"
#include "gameimplementation.h"
#include "platform/message_box.h"
#include "scene/node_base.h"
#include "scene/node_utilities.h"
#include "script/module_scripting.h"
#include "support/kept_screenshot.h"
#include "support/report_file.h"
#include "support/temporary_folder.h"
#include "support/test_game.h"
#include "utils/debug.h"
#include "utils/utils_fs.h"

#include <gtest/gtest.h>

#include <algorithm>
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
const int kFrameLimit = 700;
const char* const kDialogs[] = {"main_menu", "example_level", "level_won", "level_lost"};

// Clicks at window pixels (800 by 600; the screen's 40 by 30 units are 20 pixels each, and a
// dialog at depth -1.5 is drawn larger by a little less than a tenth). Each click moves the
// pointer first, since a button takes the position of the last move, and keeps the button down
// for two frames.
std::string click(int frame, int x, int y, const std::string& button) {
    const std::string mask = button == "left" ? "1" : "2";
    std::ostringstream text;
    text << frame << " mouse move " << x << " " << y << "\n"
         << frame + 1 << " mouse " << button << "-down " << x << " " << y << " buttons=" << mask
         << "\n"
         << frame + 3 << " mouse " << button << "-up " << x << " " << y << "\n";
    return text.str();
}

const int kPlayClick = 80;
const int kHoleClick = 120;
// The ship's shot flies from the fire spot straight at the station, unless something pulls it.
const float kFireSpotX = -6;
const float kFireSpotY = 10;
const float kStationX = 12;
const float kStationY = -8;
// Where the black hole goes: scene (4, 2.5), 1.77 units beside the shot's straight way.
const float kHoleX = 4;
const float kHoleY = 2.5f;

std::string playMenu() {
    return click(kPlayClick, 400, 290, "left");
}

// Plays the level with a black hole and leaves by the won screen's Quit button.
std::string winningReplay() {
    return playMenu() + click(kHoleClick, 480, 250, "right") + click(520, 486, 343, "left");
}

// Lets the shot through, goes back to the main menu from the lost screen and quits there.
std::string losingReplay() {
    return playMenu() + click(420, 314, 343, "left") + click(450, 400, 340, "left");
}

std::string repositoryPath(const std::string& relative) {
    const std::string source = __FILE__;
    return source.substr(0, source.rfind("tests/game_run/")) + relative;
}

// A game folder, as "-game" chooses it, holding a copy of the example (its data folders and
// game.ini, with the keys of an unattended run in front, so that they win over the example's own)
// and a "Profile" folder that keeps the player's files inside.
class ExampleProgram {
public:
    ExampleProgram(const std::string& replay, const std::string& screenshots) {
        std::filesystem::copy(repositoryPath("docs/example"), folder.native(),
                              std::filesystem::copy_options::recursive);
        std::ifstream ini(repositoryPath("docs/example/game.ini"));
        std::stringstream exampleIni;
        exampleIni << ini.rdbuf();
        folder.write("replay.txt", replay);
        folder.write("game.ini", "SoundDevice=0\nExitAfterFrames=" + std::to_string(kFrameLimit) +
                                     "\nFixedFrameTime=" + std::to_string(kFrameTime) +
                                     "\nInputReplay=" + folder.native() + "replay.txt" +
                                     "\nScreenshotAt=" + screenshots + "\n" + exampleIni.str());
        folder.write("Profile/.keep", "");
        setGameFolder(folder.engine());
        setDebugLogFolder(folder.engine());
    }
    const TemporaryFolder folder;
};

irr::core::vector3df positionOf(irr::scene::ISceneNode* node) {
    return node ? node->getAbsolutePosition() : irr::core::vector3df(999);
}

// The first node below `node` whose name holds `part` (sprites are named after their image).
irr::scene::ISceneNode* findNamed(irr::scene::ISceneNode* node, const std::string& part) {
    if (std::string(node->getName()).find(part) != std::string::npos) {
        return node;
    }
    for (irr::scene::ISceneNode* child : node->getChildren()) {
        if (irr::scene::ISceneNode* found = findNamed(child, part)) {
            return found;
        }
    }
    return nullptr;
}

// The game itself, noting in a report file the first frame each dialog was open and how often it
// opened, the first frame and place of a black hole, the frame the station vanished with the
// ship's shot's place then, and at the end where the shot was last seen, how near it came to the
// hole, the level results the scripts counted and the frames run.
class ExampleRunGame : public CGameImplementation {
public:
    explicit ExampleRunGame(const std::string& reportPath)
        : report(std::fopen(reportPath.c_str(), "w")) {}
    ~ExampleRunGame() override { std::fclose(report); }

    void onFrame() override {
        ++frame;
        CVellumEngine& engine = getEngine();
        for (const char* dialog : kDialogs) {
            const bool open = engine.openDialogs().isDialogOpen(dialog) != 0;
            if (open && !wasOpen[dialog]) {
                std::fprintf(report, "open_%s %d\n", dialog, frame);
            }
            wasOpen[dialog] = open;
        }
        irr::scene::ISceneNode* hole =
            findNamed(engine.getSceneManager()->getRootSceneNode(), "black_hole.png");
        if (hole && !holeSeen) {
            irr::core::vector3df at = hole->getAbsolutePosition();
            std::fprintf(report, "hole %d %.3f %.3f\n", frame, at.X, at.Y);
            holeSeen = true;
        }
        if (CNodeBasement* shot = getNodeByName("shot")) {
            shotAt = positionOf(shot);
            shotLastFrame = frame;
            if (hole) {
                closestToHole = std::min(closestToHole, shotAt.getDistanceFrom(positionOf(hole)));
            }
        }
        const bool station =
            findNamed(engine.getSceneManager()->getRootSceneNode(), "target.png") != nullptr;
        if (stationSeen && !station) {
            std::fprintf(report, "station_gone %d %.3f %.3f\n", frame, shotAt.X, shotAt.Y);
        }
        stationSeen = station;
        if (engine.getStage() == STAGE_RUNNING) {
            CScriptHost& scripting = engine.getScripting();
            won = scripting.callScriptCode("return ::levelsWon;").toInt();
            lost = scripting.callScriptCode("return ::levelsLost;").toInt();
        }
    }
    void onExit() override {
        std::fprintf(report,
                     "shot %d %.3f %.3f\nclosest %.3f\nwon %d\nlost %d\nframes %d\nboxes %d\n",
                     shotLastFrame, shotAt.X, shotAt.Y, closestToHole, won, lost, frame, boxes);
        std::fflush(report);
        CGameImplementation::onExit();
    }
    int boxes = 0;

private:
    std::FILE* report;
    int frame = 0;
    std::map<std::string, bool> wasOpen;
    bool holeSeen = false;
    bool stationSeen = false;
    irr::core::vector3df shotAt = irr::core::vector3df(999);
    int shotLastFrame = 0;
    float closestToHole = 999;
    int won = -1;
    int lost = -1;
};

// Runs the example with the replay in a child process and returns its report.
std::map<std::string, std::vector<float>> playExample(const std::string& replay,
                                                      const std::string& screenshots) {
    TemporaryFolder reportFolder;
    const std::string reportPath = reportFolder.native() + "report.txt";
    ExampleProgram program(replay, screenshots);
    EXPECT_EXIT(
        {
            auto* game = new ExampleRunGame(reportPath);
            setMessageBoxHook([game](const std::string& text, const std::string&, int) {
                std::fprintf(stderr, "box: %s\n", text.c_str());
                ++game->boxes;
                return 1;
            });
            runTestGame(game);
            exit(0);
        },
        testing::ExitedWithCode(0), "");
    // Every text the run looked up was there: a missing key would have been appended.
    for (const char* strings : {"data_en/strings.lng", "data/levels/example/strings.lng"}) {
        std::ifstream original(repositoryPath("docs/example/") + strings);
        std::stringstream text;
        text << original.rdbuf();
        EXPECT_EQ(program.folder.read(strings), text.str()) << strings;
    }
    return readReportFile(reportPath);
}

// The report as its lines, shown with any failed check.
std::string reportText(const std::map<std::string, std::vector<float>>& report) {
    std::ostringstream text;
    for (const auto& [name, numbers] : report) {
        text << "\n" << name;
        for (float number : numbers) {
            text << " " << number;
        }
    }
    return text.str();
}

float distance(float x1, float y1, float x2, float y2) {
    return std::hypot(x2 - x1, y2 - y1);
}

// How far the point (x, y) lies from the line through (x1, y1) and (x2, y2).
float distanceFromLine(float x, float y, float x1, float y1, float x2, float y2) {
    return std::fabs((x2 - x1) * (y1 - y) - (x1 - x) * (y2 - y1)) / distance(x1, y1, x2, y2);
}

} // namespace

TEST(ExampleRun, ABlackHoleSwallowsTheShotTheLevelIsWonAndQuitEndsTheGame) {
    TemporaryFolder shots;
    const std::string level = shots.native() + "level.png";
    const std::string won = shots.native() + "won.png";
    auto report = playExample(winningReplay(),
                              "60:" + shots.native() + "menu.png,200:" + level + ",510:" + won);
    SCOPED_TRACE(reportText(report));
    // Each screen opened once, in the order played, and nothing went wrong on the way.
    ASSERT_EQ(report["open_main_menu"].size(), 1u);
    ASSERT_EQ(report["open_example_level"].size(), 1u);
    ASSERT_EQ(report["open_level_won"].size(), 1u);
    EXPECT_LT(report["open_main_menu"][0], kPlayClick);
    EXPECT_GT(report["open_example_level"][0], kPlayClick);
    EXPECT_LT(report["open_example_level"][0], kHoleClick);
    EXPECT_TRUE(report["open_level_lost"].empty());
    EXPECT_EQ(report["boxes"], std::vector<float>{0});
    // The hole appears where the right click was, once the aimer has travelled there.
    ASSERT_EQ(report["hole"].size(), 3u);
    EXPECT_GT(report["hole"][0], kHoleClick);
    EXPECT_LT(report["hole"][0], kHoleClick + 50);
    EXPECT_NEAR(report["hole"][1], kHoleX, 0.5f);
    EXPECT_NEAR(report["hole"][2], kHoleY, 0.5f);
    // The shot, aimed at the station, was pulled off its way into the hole's core and went
    // there.
    ASSERT_EQ(report["shot"].size(), 3u);
    ASSERT_EQ(report["closest"].size(), 1u);
    EXPECT_LT(report["closest"][0],
              distanceFromLine(kHoleX, kHoleY, kFireSpotX, kFireSpotY, kStationX, kStationY) -
                  0.5f);
    EXPECT_LT(distance(report["shot"][1], report["shot"][2], kHoleX, kHoleY), 1.5f);
    EXPECT_LT(report["shot"][0], report["open_level_won"][0]);
    EXPECT_TRUE(report["station_gone"].empty());
    EXPECT_EQ(report["won"], std::vector<float>{1});
    EXPECT_EQ(report["lost"], std::vector<float>{0});
    // Quit on the won screen ended the game before the frame limit.
    ASSERT_EQ(report["frames"].size(), 1u);
    EXPECT_GT(report["frames"][0], report["open_level_won"][0]);
    EXPECT_LT(report["frames"][0], kFrameLimit);
    keepScreenshot(shots.native() + "menu.png", "example_menu.png");
    keepScreenshot(level, "example_level_hole.png");
    keepScreenshot(won, "example_won.png");
}

TEST(ExampleRun, WithoutAHoleTheShotDestroysTheStationAndTheMenuFollowsTheLostScreen) {
    TemporaryFolder shots;
    const std::string lost = shots.native() + "lost.png";
    auto report = playExample(losingReplay(), "410:" + lost);
    SCOPED_TRACE(reportText(report));
    ASSERT_EQ(report["open_level_lost"].size(), 1u);
    EXPECT_TRUE(report["open_level_won"].empty());
    EXPECT_TRUE(report["hole"].empty());
    EXPECT_EQ(report["boxes"], std::vector<float>{0});
    // The shot destroyed the station (it was beside it when the station went), and the level
    // was lost.
    ASSERT_EQ(report["station_gone"].size(), 3u);
    EXPECT_LT(report["station_gone"][0], report["open_level_lost"][0]);
    EXPECT_LT(distance(report["station_gone"][1], report["station_gone"][2], kStationX, kStationY),
              3.0f);
    EXPECT_EQ(report["won"], std::vector<float>{0});
    EXPECT_EQ(report["lost"], std::vector<float>{1});
    // "Main menu" opened the menu a second time, and its Quit ended the game.
    ASSERT_EQ(report["open_main_menu"].size(), 2u);
    EXPECT_GT(report["open_main_menu"][1], report["open_level_lost"][0]);
    ASSERT_EQ(report["frames"].size(), 1u);
    EXPECT_LT(report["frames"][0], kFrameLimit);
    keepScreenshot(lost, "example_lost.png");
}
