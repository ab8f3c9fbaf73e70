// Built-in functions: the base library and the standard libraries in the root table, and the
// default delegates.
#pragma once

#include "value.h"

#include <cstdint>

namespace squirrel::detail {

class Machine;
class State;

// Shared by the default delegates: tostring() and weakref().
Value delegateToString(Machine& m, Value* args, int count);
Value delegateWeakRef(Machine& m, Value* args, int count);
// The range slice(start [, end]) takes of a sequence of `length` items: negative indexes count
// from the end; "wrong indexes" and "slice out of range" are raised on m.
struct SliceRange {
    std::int32_t start;
    std::int32_t end;
};
SliceRange sliceRange(Machine& m, Value* args, int count, std::int32_t length);
// What getstackinfos(level) returns for the frame `level` levels out on machine m, or null.
Value stackInfos(Machine& m, int level);

void registerBaseLibrary(State& state);
void createNumberDelegate(State& state);
void createStringDelegate(State& state);
void createTableDelegate(State& state);
void createArrayDelegate(State& state);
void createClosureDelegate(State& state);
void createClassDelegates(State& state); // classes and instances
void createGeneratorDelegate(State& state);
void createThreadDelegate(State& state);
void createWeakRefDelegate(State& state);

void registerBlobLibrary(State& state);
void registerIoLibrary(State& state);
void registerMathLibrary(State& state);
void registerStringLibrary(State& state); // with the regexp class
void registerRegexpClass(State& state);
void registerSystemLibrary(State& state);

} // namespace squirrel::detail
