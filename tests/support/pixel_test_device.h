#pragma once

#include <irrlicht/irrlicht.h>

#include <gtest/gtest.h>

#include <string>

// The native path of an image under tests/data/images/.
std::string testImagePath(const std::string& name);

// An Irrlicht device on the (virtual) display for tests that look at pixels. The view is
// orthographic with one scene unit per pixel, so quads land on known pixels.
class PixelTestDevice {
public:
    PixelTestDevice(irr::video::E_DRIVER_TYPE driverType, irr::core::dimension2du size);
    ~PixelTestDevice();
    PixelTestDevice(const PixelTestDevice&) = delete;
    PixelTestDevice& operator=(const PixelTestDevice&) = delete;

    bool valid() const { return device != nullptr; }
    irr::IrrlichtDevice* irrlichtDevice() const { return device; }
    irr::video::IVideoDriver* driver() const { return device->getVideoDriver(); }

    // A texture made from an image of tests/data/images/ (32-bit, no mip-maps).
    irr::video::ITexture* loadTexture(const std::string& imageName);

    // Begins a frame cleared to the background and sets up the pixel-exact view.
    void beginFrame(irr::video::SColor background);
    // Draws a textured quad over the pixel rectangle as the sprite batcher does: a mesh buffer
    // of four vertices in the given colour, drawn with the material (lighting, culling and
    // depth testing off, nearest filtering). `uv` is the part of the texture shown (umin, vmin,
    // umax, vmax); the whole texture by default.
    void drawQuad(const irr::core::recti& pixels, irr::video::SMaterial material,
                  irr::video::SColor vertexColour,
                  const irr::core::rectf& uv = irr::core::rectf(0, 0, 1, 1));
    // Captures the frame (platform frame capture) and ends it. The caller drops the image.
    // When VELLUM_TEST_SCREENSHOTS names a folder, the capture is also saved there as a PNG
    // named after the running test.
    irr::video::IImage* captureAndEndFrame();

private:
    irr::IrrlichtDevice* device = nullptr;
};

// A material for drawQuad: the type and the texture in layer 0.
irr::video::SMaterial quadMaterial(irr::video::E_MATERIAL_TYPE type, irr::video::ITexture* texture);

// Succeeds when every channel of the pixel is within `tolerance` of the expected colour.
::testing::AssertionResult pixelNear(irr::video::IImage* image, int x, int y,
                                     irr::video::SColor expected, int tolerance = 3);
