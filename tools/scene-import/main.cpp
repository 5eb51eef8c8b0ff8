// scene-import: a scene from a common 3D format (glTF, OBJ, FBX, Collada, ...) as a 3DF file,
// with its textures beside it.
#include "tools/scene-import/SceneImport.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char* const kUsage =
    "usage: scene-import IN [-o OUT.3df] [--fps 10] [--frames N] [--textures DIR] [--scale S]\n"
    "                       [--show OUT.toml]\n"
    "Converts a scene that Assimp reads (glTF, OBJ, FBX, Collada, ...) into a 3DF scene.\n"
    "  -o OUT.3df      the scene file (default: IN with the extension .3df)\n"
    "  --fps N         animation samples per second (default 10, the rate the show plays;\n"
    "                  20 plays the animation at half speed)\n"
    "  --frames N      samples to write, 2 or more (default: to the end of the longest\n"
    "                  animation; none for a still scene)\n"
    "  --textures DIR  where the textures go (default: beside OUT.3df, where the show looks;\n"
    "                  the file records them relative to OUT.3df's folder)\n"
    "  --scale S       multiply every length by S (default 1); the engine draws nothing\n"
    "                  nearer than 2 units to the camera, so a scene in metres wants ~10\n"
    "  --show OUT.toml a starter show file too: a camera segment per camera, each its share\n"
    "                  of the animation (5 s at least); without cameras an \"Orbit\" camera\n"
    "                  that circles the scene is added to the 3DF for it\n"
    "Mapping:\n"
    "  axes            right-handed Y-up sources become the engine's left-handed frame by\n"
    "                  mirroring Z (x, y, z) -> (x, y, -z); the picture is the same\n"
    "  objects         one per mesh instance; translation and rotation become its placement,\n"
    "                  scale is applied to the vertices\n"
    "  materials       base/diffuse colour -> glow colour (it tints the colour texture);\n"
    "                  base/diffuse texture -> colour texture; normal texture -> normal map;\n"
    "                  emissive colour or texture -> self-illumination, glowing in the\n"
    "                  emissive colour; glTF MASK or BLEND, or an alpha texture -> alpha\n"
    "                  test; the 3DF diffuse colour (the material's own ambient) stays black\n"
    "  textures        JPEG and PNG files copied, embedded images written out; TGA, BMP,\n"
    "                  PSD, GIF, PNM and HDR converted to PNG; anything else left out with\n"
    "                  a warning\n"
    "  cameras         names kept: Camera01, Camera02 and Camera03 play the show's parts;\n"
    "                  vertical field of view kept; roll lost\n"
    "  point lights    colour scaled to at most 1 per channel; radius = glTF range when the\n"
    "                  light has one, else where its own falloff 1/(c + l*d + q*d^2)\n"
    "                  (inverse-square when it has none) brings its brightest channel\n"
    "                  (colour x intensity) down to 1/256: 16*sqrt(I) for an inverse-square\n"
    "                  light of intensity I; spot lights become point lights\n"
    "  directional     a point light far back along the direction, reaching the whole scene\n"
    "  lights          nearly evenly; a scene without lights gets a white one from above and\n"
    "                  behind the first camera\n"
    "  animation       node transforms sampled at --fps into object, camera and light\n"
    "                  tracks; every animation of the file plays at once\n"
    "What the 3DF format cannot hold is reported once each as a warning. A file that cannot\n"
    "be read gives one line and exit code 1.\n";

bool parseCount(const char* text, int low, int& value) {
    errno = 0;
    char* end = nullptr;
    const long n = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || n < low || n > 1000000) {
        return false;
    }
    value = static_cast<int>(n);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    sceneimport::ImportOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if ((arg == "-o" || arg == "--out") && hasValue) {
            options.output = argv[++i];
        } else if (arg == "--scale" && hasValue) {
            char* end = nullptr;
            const char* text = argv[++i];
            options.scale = std::strtof(text, &end);
            if (end == text || *end != '\0' || !(options.scale > 0.0f) ||
                !std::isfinite(options.scale)) {
                std::fprintf(stderr, "scene-import: --scale needs a number above 0\n");
                return 2;
            }
        } else if (arg == "--show" && hasValue) {
            options.showFile = argv[++i];
        } else if (arg == "--textures" && hasValue) {
            options.textureDir = argv[++i];
        } else if (arg == "--fps" && hasValue) {
            if (!parseCount(argv[++i], 1, options.fps)) {
                std::fprintf(stderr, "scene-import: --fps needs a whole number of 1 or more\n");
                return 2;
            }
        } else if (arg == "--frames" && hasValue) {
            if (!parseCount(argv[++i], 2, options.frames)) {
                std::fprintf(stderr, "scene-import: --frames needs a whole number of 2 or more\n");
                return 2;
            }
        } else if (!arg.empty() && arg[0] != '-' && options.input.empty()) {
            options.input = arg;
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    if (options.input.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    sceneimport::ImportResult result;
    std::string error;
    if (!sceneimport::importScene(options, result, error) ||
        !sceneimport::writeImport(options, result, error)) {
        std::fprintf(stderr, "scene-import: %s\n", error.c_str());
        return 1;
    }
    for (const std::string& warning : result.warnings) {
        std::fprintf(stderr, "scene-import: warning: %s\n", warning.c_str());
    }
    const scenefile::Scene& s = result.scene;
    std::printf("scene-import: %s: %zu objects, %zu materials, %zu lights, %zu cameras, "
                "%d frames, %zu textures\n",
                sceneimport::outputPath(options).c_str(), s.objects.size(), s.materials.size(),
                s.lights.size(), s.cameras.size(), s.frameCount, result.textures.size());
    return 0;
}
