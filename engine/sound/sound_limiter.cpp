#include "sound_limiter.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// A gain this close to 1 (0.01 dB) has recovered fully; without this it would only approach 1.
constexpr float kRecovered = 0.999f;

} // namespace

PeakLimiter::PeakLimiter(int channels, int sampleRate, float ceiling)
    : channels(channels), ceiling(ceiling),
      lookAhead(
          std::max(1, static_cast<int>(static_cast<float>(sampleRate) * kLookAheadMs / 1000.0f))),
      releaseStep(1.0f - std::exp(-1000.0f / (kReleaseMs * static_cast<float>(sampleRate)))),
      delay(static_cast<size_t>((lookAhead + 1) * channels), 0.0f),
      released(static_cast<size_t>(lookAhead + 1), 1.0f),
      held(static_cast<size_t>(lookAhead + 1), 1.0f), heldSum(lookAhead + 1) {}

float* PeakLimiter::delayedFrame(int back) {
    int window = lookAhead + 1;
    return &delay[static_cast<size_t>(((newest - back + window) % window) * channels)];
}

// Three stages keep every frame within the ceiling while the gain moves smoothly:
// 1. the released gain is the gain the newest frame needs, or, when that is higher, the last
//    released gain moved a step back towards 1;
// 2. the held gain is the smallest released gain of the last lookAhead + 1 frames;
// 3. the frame leaving the delay line gets the mean held gain of the same window.
// Every held gain in that window has the leaving frame's released gain in its own window, so
// none is above it, and neither is their mean: the leaving frame stays within the ceiling. The
// mean turns each drop of the gain into a ramp over the look-ahead.
float PeakLimiter::nextGain(float required) {
    releasedGain = std::min(required, releasedGain + (1.0f - releasedGain) * releaseStep);
    if (releasedGain > kRecovered) {
        releasedGain = 1.0f;
    }
    size_t slot = static_cast<size_t>(newest);
    float leaving = released[slot];
    released[slot] = releasedGain;
    if (releasedGain <= windowMinimum) {
        windowMinimum = releasedGain;
    } else if (leaving <= windowMinimum) {
        windowMinimum = *std::min_element(released.begin(), released.end());
    }
    heldSum += static_cast<double>(windowMinimum) - held[slot];
    held[slot] = windowMinimum;
    return static_cast<float>(heldSum / static_cast<double>(held.size()));
}

void PeakLimiter::process(float* samples, int frameCount) {
    processed += frameCount;
    // Summed afresh each time, so rounding never builds up: at rest the mean is exactly 1.
    heldSum = std::accumulate(held.begin(), held.end(), 0.0);
    for (int frame = 0; frame < frameCount; ++frame) {
        float* io = samples + static_cast<size_t>(frame * channels);
        newest = (newest + 1) % (lookAhead + 1);
        float* incoming = delayedFrame(0);
        float peak = 0.0f;
        for (int c = 0; c < channels; ++c) {
            incoming[c] = io[c];
            peak = std::max(peak, std::fabs(io[c]));
        }
        lastGain = nextGain(peak > ceiling ? ceiling / peak : 1.0f);
        limited += lastGain < 1.0f ? 1 : 0;
        const float* leaving = delayedFrame(lookAhead);
        for (int c = 0; c < channels; ++c) {
            // The clamp only removes the rounding of the gain's arithmetic.
            io[c] = std::clamp(leaving[c] * lastGain, -ceiling, ceiling);
        }
    }
}
