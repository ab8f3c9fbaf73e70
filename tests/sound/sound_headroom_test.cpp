#include "sound/sound_fixture.h"
#include "utils/utils_str.h"

namespace {

constexpr int kEffectCount = 40;

} // namespace

// Forty effects start at once over music, all at full volume: their sum is many times full
// scale, yet no sample of the output reaches it. The output is limited, not turned down: it stays
// loud while they play, and the music is back at its own level soon after they end.
TEST_F(SoundTest, FortyEffectsAtOnceOverMusicNeverReachFullScale) {
    program.writeData("sounds/music/theme.wav", toneWav(1000, 0.5f));
    for (int i = 0; i < kEffectCount; ++i) {
        writeSound(format("hit%d.wav", i), toneWav(300, 0.9f));
    }
    CSoundServer server;
    float music = 1.0f;
    float effects = 1.0f;
    server.setVolumes(0, &music, &effects);
    recorder.startRecording(server);
    server.setMusic("theme.wav");
    // The music has faded in after 1.5 s.
    recorder.waitUntil(2100);
    for (int i = 0; i < kEffectCount; ++i) {
        server.playEffect(format("hit%d", i), -1.0f);
    }
    recorder.waitUntil(4000);
    RecordedOutput output = recorder.stop(server);

    EXPECT_EQ(output.clippedSamples(), 0);
    // Windows of the recording keep away from the moments the effects start and end, which the
    // output may reach a little earlier or later than the clock says.
    int musicAlone = output.peak(1500, 1800);
    EXPECT_GT(musicAlone, 15000);
    EXPECT_GT(output.peak(2100, 3000), 28000);
    EXPECT_GT(output.peak(3600, 4000), musicAlone * 95 / 100);
}
