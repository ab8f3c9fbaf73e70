#pragma once

#include "script/core_api_serialization.h"
#include "script/module_scripting_core.h"
#include "script/script_serialization.h"
#include "support/message_box_recorder.h"
#include "support/temporary_folder.h"
#include "utils/debug.h"

#include <gtest/gtest.h>

#include <string>

// A script machine with the two serialization functions registered; message boxes are recorded
// and the debug log goes to a temporary folder.
class Serialization : public testing::Test {
protected:
    Serialization() {
        setDebugLogFolder(folder.engine());
        registerCoreFunction(vm, "core_SerializeObj", "*", core_SerializeObj);
        registerCoreFunction(vm, "core_DeserializeObj", "*", core_DeserializeObj);
    }

    std::string serialize(const squirrel::Object& value) {
        return vm.callFunction("core_SerializeObj", {value}).toString();
    }
    squirrel::Object deserialize(const std::string& text) {
        return vm.callFunction("core_DeserializeObj", {vm.string(text)});
    }
    // The value a script expression gives, written and read back.
    squirrel::Object roundTrip(const std::string& expression) {
        return deserialize(serialize(vm.run("return " + expression + ";", "value")));
    }

    TemporaryFolder folder;
    MessageBoxRecorder boxes;
    squirrel::VM vm;
};
