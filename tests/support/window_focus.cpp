#include "support/window_focus.h"

#include <X11/Xlib.h>

#include <chrono>
#include <thread>

namespace {

// A window may be given the focus only once the server shows it; a device's window is mapped
// when the device is made, but the server may not have shown it yet.
void waitUntilViewable(Display* display, Window window) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    XWindowAttributes attributes;
    while (XGetWindowAttributes(display, window, &attributes) != 0 &&
           attributes.map_state != IsViewable && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

} // namespace

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
    if (focused) {
        waitUntilViewable(display, window);
    }
    // When the window goes, the focus follows the pointer again, as it does on a display
    // without a window manager; the next test's window does not start without the focus.
    XSetInputFocus(display, focused ? window : None, RevertToPointerRoot, CurrentTime);
    XSync(display, False);
    return true;
}
