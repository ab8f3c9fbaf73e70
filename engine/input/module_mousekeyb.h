#pragma once

#include <irrlicht/irrlicht.h>

#include <cstdint>

// The device's event receiver: keeps the mouse state and the keyboard table, and hands the events
// it does not consume to the game.
class CInputModule : public irr::IEventReceiver {
public:
    bool OnEvent(const irr::SEvent& event) override;

    // Reads the cursor position from the device, clamped to the configured screen size.
    void updateCursor();

    bool isLeftDown() const { return LeftDown != 0; }
    int cursorX() const { return CursorX; }
    int cursorY() const { return CursorY; }
    uint32_t downTime() const { return DownTime; }

private:
    int LeftDown = 0;
    int CursorX = 0;
    int CursorY = 0;
    uint32_t DownTime = 0;
};
