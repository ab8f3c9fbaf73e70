#include "platform/clock.h"
#include "platform/message_box.h"
#include "sound/sound_fixture.h"
#include "utils/debug.h"

#include <cstdio>
#include <cstdlib>

namespace {

class SoundFailures : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        // The sound thread runs while the death tests fork.
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }

    // Boxes are written to standard error, where the death tests look for them.
    static void showBoxesOnStandardError() {
        setMessageBoxHook([](const std::string& text, const std::string&, int) {
            std::fprintf(stderr, "%s\n", text.c_str());
            return kAnswerOk;
        });
    }
};

} // namespace

TEST_F(SoundFailures, MissingFileEmptyNameAndFullBufferEndTheProgram) {
    EXPECT_EXIT(
        {
            showBoxesOnStandardError();
            CSoundServer server;
            recorder.startSilently(server);
            server.playEffect("nothere", 1.0f);
            sleepMilliseconds(5000);
            std::exit(0);
        },
        testing::ExitedWithCode(1), "Failed to load sound: nothere \\(.*nothere\\.wav");

    EXPECT_EXIT(
        {
            showBoxesOnStandardError();
            CSoundServer server;
            recorder.startSilently(server);
            server.playEffect("", 1.0f);
            std::exit(0);
        },
        testing::ExitedWithCode(1), "Empty sound effect!");

    EXPECT_EXIT(
        {
            showBoxesOnStandardError();
            CSoundServer server;
            recorder.startSilently(server);
            for (int i = 0; i < SoundDeviceTable::kFullCount; ++i) {
                std::string name = "s" + std::to_string(i) + ".wav";
                writeSound(name, toneWav(2));
                server.loadSample(name, i + 1 < SoundDeviceTable::kFullCount);
            }
            std::exit(0);
        },
        testing::ExitedWithCode(1), "Sound effect buffer is full!");
}

TEST_F(SoundFailures, DebugLogTellsWhenTheThreadRunsHowLongItLimitedAndWhenThereIsNoOutput) {
    // The death test runs this test again in a new process, with a program folder of its own;
    // the log goes to the first one's.
    setenv("VELLUM_TEST_LOG_FOLDER", program.folder().engine().c_str(), 0);
    EXPECT_EXIT(
        {
            setDebugLogFolder(std::getenv("VELLUM_TEST_LOG_FOLDER"));
            CSoundServer server;
            recorder.startSilently(server);
            server.shutdown();
            setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
            CSoundServer silent;
            silent.start(1);
            std::exit(silent.isRunning() ? 2 : 0);
        },
        testing::ExitedWithCode(0), "");
    unsetenv("VELLUM_TEST_LOG_FOLDER");
    std::string log = program.folder().read("last_debug.log");
    EXPECT_NE(log.find("\tSound device thread started\n"), std::string::npos) << log;
    EXPECT_NE(log.find("\tSound device thread stopped\n"), std::string::npos) << log;
    // Silence never needs the limiter.
    EXPECT_NE(log.find("\tSound output limited for 0 of "), std::string::npos) << log;
    EXPECT_NE(log.find("\tError: No sound device created!\n"), std::string::npos) << log;
}
