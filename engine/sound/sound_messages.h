#pragma once

#include <cstdint>

// The sound thread's message codes (above the platform's first user code, 0x400).
enum SoundMessage : uint32_t {
    kSoundMusicChanged = 0x400,   // stop the current music, start the requested one
    kSoundVolumesChanged = 0x401, // apply the volumes and the pause level
    kSoundPlayOnce = 0x402,       // first: request (the thread frees it); second: volume word
    kSoundPlayLooped = 0x403,     // first: request; second: volume word and slot
    kSoundStopLooped = 0x404,     // first: slot
    kSoundLoadSample = 0x405,     // first: entry index of the sample table
};

// A volume 0..1 travels as volume x 1000 (truncated) in the high 16 bits of a word whose low
// 16 bits carry a slot.
inline intptr_t packVolume(float volume, int slot) {
    uint32_t thousandths = static_cast<uint32_t>(volume * 1000.0f) & 0xFFFFu;
    return static_cast<intptr_t>((thousandths << 16) | (static_cast<uint32_t>(slot) & 0xFFFFu));
}

inline float unpackVolume(intptr_t packed) {
    return static_cast<float>((static_cast<uint32_t>(packed) >> 16) & 0xFFFFu) / 1000.0f;
}

inline int unpackSlot(intptr_t packed) {
    return static_cast<int>(static_cast<uint32_t>(packed) & 0xFFFFu);
}
