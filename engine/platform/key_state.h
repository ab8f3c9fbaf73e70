#pragma once

// The keyboard state as the input module last saw it, indexed by virtual-key code (Irrlicht's
// key codes are the Windows virtual-key codes).
void setKeyState(int key, bool down);
bool readKeyState(int key);
void clearKeyStates();
