#include "frame_cursor.h"

bool isSystemCursorShown(const CursorVisibilityInputs& inputs) {
    return inputs.winCursor != 0 || inputs.pauseLevel >= 2 || inputs.stage < 500 ||
           inputs.softwareRendering != 0;
}

irr::core::recti CFrameCursor::sourceRect(const IGameClient::CursorRequest& cursor,
                                          bool systemCursorShown, uint32_t now) {
    irr::core::recti source(0, 0, cursor.size.Width, cursor.size.Height);
    if (systemCursorShown || cursor.frameCount == 0) {
        return source;
    }
    if ((cursor.animate || frame > 0) && now - lastAdvance > kFrameInterval) {
        frame = (frame + 1) % cursor.frameCount;
        lastAdvance = now;
    }
    int frameWidth = cursor.size.Width / cursor.frameCount;
    return irr::core::recti(frameWidth * frame, 0, frameWidth * (frame + 1), cursor.size.Height);
}
