#include "frame_times.h"

#include <algorithm>

FrameTimes summarizeFrameTimes(std::vector<double> times) {
    FrameTimes result;
    if (times.empty()) {
        return result;
    }
    std::sort(times.begin(), times.end());
    result.median = times[times.size() / 2];
    // The smallest time that at least 95 of every 100 frames stay within.
    const size_t rank = (times.size() * 95 + 99) / 100;
    result.p95 = times[std::max<size_t>(rank, 1) - 1];
    return result;
}
