#include "core/game_client.h"
#include "core/vellumengine.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "support/message_box_recorder.h"
#include "support/test_program.h"
#include "utils/system.h"

#include <gtest/gtest.h>

#include <thread>

TEST(FontSizeFactor, SmallerAndLargerSizes) {
    struct NoGame : IGameClient {
        void onStart() override {}
        void onExit() override {}
        std::wstring getWindowCaption() override { return L""; }
        void getCursor(bool, CursorRequest&) override {}
        CGUIFont3D* getFont(const std::string&) override { return nullptr; }
    } client;
    EXPECT_FLOAT_EQ(client.getFontSizeFactor("-1"), 0.8f);
    EXPECT_FLOAT_EQ(client.getFontSizeFactor("-4"), 0.1f);
    EXPECT_FLOAT_EQ(client.getFontSizeFactor("+3"), 2.0f);
    EXPECT_FLOAT_EQ(client.getFontSizeFactor("3"), 2.0f);
    EXPECT_FLOAT_EQ(client.getFontSizeFactor("2"), 1.5f);
    EXPECT_FLOAT_EQ(client.getFontSizeFactor("-9"), 1.0f);
    EXPECT_FLOAT_EQ(client.getFontSizeFactor("-"), 1.0f);
    EXPECT_FLOAT_EQ(client.getFontSizeFactor(""), 1.0f);
    EXPECT_FLOAT_EQ(client.getFontSizeFactor("7"), 1.0f);
    EXPECT_FLOAT_EQ(client.getFontSizeFactor("+"), 1.0f);
}

// The engine is a process-wide singleton, so every test that changes it runs in a child process.
class EngineCore : public testing::Test {};

TEST_F(EngineCore, PauseBeforeRunningStageOnlySetsTheLevelAndExitIsFinal) {
    EXPECT_EXIT(
        {
            TestProgram program;
            CVellumEngine& engine = getEngine();
            engine.setStage(STAGE_PRELOADING);
            bool ok = engine.setPauseLevel(2, true) == 1 && engine.getPauseLevel() == 2 &&
                      engine.pauseFader() == nullptr && isKeyDown(0x41) == 0;
            ok = ok && engine.setPauseLevel(2, false) == 1 && engine.getPauseLevel() == 0;
            ok = ok && engine.setPauseLevel(99, true) == 1 && engine.getPauseLevel() == 99;
            ok = ok && engine.setPauseLevel(0, false) == 0 && engine.getPauseLevel() == 99;
            ok = ok && engine.setPauseLevel(2, true) == 1 && engine.getPauseLevel() == 2;
            exit(ok ? 0 : 2);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(EngineCore, ActiveProfileIsMadeOnDemandAndNamedPlayerWhenNoneIsConfigured) {
    EXPECT_EXIT(
        {
            TestProgram program;
            CVellumEngine& engine = getEngine();
            engine.getConfig().ActiveProfile = "";
            CUserProfile* profile = engine.getActiveProfile();
            bool ok = profile->getName() == "Player" &&
                      engine.getConfig().ActiveProfile == "Player" &&
                      engine.getActiveProfile() == profile && profile->getXResolution() == 640;
            exit(ok ? 0 : 2);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(EngineCore, MissingClientIsFatal) {
    EXPECT_EXIT(
        {
            TestProgram program;
            MessageBoxRecorder boxes;
            getEngine().getClient();
        },
        testing::ExitedWithCode(1), "");
}

TEST_F(EngineCore, ExitRequestFromAnotherThreadEndsTheProcess) {
    EXPECT_EXIT(
        {
            TestProgram program;
            setMessageBoxHook([](const std::string& text, const std::string&, int) {
                fprintf(stderr, "box: %s\n", text.c_str());
                return 1;
            });
            getEngine().setMainThreadId(currentThreadId());
            std::thread other([] { getEngine().requestExit(); });
            other.join();
            exit(getEngine().isExitRequested() ? 3 : 4);
        },
        testing::ExitedWithCode(1), "box: Thread-unsafe method is called from altthread!!!");
}

TEST_F(EngineCore, ExitRequestOnTheMainThreadIsNoted) {
    EXPECT_EXIT(
        {
            TestProgram program;
            getEngine().setMainThreadId(currentThreadId());
            getEngine().requestExit();
            exit(getEngine().isExitRequested() ? 0 : 2);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(EngineCore, LeveledLogRespectsTheConfiguredLevel) {
    TestProgram program;
    EXPECT_EXIT(
        {
            getEngine().getConfig().LogLevel = 2;
            getEngine().logLeveled("quiet line", 1);
            getEngine().logLeveled("loud line", 2);
            exit(0);
        },
        testing::ExitedWithCode(0), "");
    std::string log = program.folder().read("last_debug.log");
    EXPECT_EQ(log.find("quiet line"), std::string::npos);
    EXPECT_NE(log.find("loud line"), std::string::npos);
}
