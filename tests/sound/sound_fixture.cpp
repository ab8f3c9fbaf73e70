#include "sound/sound_fixture.h"

#include "platform/clock.h"
#include "utils/utils_lang.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kRate = 44100;
constexpr float kFullScale = 32768.0f;

void appendWord(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

int framesIn(int ms) {
    return static_cast<int>(static_cast<int64_t>(ms) * kRate / 1000);
}

// A sample of the recording on the 16-bit scale.
int level(float sample) {
    return static_cast<int>(std::fabs(sample) * kFullScale);
}

} // namespace

std::string toneWav(int toneMs, float amplitude, int silentMs) {
    int toneFrames = framesIn(toneMs);
    int frames = toneFrames + framesIn(silentMs);
    std::string data;
    for (int i = 0; i < frames; ++i) {
        double value = i < toneFrames ? amplitude * std::sin(2 * M_PI * 440.0 * i / kRate) : 0;
        appendWord(data, static_cast<uint16_t>(static_cast<int16_t>(value * 32767)), 2);
    }
    std::string wav = "RIFF";
    appendWord(wav, static_cast<uint32_t>(36 + data.size()), 4);
    wav += "WAVEfmt ";
    appendWord(wav, 16, 4);
    appendWord(wav, 1, 2); // PCM
    appendWord(wav, 1, 2); // mono
    appendWord(wav, kRate, 4);
    appendWord(wav, kRate * 2, 4); // bytes per second
    appendWord(wav, 2, 2);         // bytes per frame
    appendWord(wav, 16, 2);        // bits per sample
    wav += "data";
    appendWord(wav, static_cast<uint32_t>(data.size()), 4);
    return wav + data;
}

RecordedOutput::RecordedOutput(const std::string& bytes) : samples(bytes.size() / sizeof(float)) {
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
}

int RecordedOutput::durationMs() const {
    return static_cast<int>(static_cast<int64_t>(samples.size() / 2) * 1000 / kRate);
}

int RecordedOutput::peak(int fromMs, int toMs) const {
    size_t from = static_cast<size_t>(framesIn(fromMs < 0 ? 0 : fromMs)) * 2;
    size_t to = std::min(samples.size(), static_cast<size_t>(framesIn(toMs)) * 2);
    int loudest = 0;
    for (size_t i = from; i < to; ++i) {
        loudest = std::max(loudest, level(samples[i]));
    }
    return loudest;
}

int RecordedOutput::onsets(int threshold, int gapMs) const {
    size_t gapSamples = static_cast<size_t>(framesIn(gapMs)) * 2;
    size_t quietRun = gapSamples;
    int count = 0;
    for (float sample : samples) {
        if (level(sample) <= threshold) {
            ++quietRun;
            continue;
        }
        if (quietRun >= gapSamples) {
            ++count;
        }
        quietRun = 0;
    }
    return count;
}

int RecordedOutput::clippedSamples() const {
    return static_cast<int>(std::count_if(samples.begin(), samples.end(),
                                          [](float sample) { return std::fabs(sample) >= 1.0f; }));
}

void SoundTest::SetUp() {
    setLanguage("data_en");
}

void SoundTest::writeSound(const std::string& name, const std::string& bytes) const {
    program.writeData("sounds/" + name, bytes);
}

void SoundRecorder::startSilently(CSoundServer& server) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    server.start(1);
    ASSERT_TRUE(server.isRunning());
    startTick = monotonicMilliseconds();
}

void SoundRecorder::startRecording(CSoundServer& server) {
    static int recordings = 0;
    recordingFile = "output" + std::to_string(++recordings) + ".raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", (folder.native() + recordingFile).c_str(), 1);
    server.start(1);
    ASSERT_TRUE(server.isRunning());
    startTick = monotonicMilliseconds();
}

RecordedOutput SoundRecorder::stop(CSoundServer& server) {
    server.shutdown();
    return RecordedOutput(folder.read(recordingFile));
}

int SoundRecorder::elapsedMs() const {
    return static_cast<int>(monotonicMilliseconds() - startTick);
}

void SoundRecorder::waitUntil(int ms) const {
    int left = ms - elapsedMs();
    if (left > 0) {
        sleepMilliseconds(static_cast<uint32_t>(left));
    }
}
