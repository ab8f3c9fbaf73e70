#include "support/pixel_test_device.h"

#include "platform/frame_capture.h"
#include "support/temporary_folder.h"

#include <gtest/gtest.h>

using namespace irr;

namespace {

const video::SColor background(255, 40, 60, 80);
const video::SColor red(255, 255, 0, 0);
const video::SColor blue(255, 0, 0, 255);

// An odd width makes rows that are not a multiple of four bytes long, which shears the picture
// unless the read-back packs rows tightly.
const core::dimension2du screenSize(161, 120);

// Draws a red block in the top-left corner over the background and captures the frame.
video::IImage* captureRedCorner(PixelTestDevice& device) {
    device.beginFrame(background);
    device.driver()->draw2DRectangle(red, core::recti(0, 0, 40, 30));
    return device.captureAndEndFrame();
}

void expectRedCornerOnly(video::IImage* image) {
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getDimension(), screenSize);
    EXPECT_EQ(image->getColorFormat(), video::ECF_R8G8B8);
    EXPECT_TRUE(pixelNear(image, 2, 2, red, 0));
    EXPECT_TRUE(pixelNear(image, 39, 29, red, 0));
    EXPECT_TRUE(pixelNear(image, 41, 2, background, 0));
    EXPECT_TRUE(pixelNear(image, 2, 31, background, 0));
    EXPECT_TRUE(pixelNear(image, 160, 0, background, 0));
    EXPECT_TRUE(pixelNear(image, 0, 119, background, 0));
    EXPECT_TRUE(pixelNear(image, 160, 119, background, 0));
}

TEST(FrameCapture, OpenGlCaptureHoldsTheFrameDrawnSoFarTopRowFirst) {
    PixelTestDevice device(video::EDT_OPENGL, screenSize);
    ASSERT_TRUE(device.valid());
    video::IImage* image = captureRedCorner(device);
    expectRedCornerOnly(image);
    if (image) {
        image->drop();
    }
}

TEST(FrameCapture, BurningsVideoCaptureHoldsTheFrameDrawnSoFarTopRowFirst) {
    PixelTestDevice device(video::EDT_BURNINGSVIDEO, screenSize);
    ASSERT_TRUE(device.valid());
    video::IImage* image = captureRedCorner(device);
    expectRedCornerOnly(image);
    if (image) {
        image->drop();
    }
}

TEST(FrameCapture, CapturingMidFrameLeavesTheFrameToBeDrawnOn) {
    PixelTestDevice device(video::EDT_OPENGL, screenSize);
    ASSERT_TRUE(device.valid());
    device.beginFrame(background);
    device.driver()->draw2DRectangle(red, core::recti(0, 0, 40, 30));
    video::IImage* first = captureFrame(device.driver());
    device.driver()->draw2DRectangle(blue, core::recti(100, 80, 140, 110));
    video::IImage* second = device.captureAndEndFrame();

    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(pixelNear(first, 120, 95, background, 0));
    EXPECT_TRUE(pixelNear(second, 10, 10, red, 0));
    EXPECT_TRUE(pixelNear(second, 120, 95, blue, 0));
    first->drop();
    second->drop();
}

TEST(FrameCapture, NullDriverGivesNoCapture) {
    IrrlichtDevice* device = createDevice(video::EDT_NULL);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(captureFrame(device->getVideoDriver()), nullptr);
    EXPECT_EQ(captureFrame(nullptr), nullptr);
    device->drop();
}

class PngWriting : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.valid());
        image = captureRedCorner(device);
        ASSERT_NE(image, nullptr);
    }
    void TearDown() override {
        if (image) {
            image->drop();
        }
    }

    // The written file read back; null when it cannot be read.
    video::IImage* readBack(const std::string& nativePath) {
        return device.driver()->createImageFromFile(nativePath.c_str());
    }

    PixelTestDevice device{video::EDT_OPENGL, screenSize};
    TemporaryFolder folder;
    video::IImage* image = nullptr;
};

TEST_F(PngWriting, WritesToANativePathAndReadsBackTheSamePixels) {
    const std::string path = folder.native() + "frame.png";
    ASSERT_TRUE(writePngImage(device.driver(), image, path));
    video::IImage* written = readBack(path);
    ASSERT_NE(written, nullptr);
    EXPECT_EQ(written->getDimension(), screenSize);
    EXPECT_TRUE(pixelNear(written, 2, 2, red, 0));
    EXPECT_TRUE(pixelNear(written, 160, 119, background, 0));
    EXPECT_EQ(written->getPixel(2, 2).getAlpha(), 255u);
    written->drop();
}

TEST_F(PngWriting, WritesToAnEnginePath) {
    ASSERT_TRUE(writePngImage(device.driver(), image, folder.engine() + "shot.png"));
    video::IImage* written = readBack(folder.native() + "shot.png");
    ASSERT_NE(written, nullptr);
    EXPECT_TRUE(pixelNear(written, 2, 2, red, 0));
    written->drop();
}

TEST_F(PngWriting, RefusesNamesThatAreNotPngAndMissingImages) {
    EXPECT_FALSE(writePngImage(device.driver(), image, folder.native() + "shot.bmp"));
    EXPECT_FALSE(folder.exists("shot.bmp"));
    EXPECT_FALSE(writePngImage(device.driver(), nullptr, folder.native() + "none.png"));
    EXPECT_FALSE(folder.exists("none.png"));
    EXPECT_FALSE(writePngImage(device.driver(), image, folder.native() + "missing/x.png"));
}

} // namespace
