// Every bundled level, from the game's real data, played unattended for a minute of game time:
// the level opens without a message box or script error, its ship flies on screen, and left
// alone (no hole dropped) the ship's shots destroy the station, so the level is lost, once.

#include "bundled_level_run.h"
#include "support/kept_screenshot.h"
#include "support/test_program.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

const int kFrameTime = 20;
const int kMinute = 60000 / kFrameTime;
const int kFiveSeconds = 5000 / kFrameTime;

class BundledLevel : public testing::TestWithParam<int> {};

TEST_P(BundledLevel, PlaysAMinuteWithoutErrorsAndIsLostWhenLeftAlone) {
    const std::string level = "level" + std::to_string(GetParam());
    TestProgram shots;
    BundledLevelRun run;
    run.level = level;
    run.frames = kMinute;
    run.frameTime = kFrameTime;
    run.shotFrame = kFiveSeconds;
    run.shotPath = shots.folder().native() + "five_seconds.png";
    auto report = runBundledLevel(run);

    EXPECT_EQ(report["boxes"], std::vector<float>{0});
    // Five seconds in: the ship is on the screen (40 by 30 units around the origin) and the
    // station stands.
    const std::string ship = "ship@" + std::to_string(kFiveSeconds);
    ASSERT_EQ(report[ship].size(), 2u);
    EXPECT_LT(std::abs(report[ship][0]), 20.0f);
    EXPECT_LT(std::abs(report[ship][1]), 15.0f);
    EXPECT_EQ(report["target@" + std::to_string(kFiveSeconds)], std::vector<float>{1});
    // Nobody defends the station: it falls and the level is lost exactly once, never won.
    EXPECT_EQ(report["target"], std::vector<float>{0});
    EXPECT_EQ(report["bad"], std::vector<float>{1});
    EXPECT_EQ(report["good"], std::vector<float>{0});
    keepScreenshot(run.shotPath, level + "_5s.png");
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, BundledLevel, testing::Range(1, 6),
                         [](const testing::TestParamInfo<int>& info) {
                             return "level" + std::to_string(info.param);
                         });

} // namespace
