#pragma once

#include "platform/process.h"
#include "support/message_box_recorder.h"
#include "support/temporary_folder.h"
#include "utils/debug.h"
#include "utils/utils_fs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A program folder "program/" with a user folder "program/Profile/" in a fresh temporary folder,
// the debug log beside them and a command line holding only the given pieces.
class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.write("program/Profile/.keep", "");
        setProgramFolder(folder.engine() + "program\\");
        setDebugLogFolder(folder.engine());
        useCommandLine({});
    }

    void TearDown() override { useCommandLine({}); }

    static void useCommandLine(const std::vector<std::string>& pieces) {
        std::vector<std::string> arguments{"vellum"};
        arguments.insert(arguments.end(), pieces.begin(), pieces.end());
        std::vector<char*> pointers;
        for (std::string& argument : arguments) {
            pointers.push_back(argument.data());
        }
        setCommandLine(static_cast<int>(pointers.size()), pointers.data());
    }

    void writeGameIni(const std::string& text) const { folder.write("program/game.ini", text); }
    void writeUserFile(const std::string& name, const std::string& text) const {
        folder.write("program/Profile/" + name, text);
    }
    std::string readUserFile(const std::string& name) const {
        return folder.read("program/Profile/" + name);
    }
    bool userFileExists(const std::string& name) const {
        return folder.exists("program/Profile/" + name);
    }

    TemporaryFolder folder;
    MessageBoxRecorder boxes;
};
