// Bundled levels played with recorded clicks and won. The first level: a right click drops a
// black hole beside a small rock, which falls in and is swallowed; left clicks drop white holes in
// front of the station, which turn the ship's shots away. The last level: every shot meets a
// hole on its way, a black hole for a single shot (swallowed) and a white hole for a fan of three
// (a black hole would pull the fan's outer shots onto the station).

#include "bundled_level_run.h"
#include "support/kept_screenshot.h"
#include "support/test_program.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const int kFrameTime = 20;

// A click at the screen point showing scene point (x, y) on the 640 by 480 test screen, where a
// scene unit in the plane of the objects is 16 pixels and y grows upwards.
std::string click(int frame, const char* button, float x, float y) {
    const std::string at = std::to_string(static_cast<int>(320 + 16 * x)) + " " +
                           std::to_string(static_cast<int>(240 - 16 * y));
    return std::to_string(frame - 10) + " mouse move " + at + "\n" + std::to_string(frame) +
           " mouse " + button + "-down " + at + " buttons=" + (button[0] == 'l' ? "1" : "2") +
           "\n" + std::to_string(frame + 2) + " mouse " + button + "-up " + at + "\n";
}

struct Click {
    int frame;
    const char* button;
    float x;
    float y;
};

std::string clicks(const std::vector<Click>& list) {
    std::string text;
    for (const Click& each : list) {
        text += click(each.frame, each.button, each.x, each.y);
    }
    return text;
}

// The level played for `frames` frames with the clicks, a screenshot at `shotFrame`.
BundledLevelRun defendedRun(const TestProgram& shots, const std::string& level, int frames,
                            int shotFrame, const std::string& replay) {
    BundledLevelRun run;
    run.level = level;
    run.frames = frames;
    run.frameTime = kFrameTime;
    run.shotFrame = shotFrame;
    run.shotPath = shots.folder().native() + level + "_defended.png";
    run.replay = replay;
    return run;
}

TEST(DefendedLevel, HolesSwallowARockAndTurnEveryShotAwaySoTheFirstLevelIsWonOnce) {
    TestProgram shots;
    // The small rock on the left lies at (-15, 3), the station at (13, -7); the three shots come
    // from the top at about 8, 25 and 28 s and need about 5.5 s to arrive.
    // The level lasts 40 s from its opening in the first frames.
    BundledLevelRun run = defendedRun(shots, "level1", 2200, 480,
                                      clicks({{300, "right", -12, 1},
                                              {450, "left", 10, -4},
                                              {1270, "left", 10, -4},
                                              {1520, "left", 10, -4}}));
    auto report = runBundledLevel(run);

    EXPECT_EQ(report["boxes"], std::vector<float>{0});
    // Three rocks at the start; the black hole swallowed one.
    EXPECT_EQ(report["rocks"], std::vector<float>{2});
    EXPECT_EQ(report["target"], std::vector<float>{1});
    EXPECT_EQ(report["good"], std::vector<float>{1});
    EXPECT_EQ(report["bad"], std::vector<float>{0});
    keepScreenshot(run.shotPath, "level1_defended.png");
}

TEST(DefendedLevel, AHoleOnTheWayOfEveryShotSavesTheStationAndTheLastLevelIsWonOnce) {
    TestProgram shots;
    // The station stands at (0, -1); each hole lies 5 units from it towards the spot the shot
    // comes from, dropped a third of a second after the shot. The level lasts 78 s.
    BundledLevelRun run = defendedRun(shots, "level5", 4100, 720,
                                      clicks({{345, "right", -1.8f, 3.7f},
                                              {595, "right", 4.5f, 1.2f},
                                              {695, "left", 5.0f, -1.2f},
                                              {1295, "right", 0.8f, -5.9f},
                                              {1545, "right", -4.6f, -3.0f},
                                              {1695, "right", -5.0f, -0.1f},
                                              {2345, "left", -3.2f, 2.9f},
                                              {2495, "right", 0.0f, 4.0f},
                                              {2795, "right", 4.8f, 0.1f},
                                              {3245, "right", 3.4f, -4.7f},
                                              {3395, "left", 0.0f, -6.0f},
                                              {3545, "right", -3.4f, -4.7f},
                                              {3645, "right", -4.9f, -2.1f}}));
    auto report = runBundledLevel(run);

    EXPECT_EQ(report["boxes"], std::vector<float>{0});
    EXPECT_EQ(report["target"], std::vector<float>{1});
    EXPECT_EQ(report["good"], std::vector<float>{1});
    EXPECT_EQ(report["bad"], std::vector<float>{0});
    keepScreenshot(run.shotPath, "level5_defended.png");
}

} // namespace
