#pragma once

#include <cstdint>

// The any-input flag: screens that continue "on any click or key" ask it. The input module sets
// it for a Space or Enter key press and for a click that no node handled; whoever reacts to the
// input consumes it, so one input is answered once.

// Marks an input now (the tick count of the input is kept).
void setAnyInput();
void clearAnyInput();
// True when an input is pending that happened at or after the tick count `since` (0: any
// pending input); the flag is then cleared. False leaves the flag as it is.
bool consumeAnyInput(uint32_t since);
