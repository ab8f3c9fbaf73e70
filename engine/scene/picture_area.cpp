#include "picture_area.h"

#include "core/vellumengine.h"

irr::core::recti fitPictureArea(const irr::core::dimension2du& window) {
    const long long width = window.Width;
    const long long height = window.Height;
    // Wider than 4:3 gives bars at the sides, taller gives bars above and below; the picture's
    // size is rounded to the nearest pixel and the odd pixel of the bars goes to the right or
    // below.
    long long pictureWidth = width;
    long long pictureHeight = height;
    if (width * 3 > height * 4) {
        pictureWidth = (height * 4 + 1) / 3;
    } else if (width * 3 < height * 4) {
        pictureHeight = (width * 3 + 2) / 4;
    }
    const int left = static_cast<int>((width - pictureWidth) / 2);
    const int top = static_cast<int>((height - pictureHeight) / 2);
    return irr::core::recti(left, top, left + static_cast<int>(pictureWidth),
                            top + static_cast<int>(pictureHeight));
}

irr::core::recti currentPictureArea() {
    irr::video::IVideoDriver* driver = getEngine().getDriver();
    return driver != nullptr ? fitPictureArea(driver->getScreenSize()) : irr::core::recti();
}

PictureViewport::PictureViewport(irr::video::IVideoDriver* driver) : driver(driver) {
    driver->setViewPort(fitPictureArea(driver->getScreenSize()));
}

PictureViewport::~PictureViewport() {
    const irr::core::dimension2du window = driver->getScreenSize();
    driver->setViewPort(
        irr::core::recti(0, 0, static_cast<int>(window.Width), static_cast<int>(window.Height)));
}
