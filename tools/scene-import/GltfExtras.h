#pragma once

// What Assimp 5.2 loses from glTF files, read from the file itself: the "range" of
// KHR_lights_punctual lights, the distance at which the author wants a light to end, and
// cameras or lights that several nodes share (Assimp keeps one, named after the last node).

#include <map>
#include <string>

namespace sceneimport {

struct GltfExtras {
    // By the name of the node that carries the light, which is the name Assimp gives the
    // light; nodes without a name, and lights without a range, are not listed.
    std::map<std::string, float> lightRanges;
    // Nodes that use a camera or a light that an earlier node already uses.
    int sharedCamerasAndLights = 0;
};

// Nothing for a file that is not glTF (text or binary) or cannot be read this way.
GltfExtras readGltfExtras(const std::string& path);

// The same from a whole file's bytes, text or binary glTF.
GltfExtras gltfExtrasFromFile(const std::string& bytes);

// The same from the JSON text of a glTF file.
GltfExtras gltfExtrasFromJson(const std::string& json);

} // namespace sceneimport
