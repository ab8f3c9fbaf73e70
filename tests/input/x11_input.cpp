#include "x11_input.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace {

Display* displayOf(void* display) {
    return static_cast<Display*>(display);
}

} // namespace

X11Input::X11Input(irr::IrrlichtDevice* device) {
    const irr::video::SExposedVideoData& data = device->getVideoDriver()->getExposedVideoData();
    display = data.OpenGLLinux.X11Display;
    window = static_cast<unsigned long>(data.OpenGLLinux.X11Window);
}

void X11Input::movePointer(int x, int y) {
    pointerX = x;
    pointerY = y;
    XWarpPointer(displayOf(display), None, window, 0, 0, 0, 0, x, y);
    XSync(displayOf(display), False);
}

void X11Input::leftButton(bool press) {
    Display* connection = displayOf(display);
    XEvent event{};
    XButtonEvent& button = event.xbutton;
    button.type = press ? ButtonPress : ButtonRelease;
    button.display = connection;
    button.window = window;
    button.root = DefaultRootWindow(connection);
    button.time = eventTime += 10;
    button.x = pointerX;
    button.y = pointerY;
    button.state = press ? 0 : Button1Mask;
    button.button = Button1;
    button.same_screen = True;
    XSendEvent(connection, window, True, press ? ButtonPressMask : ButtonReleaseMask, &event);
    XSync(connection, False);
}

void X11Input::key(unsigned long keySymbol, bool press, bool control) {
    Display* connection = displayOf(display);
    KeyCode code = XKeysymToKeycode(connection, keySymbol);
    bool shifted = XkbKeycodeToKeysym(connection, code, 0, 0) != keySymbol &&
                   XkbKeycodeToKeysym(connection, code, 0, 1) == keySymbol;
    XEvent event{};
    XKeyEvent& keyEvent = event.xkey;
    keyEvent.type = press ? KeyPress : KeyRelease;
    keyEvent.display = connection;
    keyEvent.window = window;
    keyEvent.root = DefaultRootWindow(connection);
    keyEvent.time = eventTime += 10;
    keyEvent.x = pointerX;
    keyEvent.y = pointerY;
    keyEvent.state = (shifted ? ShiftMask : 0) | (control ? ControlMask : 0);
    keyEvent.keycode = code;
    keyEvent.same_screen = True;
    XSendEvent(connection, window, True, press ? KeyPressMask : KeyReleaseMask, &event);
    XSync(connection, False);
}

void X11Input::type(const std::string& text) {
    for (char character : text) {
        key(static_cast<unsigned char>(character), true);
        key(static_cast<unsigned char>(character), false);
    }
}
