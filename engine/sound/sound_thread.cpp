// The sound thread's side of the sound server: its message loop and every call into the audio
// library. Reports that let the game go on are written to the debug log (this thread shows no
// boxes); fatal ones end the process.

#include "server_sound.h"

#include "platform/clock.h"
#include "sound/sound_messages.h"
#include "sound/sound_mixer.h"
#include "utils/debug.h"
#include "utils/math_fastmath.h"
#include "utils/system.h"
#include "utils/utils_str.h"

#include <memory>

namespace {

// Mixer channels for effects played once, besides one channel per looped-effect slot.
constexpr int kEffectChannels = 64;
// Looped effects louder than this fade in and out.
constexpr float kFadedLoopVolume = 0.2f;
constexpr uint32_t kMusicFadeStepMs = 150;
constexpr uint32_t kLoopFadeStepMs = 50;
// At most this many entries of one sound play at once.
constexpr int kMaxCopies = 3;

void reportMixerFailure() {
    logDebug(format("BASS fail! err=%s", soundMixerError().c_str()));
}

} // namespace

void CSoundServer::threadMain(std::promise<SoundOpenResult>* opened) {
    SoundOpenResult result = openSoundMixer(kSlotCount + kEffectChannels, kSlotCount);
    if (result == SoundOpenResult::Opened) {
        logDebug("Sound device thread started");
    }
    opened->set_value(result);
    if (result != SoundOpenResult::Opened) {
        releaseSoundThreadData();
        return;
    }
    for (;;) {
        ThreadMessage message = queue.waitMessage();
        if (message.code == ThreadMessageQueue::kQuitMessage) {
            break;
        }
        handleMessage(message);
    }
    logDebug("Sound device thread stopped");
    releaseAudio();
    releaseSoundThreadData();
}

void CSoundServer::handleMessage(const ThreadMessage& message) {
    switch (message.code) {
    case kSoundMusicChanged:
        changeMusic();
        break;
    case kSoundVolumesChanged:
        applyVolumes();
        break;
    case kSoundPlayOnce: {
        std::unique_ptr<SoundRequest> request(reinterpret_cast<SoundRequest*>(message.first));
        playOnce(*request, message.second);
        break;
    }
    case kSoundPlayLooped: {
        std::unique_ptr<SoundRequest> request(reinterpret_cast<SoundRequest*>(message.first));
        playLooped(*request, message.second);
        break;
    }
    case kSoundStopLooped:
        stopLooped(static_cast<int>(message.first));
        break;
    case kSoundLoadSample:
        loadEntry(static_cast<int>(message.first));
        break;
    default:
        break;
    }
}

float CSoundServer::audibleMusicVolume() const {
    return isPaused() ? 0.0f : musicVolume.load();
}

void CSoundServer::changeMusic() {
    if (music) {
        float from = audibleMusicVolume();
        for (int k = 10; k >= 1; --k) {
            setMusicVolume(from * static_cast<float>(k) / 10.0f);
            sleepMilliseconds(kMusicFadeStepMs);
        }
        closeMusicStream(music);
        music = nullptr;
    }
    std::string file;
    {
        ScopedLock guard(lock);
        if (musicName.empty()) {
            return;
        }
        file = musicFile;
    }
    musicStarted = 1;
    music = openMusicStream(file);
    if (!music) {
        reportMixerFailure();
        return;
    }
    float to = audibleMusicVolume();
    for (int j = 0; j < 10; ++j) {
        setMusicVolume(to * static_cast<float>(j) / 10.0f);
        if (j == 0 && !playMusicLooped(music)) {
            reportMixerFailure();
            closeMusicStream(music);
            music = nullptr;
            return;
        }
        sleepMilliseconds(kMusicFadeStepMs);
    }
    setMusicVolume(to);
}

void CSoundServer::applyVolumes() {
    bool silent = isPaused();
    if (music) {
        setMusicVolume(silent ? 0.0f : musicVolume.load());
    }
    float effects = silent ? 0.0f : effectVolume.load();
    ScopedLock guard(lock);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        int channel = device->slotChannel(slot);
        if (channel >= 0) {
            setChannelVolume(channel, effects);
        }
    }
}

void CSoundServer::playOnce(const SoundRequest& request, intptr_t packed) {
    PreparedSound sound = playSample(request, unpackVolume(packed), -1);
    if (sound.sample && !playOnChannel(sound.channel, sound.sample, false)) {
        reportMixerFailure();
    }
}

void CSoundServer::playLooped(const SoundRequest& request, intptr_t packed) {
    int slot = unpackSlot(packed);
    if (!SoundDeviceTable::isSlot(slot)) {
        return;
    }
    float volume = unpackVolume(packed);
    // Each slot plays on the mixer channel of its own number.
    PreparedSound sound = playSample(request, volume, slot);
    if (!sound.sample) {
        return;
    }
    {
        ScopedLock guard(lock);
        device->setSlotChannel(slot, sound.channel);
    }
    // A quiet loop starts at once; a louder one fades in.
    int steps = volume > kFadedLoopVolume ? 4 : 0;
    setChannelVolume(sound.channel, steps > 0 ? volume / 5.0f : volume);
    if (!playOnChannel(sound.channel, sound.sample, true)) {
        reportMixerFailure();
        ScopedLock guard(lock);
        device->setSlotChannel(slot, -1);
        return;
    }
    for (int i = 1; i <= steps; ++i) {
        setChannelVolume(sound.channel, volume * static_cast<float>(i) / 5.0f);
        sleepMilliseconds(kLoopFadeStepMs);
    }
    setChannelVolume(sound.channel, volume);
}

void CSoundServer::stopLooped(int slot) {
    if (!SoundDeviceTable::isSlot(slot)) {
        return;
    }
    int channel;
    {
        ScopedLock guard(lock);
        channel = device->slotChannel(slot);
        device->setSlotChannel(slot, -1);
    }
    if (channel < 0) {
        return;
    }
    float volume = getChannelVolume(channel);
    if (volume > kFadedLoopVolume) {
        for (int a = 5; a >= 1; --a) {
            setChannelVolume(channel, volume * static_cast<float>(a) / 5.0f);
            sleepMilliseconds(kLoopFadeStepMs);
        }
    }
    stopChannel(channel);
}

void CSoundServer::loadEntry(int index) {
    std::string name;
    std::string path;
    {
        // An entry the game thread added may already have been loaded for a request that
        // found it before its load message arrived.
        ScopedLock guard(lock);
        const SoundSampleEntry& entry = device->entry(index);
        if (entry.sample) {
            return;
        }
        name = entry.name;
        path = entry.path;
    }
    // The file is read without the lock, so the game threads never wait for the disk.
    Mix_Chunk* sample = loadSoundSample(path);
    if (!sample) {
        reportError(
            format("Failed to load sound: %s (%s)", name.c_str(), soundMixerError().c_str()),
            false);
        return;
    }
    ScopedLock guard(lock);
    device->entry(index).sample = sample;
}

CSoundServer::PreparedSound CSoundServer::playSample(const SoundRequest& request, float volume,
                                                     int channel) {
    if (volume < kQuietest) {
        return {};
    }
    int index;
    int copies;
    bool added = false;
    {
        ScopedLock guard(lock);
        index = device->findReusable(request.path, getTicks(), copies);
        if (index < 0) {
            if (copies >= kMaxCopies) {
                return {};
            }
            // A table without room refuses the sound rather than growing past its end.
            index = device->add(request.name, request.path);
            if (index < 0) {
                return {};
            }
            added = true;
        }
    }
    // Loads a new entry, or one the game thread added whose load message is still queued.
    loadEntry(index);
    // A load that fills the table keeps its entry for later requests but plays nothing.
    if (added && index + 1 >= SoundDeviceTable::kFullCount) {
        return {};
    }
    Mix_Chunk* sample;
    {
        ScopedLock guard(lock);
        SoundSampleEntry& chosen = device->entry(index);
        sample = chosen.sample;
        if (!sample) {
            return {};
        }
        chosen.lastPlayTick = getTicks();
        chosen.played = true;
    }
    if (channel < 0) {
        channel = freeEffectChannel();
        if (channel < 0) {
            logDebug(format("cant play snd '%s'", request.name.c_str()));
            return {};
        }
    }
    setChannelVolume(channel, volume * randomFloat(0.95f, 1.05f));
    return PreparedSound{channel, sample};
}

void CSoundServer::releaseAudio() {
    if (music) {
        closeMusicStream(music);
        music = nullptr;
    }
    {
        ScopedLock guard(lock);
        for (int i = 0; i < device->sampleCount(); ++i) {
            SoundSampleEntry& entry = device->entry(i);
            if (entry.sample) {
                freeSoundSample(entry.sample);
                entry.sample = nullptr;
            }
        }
    }
    closeSoundMixer();
}
