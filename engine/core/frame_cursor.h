#pragma once

#include "core/game_client.h"

#include <irrlicht/irrlicht.h>

#include <cstdint>

// What decides whether the system cursor shows this frame.
struct CursorVisibilityInputs {
    int winCursor;         // the profile asks for the system cursor
    int pauseLevel;        // 2 and above: paused
    int stage;             // below 500: still starting or preloading
    int softwareRendering; // software drivers use the system cursor
};
bool isSystemCursorShown(const CursorVisibilityInputs& inputs);

// The drawn cursor: a strip of frames side by side that advances at most every 40 ms while the
// game asks for animation, and once started runs on until frame 0.
class CFrameCursor {
public:
    static constexpr uint32_t kFrameInterval = 40;

    // The part of the cursor texture to draw this frame.
    irr::core::recti sourceRect(const IGameClient::CursorRequest& cursor, bool systemCursorShown,
                                uint32_t now);
    int currentFrame() const { return frame; }

private:
    int frame = 0;
    uint32_t lastAdvance = 0;
};
