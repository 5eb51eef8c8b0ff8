#include "XvfbEvents.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstring>

namespace tarnelix::test {

namespace {

struct X11Target {
    ::Display* display = nullptr;
    ::Window window = 0;
};

X11Target x11Of(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    X11Target target;
    if (window && SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
        target.display = info.info.x11.display;
        target.window = info.info.x11.window;
    }
    return target;
}

} // namespace

bool sendEscape(SDL_Window* window) {
    X11Target target = x11Of(window);
    if (!target.display) {
        return false;
    }
    XKeyEvent key;
    std::memset(&key, 0, sizeof(key));
    key.display = target.display;
    key.window = target.window;
    key.root = DefaultRootWindow(target.display);
    key.subwindow = None;
    key.time = CurrentTime;
    key.same_screen = True;
    key.keycode = XKeysymToKeycode(target.display, XK_Escape);
    key.type = KeyPress;
    XSendEvent(target.display, target.window, True, KeyPressMask, reinterpret_cast<XEvent*>(&key));
    key.type = KeyRelease;
    XSendEvent(target.display, target.window, True, KeyReleaseMask,
               reinterpret_cast<XEvent*>(&key));
    XFlush(target.display);
    return true;
}

namespace {

void sendCloseRequest(const X11Target& target) {
    XEvent event;
    std::memset(&event, 0, sizeof(event));
    event.xclient.type = ClientMessage;
    event.xclient.window = target.window;
    event.xclient.message_type = XInternAtom(target.display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] =
        static_cast<long>(XInternAtom(target.display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(target.display, target.window, False, NoEventMask, &event);
    XFlush(target.display);
}

} // namespace

bool sendCloseRequest(SDL_Window* window) {
    X11Target target = x11Of(window);
    if (!target.display) {
        return false;
    }
    sendCloseRequest(target);
    return true;
}

bool sendCloseRequest(unsigned long xWindow) {
    X11Target target{XOpenDisplay(nullptr), static_cast<::Window>(xWindow)};
    if (!target.display) {
        return false;
    }
    sendCloseRequest(target);
    XCloseDisplay(target.display);
    return true;
}

} // namespace tarnelix::test
