#include "XvfbScreen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tarnelix::test {

ScreenShot ScreenShot::take() {
    ScreenShot shot;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        return shot;
    }
    Window root = DefaultRootWindow(display);
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, root, &attributes);
    XImage* image = XGetImage(display, root, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image) {
        shot.m_width = attributes.width;
        shot.m_height = attributes.height;
        shot.m_pixels.resize(static_cast<size_t>(shot.m_width) * shot.m_height);
        for (int y = 0; y < shot.m_height; ++y) {
            for (int x = 0; x < shot.m_width; ++x) {
                shot.m_pixels[static_cast<size_t>(y) * shot.m_width + x] =
                    static_cast<uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF);
            }
        }
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    return shot;
}

Rgb ScreenShot::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return {};
    }
    uint32_t pixel = m_pixels[static_cast<size_t>(y) * m_width + x];
    return {static_cast<int>(pixel >> 16), static_cast<int>((pixel >> 8) & 0xFF),
            static_cast<int>(pixel & 0xFF)};
}

} // namespace tarnelix::test
