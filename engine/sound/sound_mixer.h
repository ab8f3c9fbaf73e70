#pragma once

#include <string>

// The audio library under the sound server (SDL_mixer): samples play on mixer channels, one
// music stream plays on its own. Only the sound thread calls these functions.

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

enum class SoundOpenResult {
    Opened,
    WrongVersion,
    NoDevice,
};

// Checks the library's version, opens the default output (44100 Hz, 32-bit float, stereo; SDL
// converts to what the device takes) with a limiter that keeps the mix below full scale, and makes
// `channelCount` channels, of which the first `loopChannelCount` are kept for looped effects and
// the rest serve effects played once.
SoundOpenResult openSoundMixer(int channelCount, int loopChannelCount);
// Stops everything and closes the output; the debug log tells how long the limiter acted.
void closeSoundMixer();
// Frees what the audio library keeps for the calling thread (its error text); the sound thread
// calls it last, since the library frees it by itself only for threads it made.
void releaseSoundThreadData();
// What the library last reported as wrong.
std::string soundMixerError();

// A sample from a file (engine path); null when it cannot be loaded (soundMixerError says why).
Mix_Chunk* loadSoundSample(const std::string& path);
void freeSoundSample(Mix_Chunk* sample);

// A channel for an effect played once that plays nothing now; -1 when all are busy.
int freeEffectChannel();
// Plays the sample from its start, once or looped forever; false when the library refuses.
bool playOnChannel(int channel, Mix_Chunk* sample, bool looped);
// Volumes are 0..1; below 0.01 is silence.
void setChannelVolume(int channel, float volume);
float getChannelVolume(int channel);
void stopChannel(int channel);

// A music stream from a file (engine path): Ogg Vorbis, WAV and the library's other formats;
// null when it cannot be opened.
Mix_Music* openMusicStream(const std::string& path);
// Plays the stream from its start, looped forever; false when the library refuses.
bool playMusicLooped(Mix_Music* music);
void setMusicVolume(float volume);
// Stops and frees the stream.
void closeMusicStream(Mix_Music* music);
