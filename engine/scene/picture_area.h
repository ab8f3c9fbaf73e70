#pragma once

#include <irrlicht/irrlicht.h>

// The game's picture keeps the 4:3 shape of its 40 by 30 unit field in a window of any shape: it
// is scaled uniformly and centred, and the rest of the window (the bars at its sides, or above and
// below it) stays black. Points on the picture are counted from its upper left corner, in window
// pixels; at a 4:3 window the picture is the whole window, so they are window points.

// The largest centred 4:3 area of a window of the given size.
irr::core::recti fitPictureArea(const irr::core::dimension2du& window);
// The picture's area in the engine's window as it is now (its size follows every resize); empty
// without a device.
irr::core::recti currentPictureArea();

// Narrows the driver's viewport to the picture for its lifetime, and gives the driver back the
// whole window when it ends (for drawing in window points: the cursor, the GUI, screenshots).
class PictureViewport {
public:
    explicit PictureViewport(irr::video::IVideoDriver* driver);
    ~PictureViewport();
    PictureViewport(const PictureViewport&) = delete;
    PictureViewport& operator=(const PictureViewport&) = delete;

private:
    irr::video::IVideoDriver* driver;
};
