#pragma once

#include <irrlicht/irrlicht.h>

#include <string>

// Input for a device's X window made the way the user's input arrives: the pointer is moved on
// the display, and button presses and keys come to the window as X events, which the device turns
// into its own events the next time it takes its window messages (run).
class X11Input {
public:
    explicit X11Input(irr::IrrlichtDevice* device);

    // False when the device has no X window.
    bool valid() const { return display != nullptr && window != 0; }

    // Moves the pointer to the window pixel.
    void movePointer(int x, int y);
    // The left button pressed or let go at the pointer.
    void leftButton(bool press);
    // The key of the X key symbol (a Latin-1 character stands for its own symbol), pressed or let
    // go, with Shift when the symbol lies on the shifted level of its key and Control when asked.
    void key(unsigned long keySymbol, bool press, bool control = false);
    // Presses and lets go the key of every character (printable ASCII).
    void type(const std::string& text);

private:
    void* display = nullptr;
    unsigned long window = 0;
    int pointerX = 0;
    int pointerY = 0;
    // Event times, always later (a release and a press of one key at the same time would be taken
    // for the key repeating).
    unsigned long eventTime = 1;
};
