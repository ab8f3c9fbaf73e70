#include "textures/texture_test.h"

#include "core/vellumengine.h"
#include "platform/frame_capture.h"
#include "platform/message_box.h"
#include "scene/texture_cache.h"
#include "utils/utils_lang.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

using namespace irr;

TextureTest::TextureTest(video::E_DRIVER_TYPE driverType)
    : device(driverType, core::dimension2du(320, 240)) {}

void TextureTest::SetUp() {
    ASSERT_TRUE(device.valid());
    setLanguage("data_en");
    getEngine().setDeviceServices(device.irrlichtDevice());
}

void TextureTest::TearDown() {
    forgetTextureCache();
    getEngine().setDeviceServices(nullptr);
    getEngine().getConfig().largeTextures = 1;
    getEngine().getConfig().Debug = 0;
}

void TextureTest::writeImage(const std::string& dataName, u32 width, u32 height,
                             const std::function<video::SColor(u32, u32)>& pixel) const {
    std::string relative = "data/" + dataName;
    for (char& c : relative) {
        if (c == '\\') {
            c = '/';
        }
    }
    // Creates the folders on the way.
    program.folder().write(relative, "");
    video::IImage* image =
        driver()->createImage(video::ECF_A8R8G8B8, core::dimension2du(width, height));
    for (u32 y = 0; y < height; ++y) {
        for (u32 x = 0; x < width; ++x) {
            image->setPixel(x, y, pixel(x, y));
        }
    }
    EXPECT_TRUE(writePngImage(driver(), image, program.folder().native() + relative));
    image->drop();
}

void TextureTest::writeSolidImage(const std::string& dataName, u32 width, u32 height,
                                  video::SColor colour) const {
    writeImage(dataName, width, height, [colour](u32, u32) { return colour; });
}

void TextureTest::copyTestImage(const std::string& imageName, const std::string& dataName) const {
    std::ifstream in(testImagePath(imageName), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::string relative = "data/" + dataName;
    for (char& c : relative) {
        if (c == '\\') {
            c = '/';
        }
    }
    program.folder().write(relative, bytes.str());
}

void echoBoxesToStderr() {
    setMessageBoxHook([](const std::string& text, const std::string&, int) {
        std::fprintf(stderr, "box: %s\n", text.c_str());
        return 1;
    });
}

::testing::AssertionResult regionIs(const core::recti& pixels, const core::rectf& uv, int left,
                                    int top, int right, int bottom, float umin, float vmin,
                                    float umax, float vmax) {
    const core::recti expectedPixels(left, top, right, bottom);
    const float expectedUv[] = {umin, vmin, umax, vmax};
    const float actualUv[] = {uv.UpperLeftCorner.X, uv.UpperLeftCorner.Y, uv.LowerRightCorner.X,
                              uv.LowerRightCorner.Y};
    bool uvMatches = true;
    for (int i = 0; i < 4; ++i) {
        uvMatches = uvMatches && std::fabs(expectedUv[i] - actualUv[i]) < 1e-6f;
    }
    if (pixels == expectedPixels && uvMatches) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "pixels (" << pixels.UpperLeftCorner.X << ", " << pixels.UpperLeftCorner.Y << ", "
           << pixels.LowerRightCorner.X << ", " << pixels.LowerRightCorner.Y << ") uv ("
           << actualUv[0] << ", " << actualUv[1] << ", " << actualUv[2] << ", " << actualUv[3]
           << ")";
}
