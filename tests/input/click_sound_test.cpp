#include "input_fixture.h"

#include "platform/clock.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

// SDL's disk driver writes what plays, in real time, as 32-bit float stereo at 44100 Hz (the
// mixer's format); levels below are on the 16-bit scale.
const int kFramesPerMs = 44100 / 1000;
const int kAudible = 300;
const int kSilent = 8;

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The loudest sample from `fromMs` to `toMs` of the recording.
int peak(const std::string& recording, int fromMs, int toMs) {
    size_t count = recording.size() / sizeof(float);
    std::vector<float> samples(count);
    std::memcpy(samples.data(), recording.data(), count * sizeof(float));
    size_t from = static_cast<size_t>(fromMs) * kFramesPerMs * 2;
    size_t to = std::min(count, static_cast<size_t>(toMs) * kFramesPerMs * 2);
    int loudest = 0;
    for (size_t i = from; i < to; ++i) {
        loudest = std::max(loudest, static_cast<int>(std::fabs(samples[i]) * 32768.0f));
    }
    return loudest;
}

using ClickSound = InputTest;

// The engine's sound server starts once per process: this is the program's only test that
// starts it.
TEST_F(ClickSound, AClickPlaysTheButtonsSoundAndAButtonWithoutOneIsSilent) {
    const std::string source = __FILE__;
    program.writeData("sounds/click.wav", fileBytes(source.substr(0, source.rfind("tests/input/")) +
                                                    "data/sounds/click.wav"));
    button("quiet", irr::core::vector3df(-6, 0, 0));
    button("loud", irr::core::vector3df(6, 0, 0), "click", "-Event.Mouse.Click.Sound:click\n");
    frame();
    startRunning({"sounds\\click.wav"});

    CSoundServer& sound = getEngine().getSound();
    float music = 1.0f;
    float effects = 1.0f;
    sound.setVolumes(0, &music, &effects);
    const std::string recording = program.folder().native() + "output.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", recording.c_str(), 1);
    sound.start(1);
    ASSERT_TRUE(sound.isRunning());
    uint32_t start = monotonicMilliseconds();
    auto waitUntil = [start](uint32_t ms) {
        uint32_t elapsed = monotonicMilliseconds() - start;
        if (elapsed < ms) {
            sleepMilliseconds(ms - elapsed);
        }
    };

    waitUntil(200);
    clickAt(irr::core::vector3df(-6, 0, 0));
    waitUntil(700);
    clickAt(irr::core::vector3df(6, 0, 0));
    EXPECT_EQ(count("click"), 2);
    waitUntil(1400);
    sound.shutdown();
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");

    std::string output = fileBytes(recording);
    EXPECT_LE(peak(output, 0, 650), kSilent);
    EXPECT_GT(peak(output, 650, 1400), kAudible);
}

} // namespace
