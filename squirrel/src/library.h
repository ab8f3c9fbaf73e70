// Built-in functions: the base library in the root table and the default delegates.
#pragma once

namespace squirrel::detail {

class State;

void registerBaseLibrary(State& state);
void createNumberDelegate(State& state);
void createStringDelegate(State& state);
void createTableDelegate(State& state);
void createArrayDelegate(State& state);
void createClosureDelegate(State& state);

} // namespace squirrel::detail
