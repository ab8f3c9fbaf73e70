#pragma once

#include <array>
#include <cstdint>
#include <string>

struct Mix_Chunk;

// One loaded sound. A sound may own up to three entries, so that up to three copies of it
// overlap.
struct SoundSampleEntry {
    std::string name; // as requested
    std::string path; // the file, which requests for the sound are matched by
    uint32_t lastPlayTick = 0;
    bool played = false;
    Mix_Chunk* sample = nullptr; // none until loaded on the sound thread
};

// The sound server's samples and looped-effect slots. The server's lock guards it.
class SoundDeviceTable {
public:
    static constexpr int kCapacity = 100;
    // A load that brings the count to this many reports a full buffer (unless quiet).
    static constexpr int kFullCount = 96;
    static constexpr int kSlotCount = 32;
    // An entry is free to start again this long after it was last started.
    static constexpr uint32_t kReuseMs = 500;

    SoundDeviceTable();

    int sampleCount() const { return count; }
    // Appends an entry for the sound; -1 when the table has no room left.
    int add(const std::string& name, const std::string& path);
    SoundSampleEntry& entry(int index) { return entries[static_cast<size_t>(index)]; }
    // The first entry of the file, in load order, that was never started or was started more
    // than kReuseMs before `now`; -1 when none. `copies` is the number of the file's entries
    // (counting stops at four).
    int findReusable(const std::string& path, uint32_t now, int& copies) const;

    // Hands out the next slot in turn when nothing holds it; -1 when it is still held (no other
    // slot is searched).
    int reserveSlot();
    // The slot's holder let it go.
    void releaseSlot(int slot);
    // The mixer channel playing in the slot; -1 when none.
    int slotChannel(int slot) const { return channels[static_cast<size_t>(slot)]; }
    void setSlotChannel(int slot, int channel) { channels[static_cast<size_t>(slot)] = channel; }
    static bool isSlot(int slot) { return slot >= 0 && slot < kSlotCount; }

private:
    std::array<SoundSampleEntry, kCapacity> entries;
    int count = 0;
    int nextSlot = 0;
    std::array<int, kSlotCount> channels;
    std::array<bool, kSlotCount> reserved;
};
