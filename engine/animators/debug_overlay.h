#pragma once

#include <string>

// The debug overlay: a small text at the top left of the screen with the game's own debug
// text, the frame rate, the node under the cursor, the render module's switch and trigger
// counts and the top modality level. Shown while the debug-overlay flag is set (a developer key
// in debug mode), hidden otherwise; the system animator refreshes it on each of its ticks.
void refreshDebugOverlay();

// The overlay's text for the current state of the engine.
std::string debugOverlayText();
