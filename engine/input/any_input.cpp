#include "any_input.h"

#include "utils/system.h"

#include <atomic>

namespace {

// Tick count of the last input not yet consumed; 0 means none.
std::atomic<uint32_t> anyInputTime{0};

} // namespace

void setAnyInput() {
    uint32_t now = getTicks();
    // A tick count of 0 would read as "no input".
    anyInputTime = now != 0 ? now : 1;
}

void clearAnyInput() {
    anyInputTime = 0;
}

bool consumeAnyInput(uint32_t since) {
    uint32_t time = anyInputTime;
    if (time == 0) {
        return false;
    }
    // Tick counts wrap; the difference tells which of the two came first.
    if (since != 0 && static_cast<int32_t>(time - since) < 0) {
        return false;
    }
    return anyInputTime.compare_exchange_strong(time, 0);
}
