#pragma once

// Writes 3DF scene files from plain data. Used by the content generator and by tests; the show
// itself only ever reads these files.

#include <cstdint>
#include <string>
#include <vector>

namespace scenefile {

constexpr uint32_t kMagic = 0x46443346; // "F3DF" read as a little-endian 32-bit value
constexpr int32_t kVersion = 110;
constexpr int32_t kNoMaterial = -1;

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// The 56-byte vertex of the file; tangent and binormal are recomputed by the loader.
struct Vertex {
    Vec3 position;
    Vec3 normal;
    float u = 0.0f;
    float v = 0.0f;
    Vec3 tangent;
    Vec3 binormal;
};

struct Placement {
    Vec3 position;
    Vec3 axis; // (0, 0, 0): no rotation
    float angle = 0.0f;
    Vec3 fourth; // carried along by the format, used by nothing
};

struct Material {
    Vec3 diffuse;
    Vec3 glow;
    std::string normalMap;    // empty: the neutral normal map
    std::string colorTexture; // empty: no colour texture
    bool alphaTest = false;
    bool selfIllum = false;
};

struct Object {
    int32_t material = kNoMaterial;
    std::vector<Vertex> vertices;
    std::vector<uint32_t> indices;
    Placement placement;
    bool animated = false;
    std::vector<Placement> frames; // frameCount records when animated
};

struct Light {
    Vec3 color;
    Vec3 position;
    float radius = 0.0f;
    bool animated = false;
    std::vector<Vec3> colors; // each frameCount long when animated
    std::vector<Vec3> positions;
    std::vector<float> radii;
};

struct Camera {
    Vec3 eye;
    Vec3 target;
    float fov = 0.0f;
    std::string name;
    bool animated = false;
    std::vector<Vec3> eyes; // each frameCount long when animated
    std::vector<Vec3> targets;
    std::vector<float> fovs;
};

struct Scene {
    uint32_t magic = kMagic;
    int32_t version = kVersion;
    Vec3 sceneVector1;
    Vec3 sceneVector2;
    int32_t frameCount = 0;
    bool animated = false;
    std::vector<Vec3> sceneTrack1; // each frameCount long when animated
    std::vector<Vec3> sceneTrack2;
    std::vector<Material> materials;
    std::vector<Object> objects;
    std::vector<Light> lights;
    std::vector<Camera> cameras;
};

// Serialises the scene. Fails (with a reason in `error`) when an animated element's samples do
// not match the frame count or a name does not fit its 256-byte field.
bool writeScene(const Scene& scene, std::vector<uint8_t>& out, std::string* error = nullptr);
bool saveScene(const Scene& scene, const std::string& path, std::string* error = nullptr);

// Bytes one placement, vertex, material record and header take in the file.
constexpr uint32_t kHeaderSize = 294;
constexpr uint32_t kMaterialSize = 540;
constexpr uint32_t kVertexSize = 56;
constexpr uint32_t kPlacementSize = 40;
constexpr uint32_t kNameSize = 256;

} // namespace scenefile
