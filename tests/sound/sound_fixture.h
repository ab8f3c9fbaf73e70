#pragma once

#include "sound/server_sound.h"
#include "support/test_program.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// A tone as a 16-bit mono PCM WAV file at 44100 Hz, with `silentMs` of silence after it.
std::string toneWav(int toneMs, float amplitude = 0.5f, int silentMs = 0);

// What the sound thread played, as SDL's disk driver wrote it in real time: 32-bit float stereo
// at 44100 Hz, the mixer's own format. Times are milliseconds from the moment the output was
// opened; levels are on the 16-bit scale (full scale 32768) the device may convert to.
class RecordedOutput {
public:
    explicit RecordedOutput(const std::string& bytes);

    int durationMs() const;
    // The largest sample magnitude from `fromMs` to `toMs` (clipped to the recording).
    int peak(int fromMs, int toMs) const;
    // How often the output turns louder than `threshold` after staying below it for at least
    // `gapMs`; the first sound counts.
    int onsets(int threshold, int gapMs) const;
    // Samples at full scale or beyond: what a device would clip.
    int clippedSamples() const;

private:
    std::vector<float> samples;
};

// Samples quieter than this are taken for silence, louder than kAudible for sound.
constexpr int kSilent = 8;
constexpr int kAudible = 300;

// Starts sound servers on SDL's dummy driver (silent) or on its disk driver, which writes what
// plays into a file of the folder, and keeps the time since the start.
class SoundRecorder {
public:
    explicit SoundRecorder(const TemporaryFolder& folder) : folder(folder) {}

    void startSilently(CSoundServer& server);
    void startRecording(CSoundServer& server);
    // Shuts the server down and returns what it played since startRecording.
    RecordedOutput stop(CSoundServer& server);
    // Milliseconds since the last start.
    int elapsedMs() const;
    // Sleeps until `ms` after the last start.
    void waitUntil(int ms) const;

private:
    const TemporaryFolder& folder;
    std::string recordingFile;
    uint32_t startTick = 0;
};

// A program folder of its own in English whose sounds the tests write.
class SoundTest : public testing::Test {
protected:
    void SetUp() override;

    // Writes a file below the data folder's "sounds\".
    void writeSound(const std::string& name, const std::string& bytes) const;

    TestProgram program;
    SoundRecorder recorder{program.folder()};
};
