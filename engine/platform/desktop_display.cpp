#include "desktop_display.h"

#include <X11/Xlib.h>

irr::core::dimension2du desktopResolution() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return irr::core::dimension2du(0, 0);
    }
    const int screen = DefaultScreen(display);
    const irr::core::dimension2du size(static_cast<irr::u32>(DisplayWidth(display, screen)),
                                       static_cast<irr::u32>(DisplayHeight(display, screen)));
    XCloseDisplay(display);
    return size;
}

bool requestFullScreenWindow(irr::IrrlichtDevice* device) {
    const irr::video::SExposedVideoData& data = device->getVideoDriver()->getExposedVideoData();
    Display* display = static_cast<Display*>(data.OpenGLLinux.X11Display);
    const Window window = data.OpenGLLinux.X11Window;
    if (display == nullptr || window == 0) {
        return false;
    }
    // The desktop's convention for a window that asks to cover its screen: a message to the root
    // window adding the full-screen state.
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    const long addState = 1;
    event.xclient.data.l[0] = addState;
    event.xclient.data.l[1] =
        static_cast<long>(XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False));
    event.xclient.data.l[3] = 1; // sent by a normal application
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
    return true;
}
