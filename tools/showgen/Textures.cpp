#include "tools/showgen/Textures.h"

#include "tools/showgen/ImageFiles.h"
#include "tools/showgen/TextureNames.h"

#include <functional>

namespace showgen {

namespace {

constexpr int kColourQuality = 88;
constexpr int kNormalQuality = 92;

bool endsWith(const std::string& name, const std::string& suffix) {
    return name.size() >= suffix.size() &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

GeneratedFile encoded(const std::string& name, const Image& image, int jpegQuality) {
    if (endsWith(name, ".png")) {
        return {name, encodePng(image)};
    }
    return {name, encodeJpeg(image, jpegQuality)};
}

GeneratedFile encodedNormals(const std::string& name, const Image& image, int jpegQuality) {
    return {name, encodeJpeg(image, jpegQuality, JpegChannels::Rgb)};
}

void addSurface(std::vector<GeneratedFile>& out, const char* colourName, const char* normalName,
                const SurfaceImage& surface) {
    out.push_back(encoded(colourName, surface.colour, kColourQuality));
    out.push_back(encodedNormals(normalName, normalMapFrom(surface.height, surface.reliefStrength),
                                 kNormalQuality));
}

} // namespace

std::vector<GeneratedFile> generateTextures() {
    std::vector<GeneratedFile> out;
    // The fallback for materials without relief: every texel faces straight out of the surface.
    out.push_back(encodedNormals(tex::kNeutralNormal,
                                 Image(64, 64, Colour(128 / 255.0, 128 / 255.0, 1.0)), 100));
    addSurface(out, tex::kPaving, tex::kPavingNormal, pavingTexture());
    addSurface(out, tex::kBrick, tex::kBrickNormal, brickTexture());
    addSurface(out, tex::kBrass, tex::kBrassNormal, brassTexture());
    addSurface(out, tex::kBark, tex::kBarkNormal, barkTexture());
    addSurface(out, tex::kWater, tex::kWaterNormal, waterTexture());
    addSurface(out, tex::kRockPlanet, tex::kRockPlanetNormal, rockPlanetTexture());
    out.push_back(encoded(tex::kGrass, grassTexture(), kColourQuality));
    out.push_back(encoded(tex::kHedge, hedgeTexture(), kColourQuality));
    out.push_back(encoded(tex::kMarble, marbleTexture(), kColourQuality));
    out.push_back(encoded(tex::kWood, woodTexture(), kColourQuality));
    out.push_back(encoded(tex::kGasPlanet, gasPlanetTexture(), kColourQuality));
    out.push_back(encoded(tex::kIcePlanet, icePlanetTexture(), kColourQuality));
    out.push_back(encoded(tex::kLeaves, leavesTexture(), kColourQuality));
    out.push_back(encoded(tex::kGrille, grilleTexture(), kColourQuality));
    out.push_back(encoded(tex::kLantern, lanternTexture(), kColourQuality));
    out.push_back(encoded(tex::kGlyphs, glyphTexture(), kColourQuality));
    return out;
}

} // namespace showgen
