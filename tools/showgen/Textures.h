#pragma once

#include "tools/showgen/GeneratedFile.h"
#include "tools/showgen/Image.h"

#include <vector>

namespace showgen {

// A colour picture and, for relief materials, the height field its normal map comes from.
struct SurfaceImage {
    Image colour;
    HeightField height{1, 1};
    double reliefStrength = 0.0; // 0: no normal map of its own
};

// Surfaces with relief (normal-mapped) and without.
SurfaceImage pavingTexture();
SurfaceImage brickTexture();
SurfaceImage brassTexture();
SurfaceImage barkTexture();
SurfaceImage waterTexture();
SurfaceImage rockPlanetTexture();
Image grassTexture();
Image hedgeTexture();
Image marbleTexture();
Image woodTexture();
Image gasPlanetTexture();
Image icePlanetTexture();

// Pictures whose alpha the renderer uses: cut-out masks and glow masks.
Image leavesTexture();
Image grilleTexture();
Image lanternTexture();
Image glyphTexture();

// Every texture file the scene names, plus the neutral normal map, encoded.
std::vector<GeneratedFile> generateTextures();

} // namespace showgen
