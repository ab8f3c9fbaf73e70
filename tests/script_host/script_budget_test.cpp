#include "core/server_game.h"
#include "core/vellumengine.h"
#include "platform/process.h"
#include "script/module_scripting.h"
#include "support/message_box_recorder.h"
#include "support/test_game.h"
#include "support/test_program.h"
#include "utils/utils_lang.h"

#include <gtest/gtest.h>

namespace {

const char* const kRunaway = R"(
rounds <- 0;
function spinForever(context)
{
    while (true)
        ::rounds++;
}
function count(context)
{
    return ::rounds;
}
)";

// The script host on the main thread with the smallest budget the configuration can set (one
// million operations); every box is recorded and answered Yes (continue).
class ScriptHostBudget : public testing::Test {
protected:
    void SetUp() override {
        setLanguage("data_en");
        getEngine().setMainThreadId(currentThreadId());
        savedBudget = getEngine().getConfig().ScriptOperationBudget;
        getEngine().getConfig().ScriptOperationBudget = 1;
        host().clearCompiledScripts();
        host().compileCached(kRunaway, true);
    }
    void TearDown() override {
        getEngine().getConfig().ScriptOperationBudget = savedBudget;
        getEngine().setMainThreadId(0);
    }

    static CScriptHost& host() { return getEngine().getScripting(); }

    TestProgram program;
    MessageBoxRecorder boxes{6};
    int savedBudget = 0;
};

} // namespace

TEST_F(ScriptHostBudget, ARunawayFunctionIsReportedWithItsPlaceAndTheHostGoesOn) {
    EXPECT_TRUE(host().callScriptFunction("spinForever", squirrel::Object()).isNull());
    ASSERT_EQ(boxes.boxes().size(), 1u);
    const std::string& text = boxes.boxes()[0].text;
    EXPECT_NE(text.find("operation budget exceeded"), std::string::npos) << text;
    EXPECT_NE(text.find("*FUNCTION [spinForever()] console_buffer line [6]"), std::string::npos)
        << text;
    EXPECT_NE(text.find("Calling precompiled method ' spinForever'"), std::string::npos) << text;

    // The next call runs with the whole budget again.
    int rounds = host().callScriptFunction("count", squirrel::Object()).toInt();
    EXPECT_GT(rounds, 0);
    EXPECT_LE(rounds, 1000000);
    EXPECT_EQ(host()
                  .callScriptCode("::rounds = 0; for (local i = 0; i < 1000; i++) ::rounds++;"
                                  "return ::rounds;")
                  .toInt(),
              1000);
    EXPECT_EQ(boxes.boxes().size(), 1u);
}

TEST_F(ScriptHostBudget, RunawayActionCodeIsReportedAndABudgetOfZeroSetsNoLimit) {
    EXPECT_TRUE(host().callScriptCode("while (true) {}").isNull());
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_TRUE(boxes.sawText("operation budget exceeded")) << boxes.boxes()[0].text;
    EXPECT_TRUE(boxes.sawText("Calling script code\nwhile (true) {}")) << boxes.boxes()[0].text;

    // Three million rounds cost several million operations: too many for the budget of one
    // million, fine without a limit.
    const char* const longWork = "local n = 0; for (local i = 0; i < 3000000; i++) n++; return n;";
    EXPECT_TRUE(host().callScriptCode(longWork).isNull());
    EXPECT_EQ(boxes.boxes().size(), 2u);
    getEngine().getConfig().ScriptOperationBudget = 0;
    EXPECT_EQ(host().callScriptCode(longWork).toInt(), 3000000);
    EXPECT_EQ(boxes.boxes().size(), 2u);
}

// A whole game run whose game.ini sets a small budget: the start-up script starts an interval
// that runs away. The runaway is reported with its function, the later interval still runs and
// the run ends on time instead of freezing.
TEST(ScriptBudgetRun, ARunawayIntervalIsReportedAndTheGameGoesOn) {
    TestProgram program(TestProgram::defaultGameIni() +
                        "ExitAfterFrames=12\nFixedFrameTime=20\nScriptOperationBudget=5\n");
    program.writeData("scripts/startup.nut", R"(
function startGame()
{
    ::later <- 0;
    ::runaway <- core_SetInterval(40, "spinForever();");
    core_SetInterval(60, "::later++;");
}
function spinForever()
{
    core_CancelInterval(::runaway);
    local n = 0;
    while (n >= 0)
        n = (n + 1) % 1000;
}
)");
    EXPECT_EXIT(
        {
            MessageBoxRecorder boxes(6);
            runTestGame(new TestGame());
            bool reported = boxes.sawText("operation budget exceeded") &&
                            boxes.sawText("*FUNCTION [spinForever()] console_buffer line [");
            bool wentOn = getEngine().getScripting().vm().rootTable().get("later").toInt() > 0;
            exit(reported && wentOn ? 0 : 2);
        },
        testing::ExitedWithCode(0), "");
}
