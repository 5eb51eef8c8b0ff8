// The title and credit pictures: a dusk garden under an orrery's rings, fireflies, and text
// with a soft halo.
#include "tools/showgen/Splash.h"

#include "tools/showgen/DetMath.h"
#include "tools/showgen/ImageFiles.h"
#include "tools/showgen/Noise.h"
#include "tools/showgen/Random.h"
#include "tools/showgen/Typesetter.h"

#include <cmath>
#include <memory>

namespace showgen {

using detmath::smoothstep;

namespace {

constexpr int kW = kSplashWidth;
constexpr int kH = kSplashHeight;

// A picture in floating point, so layers add up without rounding on the way.
class Canvas {
public:
    Canvas() : m_pixels(static_cast<size_t>(kW) * kH) {}
    Colour& at(int x, int y) { return m_pixels[static_cast<size_t>(y) * kW + x]; }
    // Adds light of a colour scaled by amount (glows, halos).
    void addLight(int x, int y, const Colour& c, double amount) {
        if (x >= 0 && y >= 0 && x < kW && y < kH) {
            at(x, y) = at(x, y) + c * amount;
        }
    }
    void paint(const CoverageMask& mask, const Colour& c) {
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                at(x, y) = mix(at(x, y), c, mask.at(x, y));
            }
        }
    }
    void glow(const CoverageMask& mask, const Colour& c, double amount) {
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                addLight(x, y, c, mask.at(x, y) * amount);
            }
        }
    }
    Image toImage() {
        Image image(kW, kH);
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                Colour c = at(x, y);
                c.a = 1.0;
                image.set(x, y, c);
            }
        }
        return image;
    }

private:
    std::vector<Colour> m_pixels;
};

struct Sky {
    Colour zenith;
    Colour horizon;
    double horizonY;
};

void paintSky(Canvas& canvas, const Sky& sky) {
    for (int y = 0; y < kH; ++y) {
        const double t = smoothstep(0.0, sky.horizonY, y);
        for (int x = 0; x < kW; ++x) {
            const double haze = fractalNoise(x / 1024.0, y / 1024.0, 4, 4, 0.5, 201u);
            canvas.at(x, y) = mix(sky.zenith, sky.horizon, t * t) * (0.94 + 0.12 * haze);
        }
    }
}

// Hedges and tree crowns against the sky, darker than everything else.
void paintGardenSilhouette(Canvas& canvas, double baseY, const Colour& shade) {
    for (int x = 0; x < kW; ++x) {
        const double u = x / 1024.0;
        const double hedge = baseY - 30.0 * fractalNoise(u, 0.3, 16, 3, 0.5, 211u);
        const double crowns =
            baseY - 150.0 * smoothstep(0.45, 0.8, fractalNoise(u, 0.7, 6, 4, 0.5, 212u));
        const double top = std::min(hedge, crowns);
        for (int y = static_cast<int>(top) - 1; y < kH; ++y) {
            if (y >= 0) {
                const double cover = detmath::clamp(y - top, 0.0, 1.0);
                canvas.at(x, y) = mix(canvas.at(x, y), shade, cover);
            }
        }
    }
}

// Thin tilted ellipses with a planet on each: the orrery that stands in the garden.
void paintOrrery(Canvas& canvas, double cx, double cy, double scale, double phase) {
    const Colour brass(0.95, 0.75, 0.40);
    const int rings = 4;
    for (int ring = 0; ring < rings; ++ring) {
        const double a = scale * (0.45 + 0.22 * ring);
        const double b = a * (0.26 + 0.05 * ring);
        const double tilt = -0.18 + 0.09 * ring;
        const double ct = detmath::cos(tilt);
        const double st = detmath::sin(tilt);
        const double halfHeight = std::sqrt(a * a * st * st + b * b * ct * ct);
        for (int y = static_cast<int>(cy - halfHeight) - 4; y < cy + halfHeight + 4; ++y) {
            for (int x = static_cast<int>(cx - a) - 4; x < cx + a + 4; ++x) {
                const double dx = x - cx;
                const double dy = y - cy;
                const double ex = dx * ct + dy * st;
                const double ey = -dx * st + dy * ct;
                const double f = ex * ex / (a * a) + ey * ey / (b * b) - 1.0;
                const double gx = 2.0 * ex / (a * a);
                const double gy = 2.0 * ey / (b * b);
                const double distance = std::fabs(f) / std::sqrt(gx * gx + gy * gy + 1e-12);
                canvas.addLight(x, y, brass, 0.35 * (1.0 - smoothstep(0.3, 1.6, distance)));
            }
        }
        const double angle = phase + ring * 1.7;
        const double px = cx + a * detmath::cos(angle) * ct - b * detmath::sin(angle) * st;
        const double py = cy + a * detmath::cos(angle) * st + b * detmath::sin(angle) * ct;
        const double radius = 5.0 + 2.5 * ring;
        for (int y = static_cast<int>(py - 4 * radius); y < py + 4 * radius; ++y) {
            for (int x = static_cast<int>(px - 4 * radius); x < px + 4 * radius; ++x) {
                const double d = std::sqrt((x - px) * (x - px) + (y - py) * (y - py)) / radius;
                canvas.addLight(x, y, brass,
                                0.9 * (1.0 - smoothstep(0.8, 1.0, d)) +
                                    0.25 * detmath::exp(-d * d * 0.5));
            }
        }
    }
}

void paintFireflies(Canvas& canvas, uint64_t seed, int count, double top, double bottom) {
    Random random(seed);
    for (int i = 0; i < count; ++i) {
        const double fx = random.range(0.0, kW);
        const double fy = random.range(top, bottom);
        const double size = random.range(1.5, 4.0);
        const Colour c = random.unit() < 0.5 ? Colour(1.0, 0.85, 0.45) : Colour(0.55, 1.0, 0.9);
        const int reach = static_cast<int>(size * 6);
        for (int y = static_cast<int>(fy) - reach; y <= fy + reach; ++y) {
            for (int x = static_cast<int>(fx) - reach; x <= fx + reach; ++x) {
                const double d2 = ((x - fx) * (x - fx) + (y - fy) * (y - fy)) / (size * size);
                canvas.addLight(x, y, c, 0.9 * detmath::exp(-d2));
            }
        }
    }
}

// A line of text with a halo: the halo is the text's mask blurred and added as light.
void paintText(Canvas& canvas, Typesetter& font, const std::string& text, int baseline, int size,
               int tracking, const Colour& ink, const Colour& halo, int haloRadius) {
    CoverageMask mask(kW, kH);
    font.drawCentred(mask, text, kW / 2, baseline, size, tracking);
    if (haloRadius > 0) {
        CoverageMask soft = mask;
        soft.blur(haloRadius);
        canvas.glow(soft, halo, 1.6);
    }
    canvas.paint(mask, ink);
}

struct Fonts {
    std::unique_ptr<Typesetter> sansBold;
    std::unique_ptr<Typesetter> sans;
    std::unique_ptr<Typesetter> serif;
    std::unique_ptr<Typesetter> serifBold;
};

bool openFonts(const std::string& dir, Fonts& fonts, std::string& error) {
    fonts.sansBold = std::make_unique<Typesetter>(dir + "/DejaVuSans-Bold.ttf");
    fonts.sans = std::make_unique<Typesetter>(dir + "/DejaVuSans.ttf");
    fonts.serif = std::make_unique<Typesetter>(dir + "/DejaVuSerif.ttf");
    fonts.serifBold = std::make_unique<Typesetter>(dir + "/DejaVuSerif-Bold.ttf");
    for (Typesetter* font :
         {fonts.sansBold.get(), fonts.sans.get(), fonts.serif.get(), fonts.serifBold.get()}) {
        if (!font->ok()) {
            error = font->error();
            return false;
        }
    }
    return true;
}

} // namespace

bool introImage(const std::string& fontDir, Image& out, std::string& error) {
    Fonts fonts;
    if (!openFonts(fontDir, fonts, error)) {
        return false;
    }
    Canvas canvas;
    paintSky(canvas, {Colour(0.05, 0.12, 0.18), Colour(0.92, 0.62, 0.36), 600.0});
    paintOrrery(canvas, kW / 2.0, 300.0, 430.0, 0.6);
    paintGardenSilhouette(canvas, 640.0, Colour(0.03, 0.06, 0.05));
    paintFireflies(canvas, 5, 70, 520.0, 760.0);
    const Colour cream(1.0, 0.95, 0.82);
    paintText(canvas, *fonts.sansBold, "TARNELIX", 320, 124, 20, cream, Colour(0.3, 0.8, 0.75), 14);
    paintText(canvas, *fonts.serif, "The Clockwork Garden", 400, 48, 2, Colour(1.0, 0.86, 0.6),
              Colour(0.5, 0.3, 0.1), 6);
    paintText(canvas, *fonts.sans, "a real-time journey through one evening", 720, 22, 3,
              Colour(0.85, 0.9, 0.85), Colour(0, 0, 0), 0);
    out = canvas.toImage();
    return true;
}

bool extroImage(const std::string& fontDir, Image& out, std::string& error) {
    Fonts fonts;
    if (!openFonts(fontDir, fonts, error)) {
        return false;
    }
    Canvas canvas;
    paintSky(canvas, {Colour(0.02, 0.04, 0.09), Colour(0.20, 0.26, 0.36), 680.0});
    paintOrrery(canvas, kW / 2.0, 250.0, 520.0, 2.4);
    paintGardenSilhouette(canvas, 700.0, Colour(0.01, 0.02, 0.02));
    paintFireflies(canvas, 9, 110, 40.0, 760.0);
    const Colour ink(0.95, 0.93, 0.86);
    const Colour gold(1.0, 0.84, 0.55);
    paintText(canvas, *fonts.serifBold, "The Clockwork Garden", 170, 56, 1, gold,
              Colour(0.45, 0.3, 0.1), 8);
    const char* lines[] = {
        "engine, renderer and show  \xe2\x80\x94  Tarnelix",
        "scene, textures and music  \xe2\x80\x94  generated from code",
        "text set in DejaVu Sans and DejaVu Serif",
    };
    int baseline = 290;
    for (const char* line : lines) {
        paintText(canvas, *fonts.sans, line, baseline, 26, 1, ink, Colour(0, 0, 0), 0);
        baseline += 56;
    }
    paintText(canvas, *fonts.sansBold, "thank you for watching", 560, 44, 6, Colour(1, 1, 0.95),
              Colour(0.3, 0.8, 0.75), 10);
    out = canvas.toImage();
    return true;
}

bool generateSplashes(const std::string& fontDir, std::vector<GeneratedFile>& out,
                      std::string& error) {
    Image intro;
    Image extro;
    if (!introImage(fontDir, intro, error) || !extroImage(fontDir, extro, error)) {
        return false;
    }
    out.push_back({"intro.jpg", encodeJpeg(intro, 92)});
    out.push_back({"extro.jpg", encodeJpeg(extro, 92)});
    return true;
}

} // namespace showgen
