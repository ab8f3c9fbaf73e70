#include "effects_fixture.h"

#include "animators/asoundanimators.h"
#include "scene/node_utilities.h"
#include "support/temporary_folder.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

// A tenth of a second of a 16-bit mono square wave as a WAV file.
std::string squareWave() {
    const uint32_t rate = 22050;
    const uint32_t samples = rate / 10;
    std::string data;
    for (uint32_t k = 0; k < samples; ++k) {
        int16_t value = (k / 50) % 2 == 0 ? 8000 : -8000;
        data.append(reinterpret_cast<const char*>(&value), sizeof value);
    }
    std::string wave;
    auto put32 = [&wave](uint32_t value) { wave.append(reinterpret_cast<const char*>(&value), 4); };
    auto put16 = [&wave](uint16_t value) { wave.append(reinterpret_cast<const char*>(&value), 2); };
    wave += "RIFF";
    put32(static_cast<uint32_t>(36 + data.size()));
    wave += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(1);
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    wave += "data";
    put32(static_cast<uint32_t>(data.size()));
    return wave + data;
}

// The sound server runs on SDL's silent output. Looped sounds are checked through the server's
// slots, which it hands out in turn and refuses while they are held; sounds played once through
// the sample entries the sound thread adds for each new sound it plays. The sound files live in a
// folder of the suite, named by absolute paths, since the sound thread may still read them after
// a test's own program folder is gone.
class SoundAnimators : public EffectTest {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        sounds = new TemporaryFolder();
        for (const char* name : {"hum", "boom", "bang", "fence1", "fence2", "fence3"}) {
            sounds->write(std::string(name) + ".wav", squareWave());
        }
        CSoundServer& server = getEngine().getSound();
        server.start(1);
        float effects = 1;
        server.setVolumes(0, nullptr, &effects);
        // Every copy the looped sound may have, entered now: the probes below then never add
        // sample entries, and only sounds played once change the count.
        for (int copy = 0; copy < 3; ++copy) {
            server.loadSample(sound("hum"), true);
        }
    }
    static void TearDownTestSuite() {
        // The sound thread handles every request already made before it stops, so the files
        // may go afterwards.
        getEngine().getSound().shutdown();
        delete sounds;
        sounds = nullptr;
    }

    void SetUp() override {
        EffectTest::SetUp();
        ASSERT_TRUE(getEngine().getSound().isRunning());
    }

    // The engine's absolute name of a sound file of the suite.
    static std::string sound(const char* name) { return sounds->engine() + name + ".wav"; }

    // Takes the looped-effect slots in the server's turn until one is refused or all were
    // given, then lets them go. Returns the refused slot (held by someone else), -1 when none
    // was refused, -2 when the very first was refused (which one is then unknown).
    static int firstHeldSlot() {
        CSoundServer& server = getEngine().getSound();
        std::vector<int> taken;
        int held = -1;
        for (int k = 0; k < CSoundServer::kSlotCount; ++k) {
            // Quiet enough to start without a fade, so the sound thread never sleeps for it.
            int slot = server.playLoopedEffect(sound("hum"), 0.15f);
            if (slot < 0) {
                held = taken.empty() ? -2 : (taken.back() + 1) % CSoundServer::kSlotCount;
                break;
            }
            taken.push_back(slot);
        }
        for (int slot : taken) {
            server.stopLoopedEffect(slot);
        }
        return held;
    }

    // Plays a fence sound once and waits until the sound thread has handled it, that is until
    // it holds `expected` sample entries (the fence's among them; every request posted before
    // the fence is handled by then). Returns the count a moment later, so a request that came
    // before the fence shows as one entry too many.
    static int samplesAfterFence(const char* fence, int expected) {
        CSoundServer& server = getEngine().getSound();
        server.playEffect(sound(fence), -1.0f);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (server.loadedSampleCount() < expected &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        return server.loadedSampleCount();
    }

    static TemporaryFolder* sounds;
};

TemporaryFolder* SoundAnimators::sounds = nullptr;

TEST_F(SoundAnimators, LoopedSoundKeepsItsSlotWhileHiddenAndLetsItGoWithTheNode) {
    CSpriteNode* sprite = spriteWith("-Event.WhileVisible.Sound:" + sound("hum") + "\n");
    ASSERT_NE(sprite, nullptr);
    auto* looped = firstOf<CLoopedSoundAnimator>(sprite);
    ASSERT_NE(looped, nullptr);
    EXPECT_EQ(looped->getInterval(), CBaseAnimator::kDormantInterval);
    int slot = looped->getSoundSlot();
    ASSERT_GE(slot, 0);

    sprite->setVisible(false);
    framesFromTo(kStart, kStart + 200, 25);
    EXPECT_EQ(firstHeldSlot(), slot);

    deleteNode(sprite);
    frameAt(kStart + 225);
    EXPECT_EQ(firstHeldSlot(), -1);
}

TEST_F(SoundAnimators, SilentCreationGetsNoLoopedSound) {
    SpriteCreationParams silent;
    silent.Silent = 1;
    CSpriteNode* sprite = spriteWith("-Event.WhileVisible.Sound:" + sound("hum") + "\n", &silent);
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(countOf<CLoopedSoundAnimator>(sprite), 0);
    EXPECT_EQ(firstHeldSlot(), -1);
}

TEST_F(SoundAnimators, DestructionSoundPlaysOnceWhenTheNodeIsDeleted) {
    CSoundServer& server = getEngine().getSound();
    int before = server.loadedSampleCount();
    CSpriteNode* sprite = spriteWith("-Event.Destroyed.Sound:" + sound("boom") + "\n");
    ASSERT_NE(sprite, nullptr);
    auto* destroyed = firstOf<CDestroySoundAnimator>(sprite);
    ASSERT_NE(destroyed, nullptr);
    EXPECT_EQ(destroyed->getInterval(), CBaseAnimator::kDormantInterval);
    framesFromTo(kStart, kStart + 200, 25);
    sprite->setVisible(false);
    frameAt(kStart + 225);
    EXPECT_EQ(samplesAfterFence("fence1", before + 1), before + 1);

    deleteNode(sprite);
    frameAt(kStart + 250);
    EXPECT_EQ(samplesAfterFence("fence2", before + 3), before + 3);
}

TEST_F(SoundAnimators, NoDestructionSoundDuringExitOrAtPauseLevel99) {
    CSoundServer& server = getEngine().getSound();
    int before = server.loadedSampleCount();
    std::string keys = "-Event.Destroyed.Sound:" + sound("bang") + "\n";
    CSpriteNode* atExit = spriteWith("-Name:bangAtExit\n" + keys);
    CSpriteNode* paused = spriteWith("-Name:bangPaused\n" + keys);
    ASSERT_NE(atExit, nullptr);
    ASSERT_NE(paused, nullptr);

    getEngine().setStage(STAGE_EXITING);
    deleteNode(atExit);
    frameAt(kStart);
    getEngine().setStage(STAGE_RUNNING);

    getEngine().setPauseLevel(99, true);
    // The server itself would play: only the animator's own check keeps it quiet.
    server.setPauseLevel(0);
    deleteNode(paused);
    frameAt(kStart + 25);
    EXPECT_EQ(getNodeByName("bangAtExit"), nullptr);
    EXPECT_EQ(getNodeByName("bangPaused"), nullptr);
    EXPECT_EQ(samplesAfterFence("fence3", before + 1), before + 1);
}

} // namespace
