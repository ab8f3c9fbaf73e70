#pragma once

#include <cstdint>

// The any-input flag: screens that continue "on any click or key" ask it. The input module sets
// it for a Space or Enter key press and for a click that no node handled; whoever reacts to the
// input consumes it, so one input is answered once.
//
// After an input is consumed, inputs that follow it within a short window are taken for
// repetitions of it (a double click, a key bouncing or repeating) and are dropped when someone
// asks, so one gesture never answers two questions in a row (the typing effect that reveals its
// text, then the screen that waits for a click).

// How long after a consumed input further inputs count as its repetitions.
constexpr uint32_t kAnyInputRepeatWindowMs = 300;

// Marks an input now (the tick count of the input is kept).
void setAnyInput();
// Forgets the pending input and the repetition window: whatever comes next counts.
void clearAnyInput();
// True when an input is pending that happened at or after the tick count `since` (0: any
// pending input); the flag is then cleared and the repetition window starts at that input. A
// pending input inside the window of the previous consumed one is dropped (false). False for an
// input before `since` leaves the flag as it is.
bool consumeAnyInput(uint32_t since);
