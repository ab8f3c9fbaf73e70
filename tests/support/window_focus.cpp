#include "support/window_focus.h"

#include <X11/Xlib.h>

bool setWindowFocus(irr::IrrlichtDevice* device, bool focused) {
    if (device == nullptr) {
        return false;
    }
    const irr::video::SExposedVideoData& data = device->getVideoDriver()->getExposedVideoData();
    Display* display = static_cast<Display*>(data.OpenGLLinux.X11Display);
    Window window = static_cast<Window>(data.OpenGLLinux.X11Window);
    if (display == nullptr || window == 0) {
        return false;
    }
    XSetInputFocus(display, focused ? window : None, RevertToNone, CurrentTime);
    XSync(display, False);
    return true;
}
