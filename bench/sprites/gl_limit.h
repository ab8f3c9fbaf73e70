#pragma once

#include <irrlicht/irrlicht.h>

#include <vector>

// The rasteriser's own speed for a sprite frame: the same quads drawn by plain OpenGL in the
// device's context, without the engine or the library's drawing: one vertex and one index buffer
// filled once, one texture of the given colour (8 by 8, nearest filtering, as the bench's sprites
// ask for), alpha blending as the sprites have it, and one draw call per frame between the
// library's clear and buffer swap. `corners` holds four scene positions per quad;
// the active camera's view and projection place them once, as they would place the sprites.
class PlainGlQuads {
public:
    PlainGlQuads(irr::IrrlichtDevice* device, const std::vector<irr::core::vector3df>& corners,
                 irr::video::SColor texel);
    ~PlainGlQuads();
    PlainGlQuads(const PlainGlQuads&) = delete;
    PlainGlQuads& operator=(const PlainGlQuads&) = delete;

    // False off OpenGL, without a camera or without quads: frameTimes then measures nothing.
    bool available() const { return indexCount > 0; }
    // Draws warmUpFrames + measuredFrames frames and returns the measured ones' times (ms). The
    // library's OpenGL state is saved before and put back after, so the engine's frames can
    // alternate with these.
    std::vector<double> frameTimes(int warmUpFrames, int measuredFrames);

private:
    irr::IrrlichtDevice* device;
    unsigned int texture = 0;
    unsigned int buffers[2] = {0, 0};
    int indexCount = 0;
};
