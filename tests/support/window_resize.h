#pragma once

#include <irrlicht/irrlicht.h>

// Resizes the device's window on the X display, as the user does by dragging its border or
// maximising it. The server has taken the change when this returns; it reaches the device with
// its next message processing (run). False when the device has no X window.
bool resizeWindow(irr::IrrlichtDevice* device, const irr::core::dimension2du& size);
