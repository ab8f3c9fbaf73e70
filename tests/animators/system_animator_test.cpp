#include "animator_fixture.h"

#include "animators/asystemanimators.h"
#include "animators/debug_overlay.h"
#include "input/focus_chain.h"
#include "platform/process.h"
#include "scene/node_text.h"
#include "support/test_program.h"
#include "support/window_focus.h"
#include "utils/system.h"
#include "utils/utils_lang.h"
#include "utils/utils_str.h"

#include <cstdio>

namespace {

// The engine over a program folder with data files, on the NULL driver, in the preloading stage.
class SystemAnimator : public AnimatorTest {
protected:
    void SetUp() override {
        AnimatorTest::SetUp();
        setProgramFolder(data.folder().engine());
        setDebugLogFolder(data.folder().engine());
        setLanguage("data_en");
        getEngine().setStage(STAGE_PRELOADING);
        getEngine().setPreloadProgress(0);
        // Preloading ends by compiling the scripts, which only the main loop's thread may do.
        getEngine().setMainThreadId(currentThreadId());
    }

    void TearDown() override {
        getEngine().rootNode() = nullptr;
        getEngine().forgetSceneNodes();
        getEngine().setPauseLevel(0, true);
        getEngine().setStage(STAGE_CREATED);
        getEngine().setMainThreadId(0);
        AnimatorTest::TearDown();
    }

    TestProgram data;
};

TEST_F(SystemAnimator, PreloadsOneFilePerFrameLanguageFolderFirstThenRuns) {
    data.writeData("b.txt", "b");
    data.writeData("a/c.txt", "c");
    data.folder().write("data_en/z.txt", "z");
    CSystemAnimator* system = new CSystemAnimator();
    const std::vector<std::string>& list = system->preloadList();
    std::string program = toLower(data.folder().engine());
    ASSERT_GE(list.size(), 4u);
    EXPECT_EQ(list[0], program + "data_en\\strings.lng");
    EXPECT_EQ(list[1], program + "data_en\\z.txt");
    EXPECT_EQ(list[2], program + "data\\a\\c.txt");
    EXPECT_EQ(list.back(), program + "data\\b.txt");
    attachAnimator(makeNode(), system);

    int count = static_cast<int>(list.size());
    for (int frame = 1; frame <= count; ++frame) {
        frameAt(kStart + frame * 12);
        EXPECT_FLOAT_EQ(getEngine().getPreloadProgress(), static_cast<float>(frame) / count);
        EXPECT_EQ(getEngine().getStage(), STAGE_PRELOADING);
    }
    frameAt(kStart + (count + 1) * 12);
    EXPECT_EQ(getEngine().getStage(), STAGE_RUNNING);
    EXPECT_EQ(system->getInterval(), CSystemAnimator::kRunningInterval);
    // What was preloaded is cached: the file may go.
    std::remove((data.folder().native() + "data/a/c.txt").c_str());
    std::string text;
    EXPECT_TRUE(readTextFile("a\\c.txt", text));
    EXPECT_EQ(text, "c");
}

TEST_F(SystemAnimator, LongPreloadListIsSpreadOverAFixedNumberOfFrames) {
    // 100 files and the folder's own three: four files per frame, done in 26 frames.
    for (int file = 0; file < 100; ++file) {
        data.writeData(format("texts/t%03i.txt", file), "text");
    }
    CSystemAnimator* system = new CSystemAnimator();
    const int count = static_cast<int>(system->preloadList().size());
    ASSERT_GT(count, 2 * CSystemAnimator::kPreloadFrames);
    attachAnimator(makeNode(), system);
    const int perFrame =
        (count + CSystemAnimator::kPreloadFrames - 1) / CSystemAnimator::kPreloadFrames;
    int frame = 0;
    while (getEngine().getStage() == STAGE_PRELOADING && frame <= count) {
        ++frame;
        frameAt(kStart + frame * 12);
        if (getEngine().getStage() == STAGE_PRELOADING) {
            EXPECT_FLOAT_EQ(getEngine().getPreloadProgress(),
                            std::min(1.0f, static_cast<float>(frame * perFrame) / count));
        }
    }
    EXPECT_LE(frame, CSystemAnimator::kPreloadFrames + 1);
    EXPECT_EQ(getEngine().getStage(), STAGE_RUNNING);
    std::string text;
    EXPECT_TRUE(readTextFile("texts\\t099.txt", text));
}

// The text nodes of the scene whose text holds the fragment.
std::vector<CTextNode*> textNodesWith(irr::scene::ISceneNode* node, const std::string& fragment) {
    std::vector<CTextNode*> found;
    if (auto* text = dynamic_cast<CTextNode*>(node)) {
        if (text->getText().find(fragment) != std::string::npos) {
            found.push_back(text);
        }
    }
    for (irr::scene::ISceneNode* child : node->getChildren()) {
        std::vector<CTextNode*> below = textNodesWith(child, fragment);
        found.insert(found.end(), below.begin(), below.end());
    }
    return found;
}

TEST_F(SystemAnimator, DebugOverlayTellsFrameRateAndTheNodeUnderTheCursor) {
    CNodeBasement* hovered = makeNode(nullptr, 4321);
    hovered->setName("hovered");
    getEngine().setFrameStatistics(57, "", 3, 4);
    getFocusChain().setUnderCursorId(4321);
    EXPECT_EQ(debugOverlayText(),
              "FPS=57, UnderCursorID=4321 (hovered)\nSwitches=3, trigs=4\nmodality=0\n");
    getFocusChain().setUnderCursorId(0);
    EXPECT_EQ(debugOverlayText(),
              "FPS=57, UnderCursorID=0 (null)\nSwitches=3, trigs=4\nmodality=0\n");
}

TEST_F(SystemAnimator, DebugOverlayIsShownOnTopWhileItsFlagIsSetAndHiddenOtherwise) {
    getEngine().setStage(STAGE_RUNNING);
    attachAnimator(makeNode(), new CSystemAnimator());
    getEngine().setFrameStatistics(57, "", 3, 4);
    // The overlay goes below the engine's root node.
    CNodeBasement* root = makeNode();
    getEngine().rootNode() = root;

    frameAt(kStart);
    EXPECT_TRUE(textNodesWith(root, "FPS=").empty());

    debugOverlay = 1;
    frameAt(kStart + 25);
    std::vector<CTextNode*> overlay = textNodesWith(root, "FPS=57");
    ASSERT_EQ(overlay.size(), 1u);
    EXPECT_EQ(overlay[0]->getText().rfind("<font-size:-2><font-face:alt><left>\nFPS=", 0), 0u);
    EXPECT_EQ(overlay[0]->getRenderOrder(), 17);
    EXPECT_TRUE(overlay[0]->isVisible());

    debugOverlay = 0;
    frameAt(kStart + 50);
    EXPECT_FALSE(overlay[0]->isVisible());
    // Shown again, it is the same node with the new figures.
    getEngine().setFrameStatistics(61, "", 3, 4);
    debugOverlay = 1;
    frameAt(kStart + 75);
    std::vector<CTextNode*> again = textNodesWith(root, "FPS=61");
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0], overlay[0]);
    EXPECT_TRUE(again[0]->isVisible());
    debugOverlay = 0;
}

TEST_F(SystemAnimator, EmptyDataFoldersRunFromTheFirstFrame) {
    for (const char* file : {"data_en/strings.lng", "data/gui/empty.png", "data/gui/black.png"}) {
        std::remove((data.folder().native() + file).c_str());
    }
    attachAnimator(makeNode(), new CSystemAnimator());
    frameAt(kStart);
    EXPECT_EQ(getEngine().getStage(), STAGE_RUNNING);
}

TEST_F(SystemAnimator, PreloadingWaitsForThePreloadStage) {
    getEngine().setStage(STAGE_STARTING);
    attachAnimator(makeNode(), new CSystemAnimator());
    framesFromTo(kStart, kStart + 100, 10);
    EXPECT_EQ(getEngine().getPreloadProgress(), 0.0f);
    EXPECT_EQ(getEngine().getStage(), STAGE_STARTING);
}

TEST_F(SystemAnimator, EachTickTakesLongerWhileTheGameIsPaused) {
    getEngine().setStage(STAGE_RUNNING);
    attachAnimator(makeNode(), new CSystemAnimator());
    getEngine().setPauseLevel(2, true);
    uint32_t before = getTicks();
    frameAt(kStart);
    EXPECT_GE(getTicks() - before, CSystemAnimator::kPausedSleep);
}

TEST_F(SystemAnimator, AWindowThatWasNeverActiveDoesNotPause) {
    getEngine().setStage(STAGE_RUNNING);
    attachAnimator(makeNode(), new CSystemAnimator());
    framesFromTo(kStart, kStart + 2000, 100);
    EXPECT_EQ(getEngine().getPauseLevel(), 0);
}

TEST_F(SystemAnimator, CollectsScriptGarbageWhenMoreThanTwoSecondsHavePassed) {
    getEngine().setStage(STAGE_RUNNING);
    squirrel::VM& vm = getEngine().getScripting().vm();
    auto makeCycle = [&vm] { vm.run("local a = {}; a.self <- a; ::cycle <- a.weakref();", "gc"); };
    // A weak reference in a table slot reads as its target, or null once that is freed.
    auto cycleAlive = [&vm] { return vm.run("return ::cycle != null;", "gc").toBool(); };
    attachAnimator(makeNode(), new CSystemAnimator());

    makeCycle();
    frameAt(kStart);
    EXPECT_TRUE(cycleAlive());
    frameAt(2001);
    EXPECT_FALSE(cycleAlive());

    makeCycle();
    frameAt(4001);
    EXPECT_TRUE(cycleAlive());
    frameAt(4002);
    EXPECT_FALSE(cycleAlive());
}

// A window on the virtual display whose focus the test moves.
class SystemAnimatorWindow : public testing::Test {
protected:
    void SetUp() override {
        device = irr::createDevice(irr::video::EDT_OPENGL, irr::core::dimension2du(320, 240));
        ASSERT_NE(device, nullptr);
        setLanguage("data_en");
        getEngine().setDeviceServices(device);
        game = new SpeedGame();
        getEngine().setClient(game);
        game->drop();
        timer = device->getTimer();
        timer->stop();
        getEngine().setStage(STAGE_RUNNING);
    }

    void TearDown() override {
        getEngine().forgetSceneNodes();
        getEngine().setPauseLevel(0, true);
        getEngine().setStage(STAGE_CREATED);
        getEngine().getRenderer().drainDeletionQueue();
        device->getSceneManager()->clear();
        getEngine().setClient(nullptr);
        getEngine().setDeviceServices(nullptr);
        timer->start();
        device->drop();
    }

    // A frame at the given time: the device takes its window messages, then the scene runs.
    void frameAt(irr::u32 time) {
        timer->setTime(time);
        device->run();
        getEngine().getRenderer().renderAll();
    }

    TestProgram data;
    irr::IrrlichtDevice* device = nullptr;
    SpeedGame* game = nullptr;
    irr::ITimer* timer = nullptr;
};

TEST_F(SystemAnimatorWindow, LosingFocusPausesWithinHalfASecondAndRegainingItResumes) {
    CNodeBasement* root =
        new CNodeBasement(device->getSceneManager()->getRootSceneNode(), device->getSceneManager(),
                          8001, irr::core::vector3df(), irr::core::dimension2df(1, 1));
    root->drop();
    attachAnimator(root, new CSystemAnimator());
    ASSERT_TRUE(setWindowFocus(device, true));
    frameAt(1000);
    ASSERT_TRUE(device->isWindowActive());
    EXPECT_EQ(getEngine().getPauseLevel(), 0);

    ASSERT_TRUE(setWindowFocus(device, false));
    frameAt(1100);
    frameAt(1400);
    EXPECT_EQ(getEngine().getPauseLevel(), 0);
    // Half a second after the last check.
    frameAt(1500);
    EXPECT_EQ(getEngine().getPauseLevel(), 2);
    CNodeBasement* fader = getNodeByName("pause_fader");
    ASSERT_NE(fader, nullptr);
    EXPECT_NE(fader->findAnimator("ALPH01", false), nullptr);

    ASSERT_TRUE(setWindowFocus(device, true));
    frameAt(2100);
    // The fader fades out before the game runs on.
    EXPECT_EQ(getEngine().getPauseLevel(), 1);
    EXPECT_NE(fader->findAnimator("SELDES", false), nullptr);
    for (irr::u32 time = 2150; time <= 3200; time += 50) {
        frameAt(time);
    }
    EXPECT_EQ(getNodeByName("pause_fader"), nullptr);
    EXPECT_EQ(getEngine().getPauseLevel(), 0);
}

} // namespace
