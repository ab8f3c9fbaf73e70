#pragma once

#include "core/vellumengine.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "script/module_scripting_core.h"
#include "support/message_box_recorder.h"
#include "support/test_program.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"

#include <gtest/gtest.h>

#include <string>

// A program folder of its own in English, the script host usable from this thread and the core
// functions registered as the game registers them. Every box is recorded.
class CoreApiTest : public testing::Test {
protected:
    void SetUp() override {
        setLanguage("data_en");
        clearTextCache();
        getEngine().setMainThreadId(currentThreadId());
        registerCoreFunctions(vm());
    }

    void TearDown() override {
        getEngine().setStage(STAGE_CREATED);
        getEngine().setMainThreadId(0);
    }

    static squirrel::VM& vm() { return getEngine().getScripting().vm(); }
    // Runs the script text and returns its result.
    static squirrel::Object run(const std::string& code) { return vm().run(code, "test"); }
    // The result of one expression.
    static squirrel::Object eval(const std::string& expression) {
        return run("return " + expression + ";");
    }
    static std::string typeOf(const std::string& expression) {
        return eval("typeof (" + expression + ")").toString();
    }

    TestProgram program;
    MessageBoxRecorder boxes{kAnswerYes};
};
