#include "core/game_client.h"
#include "core/server_game.h"
#include "core/vellumengine.h"
#include "platform/message_box.h"
#include "support/message_box_recorder.h"
#include "support/test_game.h"
#include "support/test_program.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Records the engine stage at each of the engine's calls into the game.
class RecordingGame : public TestGame {
public:
    std::string calls;

    void onStart() override { note("start"); }
    void onExit() override { note("exit"); }
    void onFrame() override { note("frame"); }
    void getCursor(bool, CursorRequest& cursor) override { cursor.frameCount = 8; }

private:
    void note(const char* what) {
        calls += std::string(what) + "@" + std::to_string(getEngine().getStage()) + " ";
    }
};

// The default game.ini with some keys set to other values (or added).
std::string gameIniWith(std::initializer_list<std::pair<std::string, std::string>> keys) {
    std::string ini = TestProgram::defaultGameIni();
    for (const auto& [key, value] : keys) {
        size_t at = ini.find("\n" + key + "=");
        if (at == std::string::npos) {
            ini += key + "=" + value + "\n";
        } else {
            size_t end = ini.find('\n', at + 1);
            ini.replace(at + 1, end - at - 1, key + "=" + value);
        }
    }
    return ini;
}

// Device requests are written to standard error, and the first `failures` of them fail.
void useNullDevicesAfterFailures(int failures) {
    setDeviceCreator([failures](const irr::SIrrlichtCreationParameters& parameters) mutable
                     -> irr::IrrlichtDevice* {
        fprintf(stderr, "request driver=%d bits=%d size=%ux%u\n", parameters.DriverType,
                parameters.Bits, parameters.WindowSize.Width, parameters.WindowSize.Height);
        if (failures-- > 0) {
            return nullptr;
        }
        irr::SIrrlichtCreationParameters nullParameters = parameters;
        nullParameters.DriverType = irr::video::EDT_NULL;
        return irr::createDeviceEx(nullParameters);
    });
}

} // namespace

TEST(Run, StagesFollowStartLoopAndTearDownAndFilesAreWritten) {
    TestProgram program(gameIniWith({{"ExitAfterFrames", "3"}, {"FixedFrameTime", "10"}}));
    EXPECT_EXIT(
        {
            useNullDevicesAfterFailures(0);
            RecordingGame* game = new RecordingGame();
            runTestGame(game);
            fprintf(stderr, "calls: %s\n", game->calls.c_str());
            exit(getEngine().getDevice() == nullptr ? 0 : 2);
        },
        testing::ExitedWithCode(0), "calls: start@10 frame@100 frame@100 frame@100 exit@999 \n");
    EXPECT_TRUE(program.folder().exists("Profile/game_options.ini"));
    EXPECT_TRUE(program.folder().exists("Profile/pr_UGxheWVy.ini"));
    EXPECT_NE(program.folder().read("last_debug.log").find("Version:test"), std::string::npos);
}

TEST(Run, FailedDeviceFallsBackTo16BitsThenToSoftwareAt640By480) {
    TestProgram program(
        gameIniWith({{"ExitAfterFrames", "1"}, {"XResolution", "1024"}, {"YResolution", "768"}}));
    EXPECT_EXIT(
        {
            useNullDevicesAfterFailures(2);
            runTestGame(new RecordingGame());
            exit(getEngine().getConfig().softwareRendering == 1 ? 0 : 2);
        },
        testing::ExitedWithCode(0),
        "request driver=5 bits=32 size=1024x768\n"
        "request driver=5 bits=16 size=1024x768\n"
        "request driver=2 bits=32 size=640x480\n");
    std::string log = program.folder().read("last_debug.log");
    EXPECT_NE(log.find("Defaulting to 16b mode"), std::string::npos);
    EXPECT_NE(log.find("Defaulting to software mode"), std::string::npos);
}

TEST(Run, ConfiguredLowDepthSkipsThe16BitRetry) {
    TestProgram program(gameIniWith({{"ExitAfterFrames", "1"}, {"BitsPerPixel", "16"}}));
    EXPECT_EXIT(
        {
            useNullDevicesAfterFailures(1);
            runTestGame(new RecordingGame());
            exit(0);
        },
        testing::ExitedWithCode(0),
        "request driver=5 bits=16 size=640x480\nrequest driver=2 bits=32 size=640x480\n");
}

TEST(Run, NoDeviceAtAllShowsTheFailureBoxAndEndsWithCodeOne) {
    TestProgram program(gameIniWith({{"ExitAfterFrames", "1"}}));
    EXPECT_EXIT(
        {
            useNullDevicesAfterFailures(3);
            setMessageBoxHook([](const std::string& text, const std::string&, int kind) {
                fprintf(stderr, "box kind %d: %s\n", kind & 0xF, text.substr(0, 27).c_str());
                return 7;
            });
            runTestGame(new RecordingGame());
            exit(2);
        },
        testing::ExitedWithCode(1), "box kind 3: Failed to create 3D Device!");
}

TEST(Run, ExitRequestEndsTheLoopAfterTheCurrentFrame) {
    TestProgram program(gameIniWith({{"FixedFrameTime", "10"}}));
    EXPECT_EXIT(
        {
            useNullDevicesAfterFailures(0);
            struct ExitingGame : RecordingGame {
                int frames = 0;
                void onFrame() override {
                    if (++frames == 2) {
                        getEngine().requestExit();
                    }
                }
            };
            ExitingGame* game = new ExitingGame();
            runTestGame(game);
            fprintf(stderr, "frames: %d\n", game->frames);
            exit(0);
        },
        testing::ExitedWithCode(0), "frames: 2\n");
}
