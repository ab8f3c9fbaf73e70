#pragma once

#include <vector>

// Frames every benchmark figure is taken over, after its warm-up: enough that the median and
// the 95th percentile repeat from run to run on an idle machine.
constexpr int kMinimumMeasuredFrames = 120;

// The median and the 95th percentile of measured frame times (milliseconds), both 0 without
// measurements.
struct FrameTimes {
    double median = 0;
    double p95 = 0;
};

FrameTimes summarizeFrameTimes(std::vector<double> times);
