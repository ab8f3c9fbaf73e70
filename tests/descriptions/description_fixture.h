#pragma once

#include "platform/message_box.h"
#include "support/message_box_recorder.h"
#include "support/temporary_folder.h"
#include "utils/debug.h"
#include "utils/utils_fs.h"

#include <gtest/gtest.h>

#include <cstdio>

// Each test runs the engine over a program folder of its own with boxes recorded.
class DescriptionTest : public testing::Test {
protected:
    void SetUp() override {
        setProgramFolder(program.engine());
        setDebugLogFolder(program.engine());
    }

    TemporaryFolder program;
    MessageBoxRecorder boxes;
};

// Inside a death test: writes every box text to standard error so the test can match it.
inline void echoBoxesToStderr() {
    setMessageBoxHook([](const std::string& text, const std::string&, int) {
        fprintf(stderr, "box: %s\n", text.c_str());
        return 1;
    });
}
