#include "config/config_fixture.h"

#include "core/engine_config.h"
#include "platform/message_box.h"

#include <cstdlib>
#include <optional>

namespace {

// Whether the run counts as unattended is asked with CI out of the environment, since CI alone
// makes every run unattended.
class ReplayConfigTest : public ConfigTest {
protected:
    void SetUp() override {
        ConfigTest::SetUp();
        if (const char* ci = std::getenv("CI")) {
            savedCi = ci;
            unsetenv("CI");
        }
        setUnattendedRun(false);
    }
    void TearDown() override {
        setUnattendedRun(false);
        if (savedCi) {
            setenv("CI", savedCi->c_str(), 1);
        }
        ConfigTest::TearDown();
    }

    std::optional<std::string> savedCi;
};

} // namespace

TEST_F(ReplayConfigTest, InputFilesComeFromGameIniOrTheCommandLineAndMakeTheRunUnattended) {
    writeGameIni("InputRecord=/tmp/in put.txt \nInputReplay=\n");
    EngineConfig recording;
    recording.load();
    EXPECT_EQ(recording.InputRecord, "/tmp/in put.txt");
    EXPECT_EQ(recording.InputReplay, "");
    EXPECT_TRUE(isUnattendedRun());

    setUnattendedRun(false);
    useCommandLine({"InputReplay=/tmp/b.txt", "InputRecord=/tmp/c.txt"});
    EngineConfig both;
    both.load();
    EXPECT_EQ(both.InputReplay, "/tmp/b.txt");
    EXPECT_EQ(both.InputRecord, "/tmp/c.txt");
    EXPECT_TRUE(isUnattendedRun());
}

TEST_F(ReplayConfigTest, WithoutInputFilesOrOtherUnattendedKeysSomeoneIsThere) {
    writeGameIni("Version=1\n");
    EngineConfig config;
    config.load();
    EXPECT_EQ(config.InputRecord, "");
    EXPECT_EQ(config.InputReplay, "");
    EXPECT_FALSE(isUnattendedRun());
}
