#include "clock.h"

#include <sched.h>
#include <time.h>

namespace {

// The clock's reading in milliseconds, wrapping as a 32-bit count.
uint32_t millisecondsOf(clockid_t clock) {
    timespec now;
    clock_gettime(clock, &now);
    uint64_t ms =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

} // namespace

uint32_t monotonicMilliseconds() {
    return millisecondsOf(CLOCK_MONOTONIC);
}

uint32_t coarseMonotonicMilliseconds() {
    return millisecondsOf(CLOCK_MONOTONIC_COARSE);
}

void sleepMilliseconds(uint32_t milliseconds) {
    if (milliseconds == 0) {
        sched_yield();
        return;
    }
    timespec duration{static_cast<time_t>(milliseconds / 1000),
                      static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&duration, &duration) != 0) {
    }
}
