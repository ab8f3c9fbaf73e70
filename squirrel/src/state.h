// What all execution threads of one virtual machine share: strings, the root and constant
// tables, the default delegates, the list of containers and the output hooks.
#pragma once

#include "array.h"
#include "function.h"
#include "metamethods.h"
#include "string_table.h"
#include "table.h"

#include <cstdint>
#include <functional>
#include <string_view>

namespace squirrel::detail {

class Machine;

class State {
public:
    State();
    ~State();
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    Value string(std::string_view text) { return strings.make(text); }
    Value newTable(std::uint32_t capacity = 0) { return Value(new Table(gcHead, capacity)); }
    Value newArray(std::size_t size = 0);
    Value newNative(NativeFn fn, std::string_view name, std::int32_t paramCheck = 0,
                    std::string_view typeMask = {});
    // Adds a native function to a table.
    void registerNative(Table* table, std::string_view name, NativeFn fn,
                        std::int32_t paramCheck = 0, std::string_view typeMask = {});

    // Declared first so that it is destroyed last: every value may refer to a string.
    StringTable strings;
    GCObject* gcHead = nullptr;

    Value root;   // table
    Value consts; // table of constants and enumerations, consulted at compile time
    Value numberDelegate;
    Value stringDelegate;
    Value tableDelegate;
    Value arrayDelegate;
    Value closureDelegate;
    Value classDelegate;
    Value instanceDelegate;
    Value generatorDelegate;
    Value threadDelegate;
    Value weakRefDelegate;
    Value blobClass;    // made by readblob and the stream functions
    Value errorHandler; // script function called with an error nobody catches, or null
    Value debugHook;    // script function told about lines, calls and returns, or null

    std::function<void(std::string_view)> print;
    std::function<void(std::string_view)> printError;
    bool lineInfo = true; // compile line information (enabledebuginfo)
    // Texts compiled so far; each compilation's functions carry its number.
    std::uint32_t compilations = 0;

    Value metaNames[kMetaCount]; // "_add", ... interned
    Value typeNames[kTagCount];  // what typeof gives for each tag
    Value constructorName;

    Machine* main = nullptr;
    int nativeNesting = 0; // calls from native code into scripts, on the C++ stack

    // The errors of failed allocations, made in advance so that raising them allocates nothing.
    Value notEnoughMemory;
    Value stringTooLong;

    // The operation budget of host calls (VM::setOperationBudget; 0: none). Machines subtract
    // what they run from budgetLeft and call Machine::budgetSpent when it drops below zero.
    std::uint64_t budget = 0;
    std::int64_t budgetLeft = INT64_MAX;
    bool budgetExhausted = false; // the running host call went beyond its budget
    int hostCalls = 0;            // host calls running; the outermost one sets budgetLeft

    // Handles of the embedding interface that point into this state. A state whose virtual
    // machine is gone lives on until the last handle goes.
    int handles = 0;
    bool orphaned = false;
};

// Parses a parameter type mask ("s", "n|b", ".", ...) into type-code sets, one per position.
// Returns false for an invalid mask.
bool parseTypeMask(std::string_view mask, std::vector<std::uint32_t>& out);

} // namespace squirrel::detail
