#include "any_input.h"

#include "platform/locks.h"
#include "utils/system.h"

namespace {

struct AnyInputState {
    CriticalSectionLock lock;
    // Tick count of the last input not yet consumed; 0 means none.
    uint32_t AnyInputTime = 0;
    // Inputs before this tick count repeat the last consumed one; meaningful while Suppressing.
    uint32_t SuppressUntil = 0;
    bool Suppressing = false;
};

AnyInputState& state() {
    static auto* instance = new AnyInputState();
    return *instance;
}

// Tick counts wrap; the difference tells which of the two came first.
bool isBefore(uint32_t time, uint32_t reference) {
    return static_cast<int32_t>(time - reference) < 0;
}

} // namespace

void setAnyInput() {
    AnyInputState& input = state();
    ScopedLock guard(input.lock);
    uint32_t now = getTicks();
    // A tick count of 0 would read as "no input".
    input.AnyInputTime = now != 0 ? now : 1;
}

void clearAnyInput() {
    AnyInputState& input = state();
    ScopedLock guard(input.lock);
    input.AnyInputTime = 0;
    input.Suppressing = false;
}

bool consumeAnyInput(uint32_t since) {
    AnyInputState& input = state();
    ScopedLock guard(input.lock);
    uint32_t time = input.AnyInputTime;
    if (time == 0) {
        return false;
    }
    if (input.Suppressing && isBefore(time, input.SuppressUntil)) {
        input.AnyInputTime = 0;
        return false;
    }
    if (since != 0 && isBefore(time, since)) {
        return false;
    }
    input.AnyInputTime = 0;
    input.SuppressUntil = time + kAnyInputRepeatWindowMs;
    input.Suppressing = true;
    return true;
}
