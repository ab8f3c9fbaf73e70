#pragma once

#include <cstdint>

// Milliseconds of the monotonic clock as a wrapping 32-bit value.
uint32_t monotonicMilliseconds();
// Sleeps for the given milliseconds; 0 only yields the processor.
void sleepMilliseconds(uint32_t milliseconds);
