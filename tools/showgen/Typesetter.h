#pragma once

#include <string>
#include <vector>

namespace showgen {

// A grey-scale coverage mask (0 to 1) the size of a picture, drawn into by the typesetter and
// blurred for halos.
class CoverageMask {
public:
    CoverageMask(int width, int height);

    int width() const { return m_width; }
    int height() const { return m_height; }
    double at(int x, int y) const { return m_values[static_cast<size_t>(y) * m_width + x]; }
    // Adds coverage, saturating at 1; points outside are ignored.
    void add(int x, int y, double amount);
    // Three box blurs of the given radius in each direction, close to a Gaussian.
    void blur(int radius);

private:
    int m_width;
    int m_height;
    std::vector<double> m_values;
};

// Lays out and rasterises lines of text with one TrueType font through FreeType.
class Typesetter {
public:
    explicit Typesetter(const std::string& fontPath);
    ~Typesetter();
    Typesetter(const Typesetter&) = delete;
    Typesetter& operator=(const Typesetter&) = delete;

    bool ok() const { return m_face != nullptr; }
    const std::string& error() const { return m_error; }

    // Width in pixels of a line of UTF-8 text at a pixel size, with extra spacing between letters.
    int measure(const std::string& text, int pixelSize, int tracking = 0);
    // Draws the line with its baseline at y, starting at x.
    void draw(CoverageMask& mask, const std::string& text, int x, int y, int pixelSize,
              int tracking = 0);
    // Draws the line centred on x.
    void drawCentred(CoverageMask& mask, const std::string& text, int centreX, int y, int pixelSize,
                     int tracking = 0);

private:
    // Walks the glyphs of a line; `place` gets each rendered glyph's pen position.
    template <typename Place>
    int layout(const std::string& text, int pixelSize, int tracking, Place place);

    void* m_library = nullptr;
    void* m_face = nullptr;
    std::string m_error;
};

// Code points of UTF-8 text; malformed bytes become U+FFFD.
std::vector<unsigned> decodeUtf8(const std::string& text);

} // namespace showgen
