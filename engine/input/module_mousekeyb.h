#pragma once

#include <irrlicht/irrlicht.h>

#include <cstdint>

// The device's event receiver. It keeps the mouse state and the keyboard table, finds the node
// under the cursor, hands presses, releases and right clicks to the nodes' click and hover
// behaviours (on the next frame), feeds the text editor that holds the keyboard, queues the
// topmost dialog's key and Escape actions, answers the developer keys in debug mode, and hands
// what it does not consume to the game.
class CInputModule : public irr::IEventReceiver {
public:
    bool OnEvent(const irr::SEvent& event) override;

    // Reads the pointer's position from the device as a point of the picture, clamped to the
    // picture, and finds the node under it (none while the pointer is over the bars beside the
    // picture); a change of that node is handed to the hover behaviours. Takes the scene lock
    // and the input lock, in that order.
    void updateCursor();
    // Keys let go of while the window had no keyboard focus never reach the key table, so it is
    // cleared whenever the window loses or regains the focus.
    void checkWindowFocus();

    bool isLeftDown() const { return LeftDown != 0; }
    // The cursor as a point of the picture (see picture_area.h).
    int cursorX() const { return CursorX; }
    int cursorY() const { return CursorY; }
    uint32_t downTime() const { return DownTime; }
    // Left-button presses so far; the number of the press in progress while the button is down.
    int pressCount() const { return PressCount; }

private:
    void handleMouse(const irr::SEvent::SMouseInput& mouse);
    // True when the key was consumed (Escape).
    bool handleKey(const irr::SEvent::SKeyInput& key);

    int LeftDown = 0;
    int CursorX = 0;
    int CursorY = 0;
    uint32_t DownTime = 0;
    int PressCount = 0;
    // Presses and right clicks over the bars beside the picture reach nothing.
    bool PointerOverBars = false;
    // -1 until the window's focus was first seen, then 0 or 1.
    int WindowFocused = -1;
};
