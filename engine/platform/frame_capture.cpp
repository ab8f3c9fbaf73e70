#include "frame_capture.h"

#include "platform/native_path.h"
#include "utils/debug.h"

#include <GL/gl.h>

#include <cstring>
#include <strings.h>
#include <vector>

using namespace irr;

namespace {

// Reads the OpenGL back buffer into an image. OpenGL delivers rows bottom-up; images hold
// them top-down. The read buffer and pack alignment are put back as they were.
video::IImage* readBackBuffer(video::IVideoDriver* driver) {
    const core::dimension2du size = driver->getScreenSize();
    video::IImage* image = driver->createImage(video::ECF_R8G8B8, size);
    if (!image) {
        return nullptr;
    }
    const size_t rowBytes = size_t(size.Width) * 3;
    std::vector<unsigned char> pixels(rowBytes * size.Height);

    GLint previousReadBuffer = GL_BACK;
    GLint previousAlignment = 4;
    glGetIntegerv(GL_READ_BUFFER, &previousReadBuffer);
    glGetIntegerv(GL_PACK_ALIGNMENT, &previousAlignment);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, GLsizei(size.Width), GLsizei(size.Height), GL_RGB, GL_UNSIGNED_BYTE,
                 pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, previousAlignment);
    glReadBuffer(GLenum(previousReadBuffer));

    unsigned char* target = static_cast<unsigned char*>(image->lock());
    for (u32 y = 0; y < size.Height; ++y) {
        std::memcpy(target + size_t(y) * image->getPitch(),
                    pixels.data() + size_t(size.Height - 1 - y) * rowBytes, rowBytes);
    }
    image->unlock();
    return image;
}

// The driver's own screenshot, converted to 24 bits so that every capture is opaque.
video::IImage* driverScreenShot(video::IVideoDriver* driver) {
    video::IImage* shot = driver->createScreenShot();
    if (!shot || shot->getColorFormat() == video::ECF_R8G8B8) {
        return shot;
    }
    video::IImage* opaque = driver->createImage(video::ECF_R8G8B8, shot->getDimension());
    if (opaque) {
        shot->copyToScaling(opaque);
    }
    shot->drop();
    return opaque;
}

bool endsWithPng(const std::string& path) {
    return path.size() >= 4 && strcasecmp(path.c_str() + path.size() - 4, ".png") == 0;
}

} // namespace

video::IImage* captureFrame(video::IVideoDriver* driver) {
    if (!driver) {
        logDebug("Frame capture: no video driver", __FILE__, __LINE__);
        return nullptr;
    }
    video::IImage* image = driver->getDriverType() == video::EDT_OPENGL ? readBackBuffer(driver)
                                                                        : driverScreenShot(driver);
    if (!image) {
        logDebug("Frame capture: the driver gave no image (driver type " +
                     std::to_string(driver->getDriverType()) + ")",
                 __FILE__, __LINE__);
    }
    return image;
}

bool writePngImage(video::IVideoDriver* driver, video::IImage* image, const std::string& path) {
    if (!driver || !image) {
        logDebug("Cannot write image '" + path + "': no driver or no image", __FILE__, __LINE__);
        return false;
    }
    if (!endsWithPng(path)) {
        logDebug("Cannot write image '" + path + "': the name must end in .png", __FILE__,
                 __LINE__);
        return false;
    }
    const std::string nativePath = toNativePath(path);
    if (!driver->writeImageToFile(image, io::path(nativePath.c_str()))) {
        logDebug("Failed to write image '" + nativePath + "'", __FILE__, __LINE__);
        return false;
    }
    return true;
}
