#include "support/pixel_test_device.h"

#include "platform/frame_capture.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>

using namespace irr;

std::string testImagePath(const std::string& name) {
    const std::string source = __FILE__;
    const std::string testsFolder = source.substr(0, source.rfind("/support/") + 1);
    return testsFolder + "data/images/" + name;
}

PixelTestDevice::PixelTestDevice(video::E_DRIVER_TYPE driverType, core::dimension2du size) {
    SIrrlichtCreationParameters parameters;
    parameters.DriverType = driverType;
    parameters.WindowSize = size;
    parameters.Bits = 32;
    parameters.LoggingLevel = ELL_WARNING;
    // An X server resets when its last client leaves, and refuses connections while it does;
    // the previous test's device may just have been that client. Try again for a while.
    for (int attempt = 0; attempt < 50 && !device; ++attempt) {
        if (attempt > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        device = createDeviceEx(parameters);
    }
    if (device) {
        driver()->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, false);
        driver()->setTextureCreationFlag(video::ETCF_ALWAYS_32_BIT, true);
    }
}

PixelTestDevice::~PixelTestDevice() {
    if (device) {
        device->closeDevice();
        device->run();
        device->drop();
    }
}

video::ITexture* PixelTestDevice::loadTexture(const std::string& imageName) {
    return driver()->getTexture(testImagePath(imageName).c_str());
}

void PixelTestDevice::beginFrame(video::SColor background) {
    video::IVideoDriver* video = driver();
    video->beginScene(true, true, background);
    const core::dimension2du size = video->getScreenSize();
    core::matrix4 projection;
    projection.buildProjectionMatrixOrthoLH(f32(size.Width), f32(size.Height), 0.0f, 1.0f);
    video->setTransform(video::ETS_PROJECTION, projection);
    video->setTransform(video::ETS_VIEW, core::IdentityMatrix);
    video->setTransform(video::ETS_WORLD, core::IdentityMatrix);
}

void PixelTestDevice::drawQuad(const core::recti& pixels, video::SMaterial material,
                               video::SColor vertexColour, const core::rectf& uv) {
    video::IVideoDriver* video = driver();
    const core::dimension2du size = video->getScreenSize();
    // Pixel (0, 0) is the top-left corner; the view's origin is the screen's centre, y up.
    const f32 left = f32(pixels.UpperLeftCorner.X) - f32(size.Width) / 2;
    const f32 right = f32(pixels.LowerRightCorner.X) - f32(size.Width) / 2;
    const f32 top = f32(size.Height) / 2 - f32(pixels.UpperLeftCorner.Y);
    const f32 bottom = f32(size.Height) / 2 - f32(pixels.LowerRightCorner.Y);
    const f32 depth = 0.5f;

    scene::SMeshBuffer buffer;
    const f32 umin = uv.UpperLeftCorner.X;
    const f32 vmin = uv.UpperLeftCorner.Y;
    const f32 umax = uv.LowerRightCorner.X;
    const f32 vmax = uv.LowerRightCorner.Y;
    buffer.Vertices.push_back(
        video::S3DVertex(left, top, depth, 0, 0, -1, vertexColour, umin, vmin));
    buffer.Vertices.push_back(
        video::S3DVertex(right, top, depth, 0, 0, -1, vertexColour, umax, vmin));
    buffer.Vertices.push_back(
        video::S3DVertex(right, bottom, depth, 0, 0, -1, vertexColour, umax, vmax));
    buffer.Vertices.push_back(
        video::S3DVertex(left, bottom, depth, 0, 0, -1, vertexColour, umin, vmax));
    for (u16 index : {0, 2, 1, 0, 3, 2}) {
        buffer.Indices.push_back(index);
    }
    buffer.recalculateBoundingBox();

    material.Lighting = false;
    material.BackfaceCulling = false;
    material.ZBuffer = video::ECFN_ALWAYS;
    material.ZWriteEnable = false;
    material.TextureLayer[0].BilinearFilter = false;
    material.TextureLayer[0].TrilinearFilter = false;
    material.TextureLayer[0].TextureWrapU = video::ETC_CLAMP_TO_EDGE;
    material.TextureLayer[0].TextureWrapV = video::ETC_CLAMP_TO_EDGE;
    video->setMaterial(material);
    video->drawMeshBuffer(&buffer);
}

video::IImage* PixelTestDevice::captureAndEndFrame() {
    video::IImage* image = captureFrame(driver());
    driver()->endScene();

    const char* folder = std::getenv("VELLUM_TEST_SCREENSHOTS");
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (image && folder && *folder && test) {
        static int captureNumber = 0;
        std::ostringstream name;
        name << test->test_suite_name() << "." << test->name() << "." << ++captureNumber << ".png";
        std::string fileName = name.str();
        std::replace(fileName.begin(), fileName.end(), '/', '_');
        writePngImage(driver(), image, std::string(folder) + "/" + fileName);
    }
    return image;
}

video::SMaterial quadMaterial(video::E_MATERIAL_TYPE type, video::ITexture* texture) {
    video::SMaterial material;
    material.MaterialType = type;
    material.setTexture(0, texture);
    return material;
}

::testing::AssertionResult pixelNear(video::IImage* image, int x, int y, video::SColor expected,
                                     int tolerance) {
    if (!image) {
        return ::testing::AssertionFailure() << "no image";
    }
    const video::SColor actual = image->getPixel(u32(x), u32(y));
    const int differences[] = {
        int(actual.getRed()) - int(expected.getRed()),
        int(actual.getGreen()) - int(expected.getGreen()),
        int(actual.getBlue()) - int(expected.getBlue()),
    };
    for (int difference : differences) {
        if (std::abs(difference) > tolerance) {
            return ::testing::AssertionFailure()
                   << "pixel (" << x << ", " << y << ") is (" << actual.getRed() << ", "
                   << actual.getGreen() << ", " << actual.getBlue() << "), expected ("
                   << expected.getRed() << ", " << expected.getGreen() << ", " << expected.getBlue()
                   << ") within " << tolerance;
        }
    }
    return ::testing::AssertionSuccess();
}
