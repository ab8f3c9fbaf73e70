#pragma once

#include <irrlicht/irrlicht.h>

#include <string>

// Captures the frame drawn so far as an opaque 24-bit image (ECF_R8G8B8) of the screen's size.
// Call it after drawing and before endScene. On the OpenGL driver the pixels are read from the
// back buffer, because the driver's own screenshot reads the front buffer, which stays black
// under a virtual display; other drivers use their own screenshot. The caller drops the image.
// Returns null (and logs why) when the driver cannot capture.
irr::video::IImage* captureFrame(irr::video::IVideoDriver* driver);

// Writes the image as a PNG file at a native or an engine path. The path must end in ".png",
// since the driver picks its image writer by the extension. False, and logged, on failure.
bool writePngImage(irr::video::IVideoDriver* driver, irr::video::IImage* image,
                   const std::string& path);
