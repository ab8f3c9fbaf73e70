#include "support/window_resize.h"

#include <X11/Xlib.h>

bool resizeWindow(irr::IrrlichtDevice* device, const irr::core::dimension2du& size) {
    if (device == nullptr) {
        return false;
    }
    const irr::video::SExposedVideoData& data = device->getVideoDriver()->getExposedVideoData();
    Display* display = static_cast<Display*>(data.OpenGLLinux.X11Display);
    const Window window = static_cast<Window>(data.OpenGLLinux.X11Window);
    if (display == nullptr || window == 0) {
        return false;
    }
    XResizeWindow(display, window, size.Width, size.Height);
    XSync(display, False);
    return true;
}
