#include "key_state.h"

#include <atomic>

namespace {

constexpr int kKeyCount = 256;
std::atomic<bool> keyDown[kKeyCount];

} // namespace

void setKeyState(int key, bool down) {
    if (key >= 0 && key < kKeyCount) {
        keyDown[key] = down;
    }
}

bool readKeyState(int key) {
    return key >= 0 && key < kKeyCount && keyDown[key];
}

void clearKeyStates() {
    for (std::atomic<bool>& state : keyDown) {
        state = false;
    }
}
