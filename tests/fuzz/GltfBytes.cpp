#include "FuzzInputs.h"

#include "tools/scene-import/GltfExtras.h"

#include <cmath>
#include <string>

// Whatever the bytes, what comes back is usable: finite, positive ranges under real names.
const char* readGltfExtrasBytes(const uint8_t* data, size_t size) {
    const sceneimport::GltfExtras extras =
        sceneimport::gltfExtrasFromFile(std::string(reinterpret_cast<const char*>(data), size));
    for (const auto& range : extras.lightRanges) {
        if (!std::isfinite(range.second) || range.second <= 0.0f) {
            return "a light range that is not a positive number";
        }
    }
    return extras.sharedCamerasAndLights < 0 ? "a negative count of shared nodes" : nullptr;
}
