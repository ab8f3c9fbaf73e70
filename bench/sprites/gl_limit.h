#pragma once

#include <irrlicht/irrlicht.h>

#include <vector>

// The rasteriser's own speed for a sprite frame: the same quads drawn by plain OpenGL in the
// device's context, without the engine or the library's drawing: one vertex and one index buffer
// filled once, one texture of the given colour (8 by 8, nearest filtering), alpha blending as the
// sprites have it, and one draw call per frame between the library's clear and buffer swap.
// `corners` holds four scene positions per quad; the active camera's view and projection place
// them once, as they would place the sprites. Returns the time of each measured frame (ms).
std::vector<double> plainGlFrameTimes(irr::IrrlichtDevice* device,
                                      const std::vector<irr::core::vector3df>& corners,
                                      irr::video::SColor texel, int warmUpFrames,
                                      int measuredFrames);
