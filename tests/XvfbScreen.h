#pragma once

// What the X server shows, read back from outside the program that drew it.

#include <cstdint>
#include <vector>

namespace tarnelix::test {

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
    bool operator!=(const Rgb& other) const { return !(*this == other); }
};

class ScreenShot {
public:
    // The root window of the display named by $DISPLAY; empty when there is none.
    static ScreenShot take();

    bool empty() const { return m_pixels.empty(); }
    int width() const { return m_width; }
    int height() const { return m_height; }
    // Black outside the screen.
    Rgb at(int x, int y) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<uint32_t> m_pixels; // 0x00RRGGBB
};

} // namespace tarnelix::test
