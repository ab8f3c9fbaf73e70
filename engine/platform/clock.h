#pragma once

#include <cstdint>

// Milliseconds of the monotonic clock as a wrapping 32-bit value.
uint32_t monotonicMilliseconds();
// The same clock at the system's tick granularity (a few milliseconds), for a fraction of the
// cost of a read: for measurements taken very often that only need whole ticks.
uint32_t coarseMonotonicMilliseconds();
// Sleeps for the given milliseconds; 0 only yields the processor.
void sleepMilliseconds(uint32_t milliseconds);
