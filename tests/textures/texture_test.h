#pragma once

#include "support/message_box_recorder.h"
#include "support/pixel_test_device.h"
#include "support/profiled_counts.h"
#include "support/test_program.h"

#include <irrlicht/irrlicht.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

// Each test runs the engine over a program folder of its own, with boxes recorded and a device of
// its own given to the engine; the texture cache forgets the device's textures at the end.
class TextureTest : public testing::Test {
protected:
    explicit TextureTest(irr::video::E_DRIVER_TYPE driverType = irr::video::EDT_NULL);

    void SetUp() override;
    void TearDown() override;

    irr::video::IVideoDriver* driver() const { return device.driver(); }

    // Writes a PNG below the common data folder ("lists\\a.png" is data/lists/a.png); every
    // pixel comes from the function.
    void writeImage(const std::string& dataName, irr::u32 width, irr::u32 height,
                    const std::function<irr::video::SColor(irr::u32 x, irr::u32 y)>& pixel) const;
    void writeSolidImage(const std::string& dataName, irr::u32 width, irr::u32 height,
                         irr::video::SColor colour) const;
    // Copies an image of tests/data/images/ below the common data folder.
    void copyTestImage(const std::string& imageName, const std::string& dataName) const;

    TestProgram program;
    MessageBoxRecorder boxes;
    PixelTestDevice device;
};

// The same on an OpenGL device (under the virtual display), for tests that need real texture
// sizes and pixels.
class OpenGLTextureTest : public TextureTest {
protected:
    OpenGLTextureTest() : TextureTest(irr::video::EDT_OPENGL) {}
};

// Inside a death test: writes every box text to standard error so the test can match it.
void echoBoxesToStderr();

// A region's coordinates, compared as a whole.
::testing::AssertionResult regionIs(const irr::core::recti& pixels, const irr::core::rectf& uv,
                                    int left, int top, int right, int bottom, float umin,
                                    float vmin, float umax, float vmax);
