// What the first level shows besides its objects, played from the game's real data: the health
// bars, the energy gauge and the first-fire tutorial. The bars stay hidden until an object is
// hit, the gauge shows the energy that is really left, and the tutorial's note leaves the way of
// the ship's shots and the station in sight.

#include "bundled_level_run.h"
#include "support/kept_screenshot.h"
#include "support/test_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

const int kFrameTime = 20;

// The first level's station and the spots its ship's shots start from (scene units).
const float kStationX = 13;
const float kStationY = -7;
const float kStationRadius = 1.5f;
const float kFireSpots[][2] = {{-3, 8}, {3, 8}, {-6, 10}};
// Room a player needs beside a shot's way to drop a hole there.
const float kRoomBesideTheWay = 3;

std::string at(int frame) {
    return "@" + std::to_string(frame);
}

BundledLevelRun levelOneRun(int frames, const std::vector<int>& probes) {
    BundledLevelRun run;
    run.level = "level1";
    run.frames = frames;
    run.frameTime = kFrameTime;
    run.probeFrames = probes;
    return run;
}

float pointToBox(float px, float py, const std::vector<float>& box) {
    const float dx = std::max({box[0] - px, 0.0f, px - box[2]});
    const float dy = std::max({box[1] - py, 0.0f, py - box[3]});
    return std::hypot(dx, dy);
}

// How far the segment from (ax, ay) to (bx, by) stays from the box (left, bottom, right, top);
// 0 when it crosses it. The distance to a box changes along a line with one minimum, which a
// ternary search finds.
float segmentToBox(float ax, float ay, float bx, float by, const std::vector<float>& box) {
    auto along = [&](float t) { return pointToBox(ax + (bx - ax) * t, ay + (by - ay) * t, box); };
    float low = 0;
    float high = 1;
    for (int step = 0; step < 60; ++step) {
        const float a = low + (high - low) / 3;
        const float b = high - (high - low) / 3;
        if (along(a) < along(b)) {
            high = b;
        } else {
            low = a;
        }
    }
    return along((low + high) / 2);
}

TEST(LevelHud, HealthBarsStayHiddenUntilAnObjectIsHit) {
    TestProgram shots;
    // The ship's first shot, let through, hits the station about 14 s into the level.
    const std::vector<int> early = {5, 20, 60, 120, 300};
    const int afterTheHit = 760;
    std::vector<int> probes = early;
    probes.push_back(afterTheHit);
    BundledLevelRun run = levelOneRun(afterTheHit + 10, probes);
    run.shotFrame = 60;
    run.shotPath = shots.folder().native() + "start.png";
    auto report = runBundledLevel(run);

    EXPECT_EQ(report["boxes"], std::vector<float>{0});
    for (int frame : early) {
        EXPECT_EQ(report["bars" + at(frame)], std::vector<float>{0}) << "frame " << frame;
    }
    EXPECT_EQ(report["bars" + at(afterTheHit)], std::vector<float>{1});
    keepScreenshot(run.shotPath, "level1_start_without_bars.png");
}

TEST(LevelHud, TheEnergyGaugeShowsTheEnergyLeftRightAfterTwoQuickHoles) {
    TestProgram shots;
    // Two left clicks a tenth of a second apart on an empty corner, where the aimer waits
    // already: each hole costs 0.49 of the full energy.
    const std::string point = "64 432";
    BundledLevelRun run = levelOneRun(260, {148, 162, 170, 185, 210, 250});
    run.replay = "140 mouse move " + point + "\n150 mouse left-down " + point +
                 " buttons=1\n152 mouse left-up " + point + "\n155 mouse left-down " + point +
                 " buttons=1\n157 mouse left-up " + point + "\n";
    run.shotFrame = 170;
    run.shotPath = shots.folder().native() + "gauge.png";
    auto report = runBundledLevel(run);

    EXPECT_EQ(report["boxes"], std::vector<float>{0});
    ASSERT_EQ(report["energy" + at(148)].size(), 3u);
    EXPECT_FLOAT_EQ(report["energy" + at(148)][0], 1);
    // Both holes were made: the energy is nearly gone, and the gauge says so at once and while
    // the energy comes back.
    ASSERT_EQ(report["energy" + at(162)].size(), 3u);
    EXPECT_LT(report["energy" + at(162)][0], 0.2f);
    for (int frame : {162, 170, 185, 210, 250}) {
        const std::vector<float>& energy = report["energy" + at(frame)];
        ASSERT_EQ(energy.size(), 3u) << "frame " << frame;
        EXPECT_EQ(energy[2], energy[1]) << "frame " << frame << ", energy " << energy[0];
    }
    keepScreenshot(run.shotPath, "level1_gauge_after_two_holes.png");
}

TEST(LevelHud, TheFirstFireTutorialLeavesTheShotsWayAndTheStationInSight) {
    TestProgram shots;
    // The ship fires first 8 s into the level; the note stays 8 s.
    const int shown = 470;
    BundledLevelRun run = levelOneRun(shown + 10, {300, shown});
    run.shotFrame = shown;
    run.shotPath = shots.folder().native() + "tutorial.png";
    auto report = runBundledLevel(run);

    EXPECT_EQ(report["boxes"], std::vector<float>{0});
    EXPECT_TRUE(report["note" + at(300)].empty()) << "no note before the first shot";
    const std::vector<float>& note = report["note" + at(shown)];
    ASSERT_EQ(note.size(), 4u);
    // On the screen (40 by 30 units), so all of its text can be read.
    EXPECT_GT(note[0], -20.5f);
    EXPECT_GT(note[1], -15.5f);
    EXPECT_LT(note[2], 20.5f);
    EXPECT_LT(note[3], 15.5f);
    EXPECT_GT(pointToBox(kStationX, kStationY, note), kStationRadius + kRoomBesideTheWay);
    for (const auto& spot : kFireSpots) {
        EXPECT_GT(segmentToBox(spot[0], spot[1], kStationX, kStationY, note), kRoomBesideTheWay)
            << "shot from " << spot[0] << ", " << spot[1];
    }
    keepScreenshot(run.shotPath, "level1_tutorial.png");
}

} // namespace
