#pragma once

#include <irrlicht/irrlicht.h>

#include <functional>
#include <vector>

// Draws warmUpFrames + measuredFrames frames through the render module, as the main loop does,
// calling beforeFrame(frame) at the start of each. Returns the measured frames' times in
// milliseconds (beforeFrame's work included); the render module's statistics are the last
// frame's afterwards.
std::vector<double> timeRenderedFrames(irr::IrrlichtDevice* device, int warmUpFrames,
                                       int measuredFrames,
                                       const std::function<void(int frame)>& beforeFrame);
