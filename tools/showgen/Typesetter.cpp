#include "tools/showgen/Typesetter.h"

#include <algorithm>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace showgen {

CoverageMask::CoverageMask(int width, int height)
    : m_width(width), m_height(height), m_values(static_cast<size_t>(width) * height, 0.0) {}

void CoverageMask::add(int x, int y, double amount) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return;
    }
    double& v = m_values[static_cast<size_t>(y) * m_width + x];
    v = std::min(1.0, v + amount);
}

void CoverageMask::blur(int radius) {
    if (radius <= 0) {
        return;
    }
    std::vector<double> line;
    const double scale = 1.0 / (2 * radius + 1);
    // One running-sum box blur along a row or column of `count` values `stride` apart.
    auto boxBlur = [&](size_t first, int count, size_t stride) {
        line.assign(static_cast<size_t>(count), 0.0);
        for (int i = 0; i < count; ++i) {
            line[static_cast<size_t>(i)] = m_values[first + static_cast<size_t>(i) * stride];
        }
        double sum = 0.0;
        for (int i = -radius; i <= radius; ++i) {
            sum += line[static_cast<size_t>(std::clamp(i, 0, count - 1))];
        }
        for (int i = 0; i < count; ++i) {
            m_values[first + static_cast<size_t>(i) * stride] = sum * scale;
            sum += line[static_cast<size_t>(std::min(i + radius + 1, count - 1))];
            sum -= line[static_cast<size_t>(std::max(i - radius, 0))];
        }
    };
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < m_height; ++y) {
            boxBlur(static_cast<size_t>(y) * m_width, m_width, 1);
        }
        for (int x = 0; x < m_width; ++x) {
            boxBlur(static_cast<size_t>(x), m_height, static_cast<size_t>(m_width));
        }
    }
}

std::vector<unsigned> decodeUtf8(const std::string& text) {
    std::vector<unsigned> out;
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80           ? 0
                          : (lead >> 5) == 0x06 ? 1
                          : (lead >> 4) == 0x0E ? 2
                          : (lead >> 3) == 0x1E ? 3
                                                : -1;
        if (extra < 0 || text.size() - i <= static_cast<size_t>(extra)) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        unsigned code = extra == 0 ? lead : lead & (0x3F >> extra);
        bool valid = true;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            valid = valid && (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        out.push_back(valid ? code : 0xFFFD);
        i += valid ? static_cast<size_t>(extra) + 1 : 1;
    }
    return out;
}

Typesetter::Typesetter(const std::string& fontPath) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        m_error = "cannot start FreeType";
        return;
    }
    m_library = library;
    FT_Face face = nullptr;
    if (FT_New_Face(library, fontPath.c_str(), 0, &face) != 0) {
        m_error = "cannot open the font " + fontPath;
        return;
    }
    m_face = face;
}

Typesetter::~Typesetter() {
    if (m_face != nullptr) {
        FT_Done_Face(static_cast<FT_Face>(m_face));
    }
    if (m_library != nullptr) {
        FT_Done_FreeType(static_cast<FT_Library>(m_library));
    }
}

template <typename Place>
int Typesetter::layout(const std::string& text, int pixelSize, int tracking, Place place) {
    if (m_face == nullptr) {
        return 0;
    }
    auto face = static_cast<FT_Face>(m_face);
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
    int pen = 0;
    FT_UInt previous = 0;
    for (unsigned code : decodeUtf8(text)) {
        const FT_UInt glyph = FT_Get_Char_Index(face, code);
        if (previous != 0 && glyph != 0 && FT_HAS_KERNING(face)) {
            FT_Vector kerning{};
            FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kerning);
            pen += static_cast<int>(kerning.x >> 6);
        }
        if (FT_Load_Glyph(face, glyph, FT_LOAD_RENDER) != 0) {
            continue;
        }
        place(face->glyph, pen);
        pen += static_cast<int>(face->glyph->advance.x >> 6) + tracking;
        previous = glyph;
    }
    return pen - tracking;
}

int Typesetter::measure(const std::string& text, int pixelSize, int tracking) {
    return layout(text, pixelSize, tracking, [](FT_GlyphSlot, int) {});
}

void Typesetter::draw(CoverageMask& mask, const std::string& text, int x, int y, int pixelSize,
                      int tracking) {
    layout(text, pixelSize, tracking, [&](FT_GlyphSlot slot, int pen) {
        const FT_Bitmap& bitmap = slot->bitmap;
        const int left = x + pen + slot->bitmap_left;
        const int top = y - slot->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            const unsigned char* line = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
            for (unsigned column = 0; column < bitmap.width; ++column) {
                mask.add(left + static_cast<int>(column), top + static_cast<int>(row),
                         line[column] / 255.0);
            }
        }
    });
}

void Typesetter::drawCentred(CoverageMask& mask, const std::string& text, int centreX, int y,
                             int pixelSize, int tracking) {
    const int width = measure(text, pixelSize, tracking);
    draw(mask, text, centreX - width / 2, y, pixelSize, tracking);
}

} // namespace showgen
