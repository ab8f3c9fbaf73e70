#pragma once

#include "platform/locks.h"
#include "platform/message_queue.h"
#include "sound/sound_table.h"

#include <atomic>
#include <future>
#include <memory>
#include <string>
#include <thread>

enum class SoundOpenResult;
typedef struct _Mix_Music Mix_Music;

// The data path of a sound effect name: below "sounds\", with ".wav" added to a name without an
// extension.
std::string soundEffectPath(const std::string& name);

// Plays sound effects, looped effects in numbered slots and one background music stream. The
// audio library is driven by a sound thread of its own; the game threads only post it messages,
// so a fade (which sleeps) never stalls a frame. The sound thread never takes the scene lock or
// any other engine lock but the server's own (logging and path conversion hold leaf locks of
// their own only); it learns the engine's pause level from setPauseLevel.
class CSoundServer {
public:
    static constexpr int kSlotCount = SoundDeviceTable::kSlotCount;

    CSoundServer();
    // Shuts the server down.
    ~CSoundServer();
    CSoundServer(const CSoundServer&) = delete;
    CSoundServer& operator=(const CSoundServer&) = delete;

    // Starts the sound thread, which opens the audio output, unless soundDevice (the
    // configuration's SoundDevice) is 0. Without a usable output the game stays silent and
    // the debug log says why. Without a thread every request below is ignored.
    void start(int soundDevice);
    // Stops the thread (after the fades it is in) and frees every sample; only the first call
    // does anything, and the server never starts again.
    void shutdown();
    bool isRunning() const { return running; }

    // Plays the effect once at the volume (0..1; not above 0 means the effect volume). Names
    // are below "sounds\" ("click" is "sounds\click.wav"); a name without "." gets ".wav".
    // Nothing plays below volume 0.1 or while the game is paused (level 2 or more); an empty
    // name is a fatal error.
    void playEffect(const std::string& name, float volume);
    // Plays the effect looped in the next slot and returns the slot, or -1 when that slot is
    // still held, the volume is below 0.1 or the game is paused. The slot is held until
    // stopLoopedEffect lets it go.
    int playLoopedEffect(const std::string& name, float volume);
    // Fades out and stops the looped effect of the slot and lets the slot go.
    void stopLoopedEffect(int slot);
    // Fades the current music out and the named one (below "sounds\music\", or a path in the
    // game folder) in, looped; "" only stops the music. Asking again for the music that
    // plays does nothing.
    void setMusic(const std::string& name);
    // The music name last taken up by setMusic ("" for none).
    std::string getMusicName();
    // Takes the given volumes (0..1, either may be null) into use, remapped from
    // [margin, 1 - margin] to [0, 1]: above 0.9 becomes 1, below 0.1 becomes 0. Each given
    // value is written back as the player's own value kept within 0..1, so applying it again
    // gives the same volume. The thread takes up the volumes and the pause level.
    void setVolumes(float margin, float* music, float* effects);
    // The engine's pause level: at 2 or more nothing new plays and the volumes refresh to 0.
    void setPauseLevel(int level) { pauseLevel = level; }

    // Loads the sound (resolved as in playEffect) into the sample table; the index of its
    // entry, or -1 when the table is full (a fatal error unless quiet). 0 without a thread.
    int loadSample(const std::string& name, bool quiet);
    int loadedSampleCount();

    float getMusicVolume() const { return musicVolume; }
    float getEffectVolume() const { return effectVolume; }

private:
    // Requests below this volume play nothing.
    static constexpr float kQuietest = 0.1f;

    // A sound asked for by name, with its file resolved on the game thread.
    struct SoundRequest {
        std::string name;
        std::string path;
    };
    // A sample ready to start on a channel whose volume is set.
    struct PreparedSound {
        int channel = -1;
        Mix_Chunk* sample = nullptr;
    };

    // Game threads.
    SoundRequest requestFor(const std::string& name) const;
    void postRequest(uint32_t code, const std::string& name, intptr_t packed);
    float requestedVolume(float volume) const;
    bool isPaused() const { return pauseLevel >= 2; }

    // The sound thread.
    void threadMain(std::promise<SoundOpenResult>* opened);
    void handleMessage(const ThreadMessage& message);
    void changeMusic();
    void applyVolumes();
    void playOnce(const SoundRequest& request, intptr_t packed);
    void playLooped(const SoundRequest& request, intptr_t packed);
    void stopLooped(int slot);
    void loadEntry(int index);
    PreparedSound playSample(const SoundRequest& request, float volume, int channel);
    float audibleMusicVolume() const;
    void releaseAudio();

    std::atomic<bool> stopped{false};
    std::atomic<bool> running{false};
    std::atomic<float> musicVolume{0};
    std::atomic<float> effectVolume{0};
    std::atomic<int> pauseLevel{0};
    std::thread thread;
    ThreadMessageQueue queue;
    std::string musicName;
    std::string musicFile;
    std::atomic<int> musicStarted{0};
    CriticalSectionLock lock;
    std::unique_ptr<SoundDeviceTable> device;
    // Owned by the sound thread.
    Mix_Music* music = nullptr;
};
