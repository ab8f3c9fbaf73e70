#pragma once

#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "support/message_box_recorder.h"
#include "support/temporary_folder.h"
#include "utils/debug.h"
#include "utils/engine_state.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"

#include <gtest/gtest.h>

// A program folder of its own with the data folders below it, the engine pointed at it, English
// as the language and every box recorded. The temporary folder's name has upper-case letters
// while the engine's paths are lower case, so every file access also goes through the
// case-insensitive mapping.
class DataFolders : public testing::Test {
protected:
    void SetUp() override {
        setProgramFolder(program.engine());
        setDebugLogFolder(program.engine());
        setLanguage("data_en");
        setEngineStageSource(nullptr);
        clearTextCache();
    }
    void TearDown() override {
        setEngineStageSource(nullptr);
        setRenameHook(nullptr);
    }

    // The engine path of a file below the program folder, lower-cased as the engine has it.
    std::string enginePath(const std::string& relative) const { return programFolder() + relative; }

    TemporaryFolder program;
    MessageBoxRecorder boxes;
};
