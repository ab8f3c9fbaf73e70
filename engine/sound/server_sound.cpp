#include "server_sound.h"

#include "sound/sound_messages.h"
#include "sound/sound_mixer.h"
#include "utils/debug.h"
#include "utils/math_fastmath.h"
#include "utils/utils_fs.h"

namespace {

// The volume the server uses for a slider value: remapped from [margin, 1 - margin] to [0, 1],
// then above 0.9 full and below 0.1 silent.
float usedVolume(float margin, float value) {
    float volume = mapRange(value, margin, 1.0f - margin, 0.0f, 1.0f);
    if (volume > 0.9f) {
        return 1.0f;
    }
    return volume < 0.1f ? 0.0f : volume;
}

float withinZeroToOne(float value) {
    if (value < 0.0f) {
        return 0.0f;
    }
    return value > 1.0f ? 1.0f : value;
}

} // namespace

CSoundServer::CSoundServer() : device(std::make_unique<SoundDeviceTable>()) {}

CSoundServer::~CSoundServer() {
    shutdown();
}

void CSoundServer::start(int soundDevice) {
    if (soundDevice == 0 || stopped || running) {
        return;
    }
    std::promise<SoundOpenResult> opened;
    std::future<SoundOpenResult> outcome = opened.get_future();
    thread = std::thread(&CSoundServer::threadMain, this, &opened);
    SoundOpenResult result = outcome.get();
    if (result == SoundOpenResult::Opened) {
        running = true;
        return;
    }
    thread.join();
    logDebug(result == SoundOpenResult::WrongVersion ? "Wrong BASS.dll - version check failed"
                                                     : "Error: No sound device created!");
}

void CSoundServer::shutdown() {
    if (stopped.exchange(true) || !running) {
        return;
    }
    running = false;
    queue.post(ThreadMessageQueue::kQuitMessage);
    thread.join();
    // Requests that arrived after the close message are never handled.
    ThreadMessage left;
    while (queue.pollMessage(left)) {
        if (left.code == kSoundPlayOnce || left.code == kSoundPlayLooped) {
            delete reinterpret_cast<SoundRequest*>(left.first);
        }
    }
}

float CSoundServer::requestedVolume(float volume) const {
    return volume > 0 ? volume : effectVolume.load();
}

std::string soundEffectPath(const std::string& name) {
    return soundPath(name.find('.') == std::string::npos ? name + ".wav" : name);
}

CSoundServer::SoundRequest CSoundServer::requestFor(const std::string& name) const {
    return SoundRequest{name, soundEffectPath(name)};
}

void CSoundServer::postRequest(uint32_t code, const std::string& name, intptr_t packed) {
    auto* request = new SoundRequest(requestFor(name));
    queue.post(code, reinterpret_cast<intptr_t>(request), packed);
}

void CSoundServer::playEffect(const std::string& name, float volume) {
    if (!running) {
        return;
    }
    float used = requestedVolume(volume);
    if (used < kQuietest || isPaused()) {
        return;
    }
    if (name.empty()) {
        reportError("Empty sound effect!", false);
        return;
    }
    postRequest(kSoundPlayOnce, name, packVolume(used, 0));
}

int CSoundServer::playLoopedEffect(const std::string& name, float volume) {
    if (!running) {
        return -1;
    }
    float used = requestedVolume(volume);
    if (used < kQuietest || isPaused()) {
        return -1;
    }
    if (name.empty()) {
        reportError("Empty sound effect!", false);
        return -1;
    }
    int slot;
    {
        // The slot is held from here on, so no later request gets it while this one waits in
        // the queue (behind a music fade, for example).
        ScopedLock guard(lock);
        slot = device->reserveSlot();
    }
    if (slot >= 0) {
        postRequest(kSoundPlayLooped, name, packVolume(used, slot));
    }
    return slot;
}

void CSoundServer::stopLoopedEffect(int slot) {
    if (!running || !SoundDeviceTable::isSlot(slot)) {
        return;
    }
    {
        ScopedLock guard(lock);
        device->releaseSlot(slot);
    }
    queue.post(kSoundStopLooped, slot);
}

void CSoundServer::setMusic(const std::string& name) {
    if (!running) {
        return;
    }
    std::string file = name.empty() ? std::string() : musicPath(name);
    {
        ScopedLock guard(lock);
        if (name == musicName && musicStarted != 0) {
            return;
        }
        musicName = name;
        musicFile = file;
    }
    queue.post(kSoundMusicChanged);
}

std::string CSoundServer::getMusicName() {
    ScopedLock guard(lock);
    return musicName;
}

void CSoundServer::setVolumes(float margin, float* music, float* effects) {
    if (music) {
        musicVolume = usedVolume(margin, *music);
        *music = withinZeroToOne(*music);
    }
    if (effects) {
        effectVolume = usedVolume(margin, *effects);
        *effects = withinZeroToOne(*effects);
    }
    if (running) {
        queue.post(kSoundVolumesChanged);
    }
}

int CSoundServer::loadSample(const std::string& name, bool quiet) {
    if (!running) {
        return 0;
    }
    SoundRequest request = requestFor(name);
    int index;
    {
        ScopedLock guard(lock);
        index = device->add(request.name, request.path);
    }
    // The file is read on the sound thread, the only one that calls the audio library.
    if (index >= 0) {
        queue.post(kSoundLoadSample, index);
    }
    if (index < 0 || index + 1 >= SoundDeviceTable::kFullCount) {
        if (!quiet) {
            reportError("Sound effect buffer is full!", false);
        }
        return -1;
    }
    return index;
}

int CSoundServer::loadedSampleCount() {
    ScopedLock guard(lock);
    return device->sampleCount();
}
