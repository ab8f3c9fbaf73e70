#pragma once

#include <irrlicht/irrlicht.h>

// The desktop the game's window lives on. Full screen is the window at the desktop's own size,
// asked of the window manager as a full-screen window: the display mode never changes.

// The size of the default screen of the display (the X server's root window); 0 by 0 without a
// display.
irr::core::dimension2du desktopResolution();
// Asks the window manager to show the device's window over the whole screen, as a full-screen
// window; false when the device's driver does not say which window is its own.
bool requestFullScreenWindow(irr::IrrlichtDevice* device);
