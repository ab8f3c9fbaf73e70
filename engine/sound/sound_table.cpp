#include "sound_table.h"

SoundDeviceTable::SoundDeviceTable() {
    channels.fill(-1);
    reserved.fill(false);
}

int SoundDeviceTable::add(const std::string& name, const std::string& path) {
    if (count >= kCapacity) {
        return -1;
    }
    SoundSampleEntry& added = entries[static_cast<size_t>(count)];
    added.name = name;
    added.path = path;
    return count++;
}

int SoundDeviceTable::findReusable(const std::string& path, uint32_t now, int& copies) const {
    constexpr int kCountedCopies = 4;
    int chosen = -1;
    copies = 0;
    for (int i = 0; i < count && copies < kCountedCopies; ++i) {
        const SoundSampleEntry& candidate = entries[static_cast<size_t>(i)];
        if (candidate.path != path) {
            continue;
        }
        ++copies;
        if (chosen < 0 && (!candidate.played || now - candidate.lastPlayTick > kReuseMs)) {
            chosen = i;
        }
    }
    return chosen;
}

int SoundDeviceTable::reserveSlot() {
    int slot = nextSlot;
    if (reserved[static_cast<size_t>(slot)]) {
        return -1;
    }
    reserved[static_cast<size_t>(slot)] = true;
    nextSlot = (nextSlot + 1) % kSlotCount;
    return slot;
}

void SoundDeviceTable::releaseSlot(int slot) {
    reserved[static_cast<size_t>(slot)] = false;
}
