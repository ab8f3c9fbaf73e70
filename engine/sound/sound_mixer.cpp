#include "sound_mixer.h"

#include "platform/native_path.h"
#include "sound/sound_limiter.h"
#include "utils/debug.h"
#include "utils/utils_str.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <memory>

namespace {

constexpr int kSampleRate = 44100;
constexpr int kOutputChannels = 2;
constexpr int kBufferFrames = 1024;
// The mixer group that holds the channels of effects played once.
constexpr int kEffectGroup = 1;

// Keeps the mixed output below full scale; used by SDL's audio thread while the output is open.
std::unique_ptr<PeakLimiter> outputLimiter;
int outputRate = kSampleRate;

// The mixer sums its channels and the music in floating point, so a sum may pass full scale
// unharmed; the limiter brings it back below before SDL converts it for the device.
void limitOutput(void*, Uint8* stream, int bytes) {
    outputLimiter->process(reinterpret_cast<float*>(stream),
                           bytes / static_cast<int>(sizeof(float)) / outputLimiter->channelCount());
}

int mixerVolume(float volume) {
    if (volume < 0.01f) {
        return 0;
    }
    int scaled = static_cast<int>(volume * MIX_MAX_VOLUME);
    return scaled > MIX_MAX_VOLUME ? MIX_MAX_VOLUME : scaled;
}

// Opens the file through SDL; on failure SDL's own reason (such as the missing file) is what the
// library reports afterwards, not a generic one.
SDL_RWops* openFile(const std::string& path) {
    return SDL_RWFromFile(toNativePath(path).c_str(), "rb");
}

} // namespace

SoundOpenResult openSoundMixer(int channelCount, int loopChannelCount) {
    if (Mix_Linked_Version()->major != 2) {
        return SoundOpenResult::WrongVersion;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return SoundOpenResult::NoDevice;
    }
    Mix_Init(MIX_INIT_OGG);
    // The device may change the rate and the channel count, never the sample format.
    if (Mix_OpenAudio(kSampleRate, AUDIO_F32SYS, kOutputChannels, kBufferFrames) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return SoundOpenResult::NoDevice;
    }
    Uint16 format;
    int channels;
    Mix_QuerySpec(&outputRate, &format, &channels);
    outputLimiter = std::make_unique<PeakLimiter>(channels, outputRate);
    Mix_SetPostMix(limitOutput, nullptr);
    Mix_AllocateChannels(channelCount);
    Mix_ReserveChannels(loopChannelCount);
    Mix_GroupChannels(loopChannelCount, channelCount - 1, kEffectGroup);
    return SoundOpenResult::Opened;
}

void closeSoundMixer() {
    Mix_HaltMusic();
    Mix_HaltChannel(-1);
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    // Tells a game's author whose effects are mixed too loud how often the limiter had to act.
    logDebug(format("Sound output limited for %lld of %lld ms",
                    outputLimiter->limitedFrames() * 1000 / outputRate,
                    outputLimiter->processedFrames() * 1000 / outputRate));
    outputLimiter.reset();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void releaseSoundThreadData() {
    SDL_TLSCleanup();
}

std::string soundMixerError() {
    return Mix_GetError();
}

Mix_Chunk* loadSoundSample(const std::string& path) {
    SDL_RWops* file = openFile(path);
    return file ? Mix_LoadWAV_RW(file, 1) : nullptr;
}

void freeSoundSample(Mix_Chunk* sample) {
    Mix_FreeChunk(sample);
}

int freeEffectChannel() {
    return Mix_GroupAvailable(kEffectGroup);
}

bool playOnChannel(int channel, Mix_Chunk* sample, bool looped) {
    return Mix_PlayChannel(channel, sample, looped ? -1 : 0) != -1;
}

void setChannelVolume(int channel, float volume) {
    Mix_Volume(channel, mixerVolume(volume));
}

float getChannelVolume(int channel) {
    return static_cast<float>(Mix_Volume(channel, -1)) / MIX_MAX_VOLUME;
}

void stopChannel(int channel) {
    Mix_HaltChannel(channel);
}

Mix_Music* openMusicStream(const std::string& path) {
    SDL_RWops* file = openFile(path);
    return file ? Mix_LoadMUS_RW(file, 1) : nullptr;
}

bool playMusicLooped(Mix_Music* music) {
    return Mix_PlayMusic(music, -1) == 0;
}

void setMusicVolume(float volume) {
    Mix_VolumeMusic(mixerVolume(volume));
}

void closeMusicStream(Mix_Music* music) {
    Mix_HaltMusic();
    Mix_FreeMusic(music);
}
