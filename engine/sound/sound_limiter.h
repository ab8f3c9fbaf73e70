#pragma once

#include <vector>

// Keeps the mixed output below full scale however many sounds play at once. The mixer sums its
// channels in floating point, where a sum may pass 1.0; this limiter then scales the frames down
// just enough that no sample exceeds the ceiling, before the output is converted to the device's
// format.
//
// Below the ceiling the gain is exactly 1: at the usual load the output is the mix itself, so
// nothing pumps. Above it the gain falls smoothly over a short look-ahead (the output is delayed
// by that much), so a peak is met by a fade rather than a jump that would be heard as a click, and
// it rises again over the release time. All channels of a frame share one gain, which keeps the
// stereo picture.
class PeakLimiter {
public:
    // The largest magnitude the output reaches: 1 dB below full scale, which leaves room for
    // the device's own resampling to overshoot a little.
    static constexpr float kDefaultCeiling = 0.891f;
    static constexpr float kLookAheadMs = 2.0f;
    static constexpr float kReleaseMs = 150.0f;

    PeakLimiter(int channels, int sampleRate, float ceiling = kDefaultCeiling);

    // Limits `frameCount` interleaved frames in place. What comes out is what went in
    // lookAheadFrames() earlier (silence at the start).
    void process(float* samples, int frameCount);

    int channelCount() const { return channels; }
    int lookAheadFrames() const { return lookAhead; }
    // The gain given to the last frame that came out.
    float gain() const { return lastGain; }
    // Frames that came out so far, and how many of them were turned down.
    long long processedFrames() const { return processed; }
    long long limitedFrames() const { return limited; }

private:
    // The frame of the delay line `back` frames older than the newest one.
    float* delayedFrame(int back);
    // Takes in the gain the newest frame needs and returns the gain for the frame leaving the
    // delay line.
    float nextGain(float required);

    const int channels;
    const float ceiling;
    const int lookAhead;
    // The fraction of the way back to 1 the gain recovers each frame.
    const float releaseStep;

    // The last lookAhead + 1 input frames in a ring, the newest at `newest`.
    std::vector<float> delay;
    // For the same frames: the released gain and the held gain (the smallest released gain of
    // the window ending at that frame).
    std::vector<float> released;
    std::vector<float> held;
    int newest = 0;
    float releasedGain = 1.0f;
    float windowMinimum = 1.0f;
    // Sum of `held`, whose mean is the gain of the frame leaving the delay line.
    double heldSum;
    float lastGain = 1.0f;
    long long processed = 0;
    long long limited = 0;
};
