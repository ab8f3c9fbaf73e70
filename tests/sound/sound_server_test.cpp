#include "sound/sound_fixture.h"
#include "utils/utils_fs.h"

#include <algorithm>
#include <string>
#include <vector>

TEST_F(SoundTest, EffectIsHeardAtFullVolumeButNotAtZeroNorWhilePaused) {
    writeSound("tone.wav", toneWav(150));
    {
        CSoundServer server;
        float effects = 1.0f;
        server.setVolumes(0, nullptr, &effects);
        recorder.startRecording(server);
        server.playEffect("tone", -1.0f);
        recorder.waitUntil(400);
        RecordedOutput output = recorder.stop(server);
        EXPECT_GT(output.peak(0, output.durationMs()), kAudible);
    }
    {
        CSoundServer server;
        recorder.startRecording(server);
        server.playEffect("tone", -1.0f); // the effect volume is still 0
        server.playEffect("tone", 0.05f);
        server.setPauseLevel(2);
        server.playEffect("tone", 1.0f);
        recorder.waitUntil(400);
        RecordedOutput output = recorder.stop(server);
        EXPECT_GT(output.durationMs(), 300);
        EXPECT_LE(output.peak(0, output.durationMs()), kSilent);
        EXPECT_EQ(server.loadedSampleCount(), 0);
    }
}

TEST_F(SoundTest, LoopedEffectPlaysOnUntilItsSlotIsStoppedEvenWhenQuiet) {
    // 60 ms of tone and 40 ms of silence, so each pass of the loop is heard as one beat.
    writeSound("tick.wav", toneWav(60, 0.5f, 40));
    for (float volume : {1.0f, 0.15f}) {
        CSoundServer server;
        recorder.startRecording(server);
        int slot = server.playLoopedEffect("tick", volume);
        EXPECT_EQ(slot, 0);
        recorder.waitUntil(700);
        server.stopLoopedEffect(slot);
        recorder.waitUntil(1400);
        RecordedOutput output = recorder.stop(server);
        EXPECT_GE(output.onsets(kAudible, 20), 5) << volume;
        EXPECT_LE(output.peak(output.durationMs() - 300, output.durationMs()), kSilent) << volume;
    }
}

namespace {

// Peaks of the output in consecutive 50 ms windows.
std::vector<int> envelope(const RecordedOutput& output) {
    std::vector<int> peaks;
    for (int at = 0; at + 50 <= output.durationMs(); at += 50) {
        peaks.push_back(output.peak(at, at + 50));
    }
    return peaks;
}

} // namespace

TEST_F(SoundTest, MusicFadesInAndOutAndAskingForThePlayingMusicChangesNothing) {
    // WAV music: the mixer opens music streams of every format it knows the same way.
    program.writeData("sounds/music/theme.wav", toneWav(1000));
    CSoundServer server;
    float music = 1.0f;
    server.setVolumes(0, &music, nullptr);
    recorder.startRecording(server);
    server.setMusic("theme.wav");
    recorder.waitUntil(1900);
    server.setMusic("theme.wav");
    recorder.waitUntil(2400);
    server.setMusic("");
    recorder.waitUntil(4400);
    std::vector<int> peaks = envelope(recorder.stop(server));

    int full = *std::max_element(peaks.begin(), peaks.end());
    EXPECT_GT(full, 10000);
    size_t start = 0;
    while (start < peaks.size() && peaks[start] <= kSilent) {
        ++start;
    }
    size_t firstFull = start;
    while (firstFull < peaks.size() && peaks[firstFull] < full * 9 / 10) {
        ++firstFull;
    }
    size_t lastFull = peaks.size() - 1;
    while (lastFull > firstFull && peaks[lastFull] < full * 9 / 10) {
        --lastFull;
    }
    size_t end = lastFull;
    while (end < peaks.size() && peaks[end] > kSilent) {
        ++end;
    }
    ASSERT_LT(start + 1, peaks.size());
    // Rises from quiet over several windows.
    EXPECT_LT(peaks[start], full / 4);
    EXPECT_GE(firstFull - start, 10u);
    // Stays up while the same music is asked for again: a restart would fade out and in.
    EXPECT_GE(*std::min_element(peaks.begin() + firstFull, peaks.begin() + lastFull + 1),
              full * 8 / 10);
    // Falls over several windows to silence, which lasts to the end.
    EXPECT_GE(end - lastFull, 10u);
    EXPECT_LT(end, peaks.size());
    EXPECT_LE(*std::max_element(peaks.begin() + end, peaks.end()), kSilent);
}

TEST_F(SoundTest, SameEffectFiveTimesWithinHalfASecondPlaysThreeCopiesThenAgainLater) {
    writeSound("blip.wav", toneWav(15));
    CSoundServer server;
    recorder.startRecording(server);
    for (int i = 0; i < 5; ++i) {
        recorder.waitUntil(100 + 80 * i);
        server.playEffect("blip", 1.0f);
    }
    // The first copy was started more than 500 ms ago.
    recorder.waitUntil(800);
    server.playEffect("blip", 1.0f);
    recorder.waitUntil(1000);
    RecordedOutput output = recorder.stop(server);
    EXPECT_EQ(output.onsets(kAudible, 20), 4);
    EXPECT_EQ(server.loadedSampleCount(), 3);
}

TEST_F(SoundTest, NameWithoutExtensionGetsWavAndNamesOfOneFileShareItsEntries) {
    writeSound("beep.wav", toneWav(50));
    writeSound("beep.v2", toneWav(50));
    CSoundServer server;
    recorder.startSilently(server);
    // Preloading hands over the resolved path of the file.
    EXPECT_EQ(server.loadSample(resolveDataPath("sounds\\beep.wav"), false), 0);
    server.playEffect("beep", 1.0f);
    server.playEffect("beep.v2", 1.0f);
    server.shutdown();
    EXPECT_EQ(server.loadedSampleCount(), 2);
}

TEST_F(SoundTest, LoopedSlotsAreHeldFromTheRequestSoTheThirtyThirdIsRefused) {
    program.writeData("sounds/music/theme.wav", toneWav(300));
    writeSound("hum.wav", toneWav(100));
    CSoundServer server;
    float music = 1.0f;
    server.setVolumes(0, &music, nullptr);
    recorder.startSilently(server);
    // The sound thread fades the music in for 1.5 s while the requests wait in its queue.
    server.setMusic("theme.wav");
    for (int i = 0; i < CSoundServer::kSlotCount; ++i) {
        EXPECT_EQ(server.playLoopedEffect("hum", 0.15f), i);
    }
    EXPECT_EQ(server.playLoopedEffect("hum", 0.15f), -1);
    server.stopLoopedEffect(0);
    EXPECT_EQ(server.playLoopedEffect("hum", 0.15f), 0);
    EXPECT_EQ(server.playLoopedEffect("hum", 0.15f), -1);
    server.stopLoopedEffect(-1);
    server.stopLoopedEffect(CSoundServer::kSlotCount);
    server.shutdown();
}

TEST_F(SoundTest, FullTableRefusesFurtherSoundsInsteadOfWritingPastItsEnd) {
    constexpr int kSounds = 110;
    for (int i = 0; i < kSounds; ++i) {
        writeSound("s" + std::to_string(i) + ".wav", toneWav(2));
    }
    CSoundServer server;
    recorder.startSilently(server);
    for (int i = 0; i < kSounds; ++i) {
        server.playEffect("s" + std::to_string(i), 1.0f);
    }
    server.shutdown();
    EXPECT_EQ(server.loadedSampleCount(), 100);
}

TEST_F(SoundTest, WithoutSoundDeviceEveryRequestIsIgnored) {
    writeSound("tone.wav", toneWav(50));
    CSoundServer server;
    server.start(0);
    EXPECT_FALSE(server.isRunning());
    server.playEffect("tone", 1.0f);
    server.playEffect("", 1.0f);
    EXPECT_EQ(server.playLoopedEffect("tone", 1.0f), -1);
    server.stopLoopedEffect(0);
    server.setMusic("theme.ogg");
    EXPECT_EQ(server.loadSample("tone", false), 0);
    EXPECT_EQ(server.loadedSampleCount(), 0);
    server.shutdown();
    server.shutdown();
}

TEST_F(SoundTest, ShutdownRunsOnceAndTheServerNeverStartsAgain) {
    writeSound("tone.wav", toneWav(50));
    CSoundServer server;
    recorder.startSilently(server);
    server.shutdown();
    EXPECT_FALSE(server.isRunning());
    server.shutdown();
    server.start(1);
    EXPECT_FALSE(server.isRunning());
    EXPECT_EQ(server.playLoopedEffect("tone", 1.0f), -1);
}

TEST(SoundVolumes, SliderValuesAreRemappedAndTheSlidersKeepThePlayersValue) {
    CSoundServer server;
    float music = 0.95f;
    float effects = 0.5f;
    server.setVolumes(0.05f, &music, &effects);
    EXPECT_FLOAT_EQ(server.getMusicVolume(), 1.0f);
    EXPECT_NEAR(server.getEffectVolume(), 0.5f, 1e-6);
    EXPECT_FLOAT_EQ(music, 0.95f);
    EXPECT_FLOAT_EQ(effects, 0.5f);

    // Applying the written-back value again and again keeps both values.
    float slider = 0.75f;
    for (int i = 0; i < 5; ++i) {
        server.setVolumes(0.05f, &slider, nullptr);
        EXPECT_FLOAT_EQ(slider, 0.75f);
        EXPECT_NEAR(server.getMusicVolume(), 0.7f / 0.9f, 1e-6);
    }

    float quiet = 0.1f;
    float beyond = 1.2f;
    server.setVolumes(0.05f, &quiet, &beyond);
    EXPECT_FLOAT_EQ(server.getMusicVolume(), 0.0f);
    EXPECT_FLOAT_EQ(server.getEffectVolume(), 1.0f);
    EXPECT_FLOAT_EQ(quiet, 0.1f);
    EXPECT_FLOAT_EQ(beyond, 1.0f);

    server.setVolumes(0, nullptr, nullptr);
    EXPECT_FLOAT_EQ(server.getMusicVolume(), 0.0f);
    EXPECT_FLOAT_EQ(server.getEffectVolume(), 1.0f);
}
