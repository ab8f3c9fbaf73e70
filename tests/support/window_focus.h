#pragma once

#include <irrlicht/irrlicht.h>

// Gives the device's window the keyboard focus of the X display, or takes it away (to no
// window), as a window manager would when the user switches windows. The change reaches the
// device with its next message processing (run). False when the device has no X window.
bool setWindowFocus(irr::IrrlichtDevice* device, bool focused);
