#include "sound/sound_limiter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr int kChannels = 2;

// Interleaved stereo frames: the sum of `voices` sines of different pitches, each of
// `amplitude`, the right channel a little quieter than the left.
std::vector<float> chord(int frames, int voices, float amplitude) {
    std::vector<float> samples(static_cast<size_t>(frames * kChannels));
    for (int i = 0; i < frames; ++i) {
        double sum = 0;
        for (int v = 0; v < voices; ++v) {
            sum += amplitude * std::sin(2 * M_PI * (220.0 + 37.0 * v) * i / kRate + v);
        }
        samples[static_cast<size_t>(i * kChannels)] = static_cast<float>(sum);
        samples[static_cast<size_t>(i * kChannels + 1)] = static_cast<float>(sum * 0.7);
    }
    return samples;
}

std::vector<float> silence(int frames) {
    return std::vector<float>(static_cast<size_t>(frames * kChannels), 0.0f);
}

std::vector<float> joined(std::vector<float> first, const std::vector<float>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

float peakOf(const std::vector<float>& samples, size_t from = 0, size_t to = SIZE_MAX) {
    float peak = 0;
    for (size_t i = from; i < std::min(to, samples.size()); ++i) {
        peak = std::max(peak, std::fabs(samples[i]));
    }
    return peak;
}

// Runs the samples through a limiter in buffers of `bufferFrames` and returns the output and
// the gain after each buffer.
struct Limited {
    std::vector<float> samples;
    std::vector<float> gains;
};

Limited limit(std::vector<float> samples, int bufferFrames) {
    PeakLimiter limiter(kChannels, kRate);
    Limited result;
    int frames = static_cast<int>(samples.size()) / kChannels;
    for (int at = 0; at < frames; at += bufferFrames) {
        limiter.process(samples.data() + at * kChannels, std::min(bufferFrames, frames - at));
        result.gains.push_back(limiter.gain());
    }
    result.samples = std::move(samples);
    return result;
}

int lookAhead() {
    return PeakLimiter(kChannels, kRate).lookAheadFrames();
}

} // namespace

// At the usual load the output is the input itself, only delayed: no gain change, so no pumping.
TEST(PeakLimiter, MixBelowTheCeilingPassesUnchangedOnlyDelayed) {
    std::vector<float> input = joined(chord(kRate, 3, 0.28f), silence(kRate / 10));
    ASSERT_LT(peakOf(input), PeakLimiter::kDefaultCeiling);
    ASSERT_GT(peakOf(input), 0.8f);
    Limited output = limit(input, 1024);
    size_t delay = static_cast<size_t>(lookAhead() * kChannels);
    EXPECT_GE(lookAhead(), 44);
    EXPECT_EQ(peakOf(output.samples, 0, delay), 0.0f);
    for (size_t i = delay; i < input.size(); ++i) {
        ASSERT_EQ(output.samples[i], input[i - delay]) << i;
    }
    for (float gain : output.gains) {
        EXPECT_EQ(gain, 1.0f);
    }
}

// Forty loud voices sum to about thirty times full scale: the output stays at the ceiling or
// below, yet stays loud. Every frame is its input times one gain for both channels, so the
// balance holds and no sample is cut off flat (which would be heard as distortion).
TEST(PeakLimiter, FortyLoudVoicesNeverPassTheCeilingOnlyTurnedDown) {
    std::vector<float> input = chord(kRate, 40, 0.8f);
    ASSERT_GT(peakOf(input), 10.0f);
    Limited output = limit(input, 1);
    EXPECT_LE(peakOf(output.samples), PeakLimiter::kDefaultCeiling);
    EXPECT_GT(peakOf(output.samples, output.samples.size() / 2), 0.8f);
    size_t delay = static_cast<size_t>(lookAhead() * kChannels);
    for (size_t i = delay; i < input.size(); ++i) {
        float expected = input[i - delay] * output.gains[i / kChannels];
        ASSERT_NEAR(output.samples[i], expected, 1e-6f) << i;
    }
}

// A burst after silence: the gain falls as a ramp over the look-ahead, not in one step (which
// would be heard as a click), and after the burst it rises back to exactly 1 within 1.2 s,
// after which the output is once again the input itself.
TEST(PeakLimiter, GainRampsDownBeforeABurstAndRecoversFullyAfterIt) {
    std::vector<float> quietAfter = chord(2 * kRate, 2, 0.2f);
    std::vector<float> input =
        joined(joined(chord(kRate / 20, 2, 0.2f), chord(kRate / 5, 30, 0.5f)), quietAfter);
    Limited output = limit(input, 1);
    float lowest = *std::min_element(output.gains.begin(), output.gains.end());
    EXPECT_LT(lowest, 0.2f);
    float largestDrop = 0;
    float largestRise = 0;
    for (size_t i = 1; i < output.gains.size(); ++i) {
        largestDrop = std::max(largestDrop, output.gains[i - 1] - output.gains[i]);
        largestRise = std::max(largestRise, output.gains[i] - output.gains[i - 1]);
    }
    EXPECT_LE(largestDrop, 1.01f / static_cast<float>(lookAhead() + 1));
    EXPECT_LT(largestRise, 0.001f);

    size_t burstEnd = static_cast<size_t>(kRate / 20 + kRate / 5 + lookAhead());
    size_t recovered = burstEnd + static_cast<size_t>(kRate * 6 / 5);
    EXPECT_LT(output.gains[burstEnd + static_cast<size_t>(kRate / 10)], 0.99f);
    for (size_t frame = recovered; frame < output.gains.size(); ++frame) {
        ASSERT_EQ(output.gains[frame], 1.0f) << frame;
    }
    size_t delay = static_cast<size_t>(lookAhead() * kChannels);
    for (size_t i = recovered * kChannels; i < input.size(); ++i) {
        ASSERT_EQ(output.samples[i], input[i - delay]) << i;
    }
}

// The device asks for buffers of any size: the output does not depend on how it is cut up.
TEST(PeakLimiter, OutputDoesNotDependOnTheBufferSize) {
    std::vector<float> input =
        joined(joined(chord(kRate / 4, 2, 0.3f), chord(kRate / 4, 20, 0.6f)), silence(kRate / 4));
    std::vector<float> whole = limit(input, static_cast<int>(input.size())).samples;
    for (int bufferFrames : {1, 7, 512, 1024}) {
        std::vector<float> cut = limit(input, bufferFrames).samples;
        for (size_t i = 0; i < whole.size(); ++i) {
            ASSERT_EQ(cut[i], whole[i]) << bufferFrames << " " << i;
        }
    }
}
