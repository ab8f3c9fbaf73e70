#include "core/vellumengine.h"
#include "sound/sound_fixture.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

// Ends the process when the test has not finished in time: a deadlock is a failure, not a hang.
class Watchdog {
public:
    explicit Watchdog(int seconds)
        : watcher([this, seconds] {
              std::unique_lock<std::mutex> guard(mutex);
              if (!finished.wait_for(guard, std::chrono::seconds(seconds),
                                     [this] { return done; })) {
                  std::fprintf(stderr, "The sound server did not finish in %i s\n", seconds);
                  std::_Exit(1);
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard<std::mutex> guard(mutex);
            done = true;
        }
        finished.notify_one();
        watcher.join();
    }

private:
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::thread watcher;
};

} // namespace

// The game thread holds the scene lock while it posts, as it does while drawing: the sound
// thread must never need it.
TEST_F(SoundTest, ManyRequestsWhileThePauseLevelChangesAreAllHandledWithoutDeadlock) {
    writeSound("a.wav", toneWav(30));
    writeSound("b.wav", toneWav(30));
    writeSound("loop.wav", toneWav(80));
    Watchdog watchdog(30);
    CSoundServer server;
    // Quiet enough that looped effects start and stop without fades.
    float music = 1.0f;
    float effects = 0.15f;
    server.setVolumes(0, &music, &effects);
    recorder.startRecording(server);
    {
        ScopedLock sceneGuard(getEngine().getSceneLock());
        int loops[4] = {-1, -1, -1, -1};
        int started = 0;
        for (int i = 0; i < 2000; ++i) {
            switch (i % 10) {
            case 0:
                server.setPauseLevel((i / 10) % 7 == 3 ? 2 : 0);
                server.setVolumes(0, nullptr, nullptr);
                break;
            case 1: {
                int& slot = loops[(i / 10) % 4];
                server.stopLoopedEffect(slot);
                slot = server.playLoopedEffect("loop", 0.15f);
                started += slot >= 0 ? 1 : 0;
                break;
            }
            default:
                server.playEffect(i % 2 ? "a" : "b", -1.0f);
                break;
            }
            if (i % 100 == 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        }
        EXPECT_GT(started, 150);
        server.setPauseLevel(0);
        for (int slot : loops) {
            server.stopLoopedEffect(slot);
        }
    }
    // Every stop reached the thread: nothing plays on.
    recorder.waitUntil(recorder.elapsedMs() + 500);
    RecordedOutput output = recorder.stop(server);
    EXPECT_GT(output.peak(0, output.durationMs() - 400), kAudible);
    EXPECT_LE(output.peak(output.durationMs() - 250, output.durationMs()), kSilent);
    EXPECT_LE(server.loadedSampleCount(), 9);
}
