#pragma once

#include <irrlicht/irrlicht.h>

// An 800 by 600 OpenGL window for a drawing benchmark, with the engine pointed at it: textures
// without mip-maps, the custom materials registered and a camera at (0, 0, -20.65) looking along
// +z with the 4:3 aspect, as the game has it. Null, with a message, when there is no display.
// With the library's NULL driver nothing is drawn, so only the scene's own work is timed.
irr::IrrlichtDevice* openBenchDevice(irr::video::E_DRIVER_TYPE driverType = irr::video::EDT_OPENGL);
// Lets the engine go of the device, its scene and its cached textures, and closes the window.
void closeBenchDevice(irr::IrrlichtDevice* device);
