#include "core/game_client.h"
#include "core/server_game.h"
#include "core/vellumengine.h"
#include "scene/node_helpers.h"
#include "scene/node_utilities.h"
#include "support/kept_screenshot.h"
#include "support/pixel_test_device.h"
#include "support/test_game.h"
#include "support/test_program.h"
#include "support/window_focus.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

// Frames (of 20 ms each) at which the game moves the window's focus.
const int kFocusFrame = 60;
const int kBlurFrame = 90;
const int kRefocusFrame = 150;
const int kLastFrame = 250;
// Frames whose pictures are saved: while preloading, once it is done, paused, and running again.
const int kShotFrames[] = {15, 25, 55, 148, 249};
// Few enough files to be preloaded one per frame.
const int kTextFiles = 20;

// A loading screen: a slider bound to the engine's preload progress. It writes down what it sees
// after each frame and moves the window's focus at the frames above.
class LoadingGame : public TestGame {
public:
    explicit LoadingGame(std::string reportPath) : reportPath(std::move(reportPath)) {}

    void onStart() override {
        // The window starts with the focus whatever tests ran before on the same display.
        setWindowFocus(getEngine().getDevice(), true);
        CSlider* slider =
            new CSlider(irr::core::vector3df(0, 0, 0), getEngine().preloadProgressValue(),
                        resolveDataPath("gui\\loading_bg.spr"), resolveDataPath("gui\\loading.spr"),
                        10, 10, nullptr, false);
        slider->setFollowRate(1000000);
    }

    void onFrame() override {
        CVellumEngine& engine = getEngine();
        ++frame;
        if (frame == kFocusFrame || frame == kRefocusFrame) {
            setWindowFocus(engine.getDevice(), true);
        } else if (frame == kBlurFrame) {
            setWindowFocus(engine.getDevice(), false);
        }
        report << frame << ' ' << engine.getStage() << ' ' << engine.getPreloadProgress() << ' '
               << engine.getPauseLevel() << ' ' << (getNodeByName("pause_fader") != nullptr)
               << '\n';
    }

    void onExit() override {
        std::ofstream out(reportPath);
        out << report.str();
    }

private:
    std::string reportPath;
    std::ostringstream report;
    int frame = 0;
};

// One line of the report.
struct FrameState {
    int frame;
    int stage;
    float progress;
    int pauseLevel;
    int faderShown;
};

std::vector<FrameState> readReport(const std::string& path) {
    std::vector<FrameState> states;
    std::ifstream in(path);
    FrameState state;
    while (in >> state.frame >> state.stage >> state.progress >> state.pauseLevel >>
           state.faderShown) {
        states.push_back(state);
    }
    return states;
}

// The first frame from `from` on whose state matches, or 0.
template <typename Match>
int firstFrame(const std::vector<FrameState>& states, int from, Match match) {
    for (const FrameState& state : states) {
        if (state.frame >= from && match(state)) {
            return state.frame;
        }
    }
    return 0;
}

bool isOrange(irr::video::SColor colour) {
    return std::abs(static_cast<int>(colour.getRed()) - 200) < 30 &&
           std::abs(static_cast<int>(colour.getGreen()) - 100) < 30 &&
           std::abs(static_cast<int>(colour.getBlue()) - 50) < 30;
}

// The orange pixels along the middle row of the bar (640 by 480 window, 16 pixels per unit: the
// bar spans x 240..400).
int orangeAcrossTheBar(irr::video::IImage* shot) {
    int count = 0;
    for (irr::u32 x = 200; x < 440; ++x) {
        count += isOrange(shot->getPixel(x, 240)) ? 1 : 0;
    }
    return count;
}

TEST(PreloadRun, PreloadsOneFilePerFrameWhileTheSliderFillsThenPausesWithTheWindowFocus) {
    TemporaryFolder shots;
    std::string ini = TestProgram::defaultGameIni() +
                      "ExitAfterFrames=" + std::to_string(kLastFrame) +
                      "\nFixedFrameTime=20\nScreenshotAt=";
    for (int frame : kShotFrames) {
        ini += format("%i:%sframe%03i.png,", frame, shots.engine().c_str(), frame);
    }
    TestProgram program(ini + "\n");
    program.copyTestImage("orange_16.png", "gui/orange.png");
    program.copyTestImage("grey_16.png", "gui/grey.png");
    // The fill lies in front of the background, as in the bundled game: at equal depth their order
    // would follow the textures' addresses.
    program.writeData("gui/loading.spr", "-Texture:orange.png\n-Size:w1 h0.1\n-Position:z-0.01\n");
    program.writeData("gui/loading_bg.spr", "-Texture:grey.png\n-Size:w1 h0.1\n");
    for (int file = 0; file < kTextFiles; ++file) {
        program.writeData(format("texts/t%02i.txt", file), "text");
    }
    std::string reportPath = shots.native() + "report.txt";

    EXPECT_EXIT(
        {
            runTestGame(new LoadingGame(reportPath));
            exit(0);
        },
        testing::ExitedWithCode(0), "");

    std::vector<FrameState> states = readReport(reportPath);
    ASSERT_EQ(states.size(), static_cast<size_t>(kLastFrame));
    // Every data file: the texts, the slider's four files, the engine's two images, the strings.
    const int items = kTextFiles + 4 + 2 + 1;
    for (int frame = 1; frame <= items; ++frame) {
        const FrameState& state = states[frame - 1];
        EXPECT_EQ(state.stage, STAGE_PRELOADING) << "frame " << frame;
        EXPECT_NEAR(state.progress, static_cast<float>(frame) / items, 1e-4f) << "frame " << frame;
    }
    EXPECT_EQ(states[items].stage, STAGE_RUNNING);

    int paused =
        firstFrame(states, kBlurFrame, [](const FrameState& s) { return s.pauseLevel == 2; });
    EXPECT_GT(paused, kBlurFrame);
    EXPECT_LE(paused, kBlurFrame + 26);
    EXPECT_EQ(states[paused - 1].faderShown, 1);
    EXPECT_EQ(firstFrame(states, 1, [](const FrameState& s) { return s.pauseLevel != 0; }), paused);
    int resumed =
        firstFrame(states, kRefocusFrame, [](const FrameState& s) { return s.pauseLevel < 2; });
    EXPECT_GT(resumed, kRefocusFrame);
    EXPECT_LE(resumed, kRefocusFrame + 26);
    // The fader fades out (level 1) before the game runs on.
    EXPECT_EQ(states[resumed - 1].pauseLevel, 1);
    EXPECT_EQ(states.back().pauseLevel, 0);
    EXPECT_EQ(states.back().faderShown, 0);

    irr::IrrlichtDevice* reader = irr::createDevice(irr::video::EDT_NULL);
    std::vector<int> orange;
    std::vector<irr::video::SColor> centre;
    for (int frame : kShotFrames) {
        std::string path = format("%sframe%03i.png", shots.native().c_str(), frame);
        irr::video::IImage* shot = reader->getVideoDriver()->createImageFromFile(path.c_str());
        ASSERT_NE(shot, nullptr) << path;
        keepScreenshot(path, format("preload_run_frame%03i.png", frame));
        orange.push_back(orangeAcrossTheBar(shot));
        centre.push_back(shot->getPixel(320, 240));
        shot->drop();
    }
    reader->drop();
    // The bar steps every 10 frames (at frames 11 and 21 it shows the progress of the frame
    // before), then fills.
    EXPECT_NEAR(orange[0], 160 * 10 / items, 2);
    EXPECT_NEAR(orange[1], 160 * 20 / items, 2);
    EXPECT_NEAR(orange[2], 160, 2);
    // Paused: the fader darkens the screen; running again: the full bar shows.
    EXPECT_LT(centre[3].getRed() + centre[3].getGreen() + centre[3].getBlue(), 60u);
    EXPECT_NEAR(orange[4], 160, 2);
}

} // namespace
