#pragma once

#include "support/message_box_recorder.h"
#include "support/temporary_folder.h"
#include "utils/debug.h"
#include "utils/engine_state.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

// A program folder of its own that also holds the debug log, with the text and string caches
// emptied, the boxes recorded and the string tables read in the given language.
class LocalizedProgram : public testing::Test {
protected:
    explicit LocalizedProgram(std::string language) : language(std::move(language)) {}

    void SetUp() override {
        setProgramFolder(program.engine());
        setDebugLogFolder(program.engine());
        setDebugModeSource(nullptr);
        clearTextCache();
        clearLocalizationCaches();
        setLanguage(language);
    }
    void TearDown() override { setDebugModeSource(nullptr); }

    TemporaryFolder program;
    MessageBoxRecorder boxes;

private:
    std::string language;
};
