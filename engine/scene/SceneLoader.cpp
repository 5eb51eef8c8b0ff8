#include "engine/scene/Scene.h"

#include "engine/core/Log.h"
#include "engine/resources/ResourceStream.h"
#include "engine/resources/TextureCache.h"
#include "engine/scene/Placement.h"

#include <cstring>

// The 3DF loader: a header, then materials, objects, lights and cameras, each section led by a
// count. Every count, index and name is checked against what the file really holds before it is
// used, so a damaged file is refused as unreadable instead of being read past its end.

namespace {

constexpr uint32_t kMagic = 0x46443346; // "F3DF"
constexpr int32_t kVersion = 110;
constexpr uint32_t kHeaderBlock = 296; // the header fields rounded up to a multiple of four
constexpr uint32_t kHeaderSize = 294;  // where the first section really starts
constexpr uint32_t kMaterialSize = 540;
constexpr uint32_t kPlacementSize = 40;
constexpr uint32_t kNameSize = 256;
constexpr int32_t kSampleRate = 10;
// The smallest block of each kind, to refuse a count the rest of the file cannot hold.
constexpr uint64_t kMinObjectSize = 4 + 4 + 4 + kPlacementSize + 1;
constexpr uint64_t kMinLightSize = 12 + 12 + 4 + 1;
constexpr uint64_t kMinCameraSize = 12 + 12 + 4 + kNameSize + 1;
const char* const kNeutralNormalMap = "bump_neutral.jpg";

struct Header {
    uint32_t magic;
    int32_t version;
    float sceneVector1[3];
    float sceneVector2[3];
    uint8_t unused[256];
    int32_t frameCount;
    uint8_t sceneAnimated;
    uint8_t padding[3];
};
static_assert(sizeof(Header) == kHeaderBlock, "header block must be 296 bytes");

struct MaterialRecord {
    float diffuse[3];
    float glow[3];
    char normalMap[kNameSize];
    char colorTexture[kNameSize];
    uint8_t alphaTest;
    uint8_t selfIllum;
    uint8_t unused[2];
};
static_assert(sizeof(MaterialRecord) == kMaterialSize, "material record must be 540 bytes");

struct PlacementRecord {
    float position[3];
    float axis[3];
    float angle;
    float fourth[3];
};
static_assert(sizeof(PlacementRecord) == kPlacementSize, "placement must be 40 bytes");

Vec4 point(const float v[3]) {
    return Vec4(v[0], v[1], v[2], 1.0f);
}

bool terminated(const char* name) {
    return std::memchr(name, 0, kNameSize) != nullptr;
}

// Typed reads over the stream that remember the first problem.
class FileReader {
public:
    explicit FileReader(ResourceStream& stream) : m_stream(stream) {}

    bool ok() const { return m_error == nullptr; }
    const char* error() const { return m_error; }
    bool fail(const char* why) {
        if (m_error == nullptr) {
            m_error = why;
        }
        return false;
    }

    bool bytes(void* to, uint32_t count) {
        return ok() && (m_stream.read(to, count) || fail("the file ends early"));
    }
    int32_t i32() {
        int32_t v = 0;
        bytes(&v, 4);
        return v;
    }
    float f32() {
        float v = 0.0f;
        bytes(&v, 4);
        return v;
    }
    bool flag() {
        uint8_t v = 0;
        bytes(&v, 1);
        return v != 0;
    }
    Vec4 vec3() {
        float v[3] = {};
        bytes(v, sizeof v);
        return point(v);
    }

    // A section or sample count whose records, each at least `recordSize` bytes, must fit in
    // the rest of the file.
    bool fits(int64_t count, uint64_t recordSize) {
        if (count > 0 && static_cast<uint64_t>(count) * recordSize > m_stream.remaining()) {
            return fail("a count is larger than the file");
        }
        return ok();
    }

    // Reads `frames` vec3 samples into a track sized for them.
    void samples(VectorTrack& track, int32_t frames) {
        track.resize(frames);
        track.setRate(kSampleRate);
        for (int32_t i = 0; i < frames && ok(); ++i) {
            track.setKey(i, vec3());
        }
    }
    void samples(FloatTrack& track, int32_t frames) {
        track.resize(frames);
        track.setRate(kSampleRate);
        for (int32_t i = 0; i < frames && ok(); ++i) {
            track.setKey(i, f32());
        }
    }

    ResourceStream& stream() { return m_stream; }

private:
    ResourceStream& m_stream;
    const char* m_error = nullptr;
};

class SceneLoader {
public:
    SceneLoader(Scene& scene, ResourceStream& stream, IDirect3DDevice9* device,
                TextureCache& textures)
        : m_scene(scene), m_in(stream), m_device(device), m_textures(textures) {}

    // Returns null on success, else why the file was refused.
    const char* load() {
        if (!readHeader()) {
            return m_in.error();
        }
        readMaterials();
        readObjects();
        readLights();
        readCameras();
        return m_in.error();
    }

    bool recognised() const { return m_recognised; }

private:
    bool readHeader();
    void readMaterials();
    void readObjects();
    void readObject(SceneObject& object);
    void readLights();
    void readCameras();
    int32_t readCount(uint64_t minRecordSize);
    // frameCount samples of `size` bytes each must fit; a negative frame count cannot animate.
    bool animationFits(uint64_t size);

    Scene& m_scene;
    FileReader m_in;
    IDirect3DDevice9* m_device;
    TextureCache& m_textures;
    bool m_recognised = false;
};

bool SceneLoader::readHeader() {
    Header header;
    std::memset(&header, 0, sizeof header);
    // A file shorter than the block is still recognised by its fields if it holds them all.
    const uint32_t available = m_in.stream().remaining();
    m_in.stream().read(&header, available < kHeaderBlock ? available : kHeaderBlock);
    if (header.magic != kMagic || header.version != kVersion) {
        return false;
    }
    m_recognised = true;
    if (available < kHeaderSize) {
        return m_in.fail("the file ends early");
    }
    m_in.stream().seek(kHeaderSize);

    m_scene.sceneVector1 = point(header.sceneVector1);
    m_scene.sceneVector2 = point(header.sceneVector2);
    m_scene.frameCount = header.frameCount;
    if (header.sceneAnimated != 0 && animationFits(2 * 12)) {
        m_in.samples(m_scene.sceneTrack1, m_scene.frameCount);
        m_in.samples(m_scene.sceneTrack2, m_scene.frameCount);
    }
    return m_in.ok();
}

bool SceneLoader::animationFits(uint64_t size) {
    if (m_scene.frameCount < 0) {
        return m_in.fail("animated content with a negative frame count");
    }
    return m_in.fits(m_scene.frameCount, size);
}

int32_t SceneLoader::readCount(uint64_t minRecordSize) {
    const int32_t count = m_in.i32();
    return m_in.fits(count, minRecordSize) && count > 0 ? count : 0;
}

void SceneLoader::readMaterials() {
    const int32_t count = readCount(kMaterialSize);
    m_scene.materials.reserve(count);
    for (int32_t i = 0; i < count && m_in.ok(); ++i) {
        MaterialRecord record;
        if (!m_in.bytes(&record, sizeof record)) {
            return;
        }
        if (!terminated(record.normalMap) || !terminated(record.colorTexture)) {
            m_in.fail("a texture name has no terminator");
            return;
        }
        Material& material = m_scene.materials.appendSlot();
        material.diffuseColor = point(record.diffuse);
        material.glowColor = point(record.glow);
        material.normalMap =
            m_textures.get(record.normalMap[0] != 0 ? record.normalMap : kNeutralNormalMap);
        material.colorTexture =
            record.colorTexture[0] != 0 ? m_textures.get(record.colorTexture) : nullptr;
        material.alphaTest = record.alphaTest != 0;
        material.selfIllum = record.selfIllum != 0;
    }
}

void SceneLoader::readObjects() {
    const int32_t count = readCount(kMinObjectSize);
    m_scene.objects.reserve(count);
    for (int32_t i = 0; i < count && m_in.ok(); ++i) {
        readObject(m_scene.objects.appendSlot());
    }
}

void SceneLoader::readObject(SceneObject& object) {
    const int32_t materialIndex = m_in.i32();
    if (m_in.ok() && (materialIndex < -1 || materialIndex >= m_scene.materials.count())) {
        m_in.fail("a material index is out of range");
        return;
    }
    if (m_in.ok() && !object.buildMesh(m_in.stream(), m_device)) {
        m_in.fail("a mesh block is damaged");
        return;
    }
    PlacementRecord place;
    if (!m_in.bytes(&place, sizeof place)) {
        return;
    }
    object.matrix = placement(point(place.position), point(place.axis), place.angle, Matrix4());
    const bool animatedFlag = m_in.flag();
    if (animatedFlag && animationFits(kPlacementSize)) {
        // With no samples there is nothing to play: the object keeps its static placement.
        object.animated = m_scene.frameCount > 0;
        const int32_t frames = m_scene.frameCount;
        object.positionTrack.resize(frames);
        object.axisTrack.resize(frames);
        object.angleTrack.resize(frames);
        object.positionTrack.setRate(kSampleRate);
        object.axisTrack.setRate(kSampleRate);
        object.angleTrack.setRate(kSampleRate);
        for (int32_t f = 0; f < frames && m_in.bytes(&place, sizeof place); ++f) {
            object.positionTrack.setKey(f, point(place.position));
            object.axisTrack.setKey(f, point(place.axis));
            object.angleTrack.setKey(f, place.angle);
        }
    }
    if (m_in.ok() && materialIndex != -1) {
        object.attachMaterial(&m_scene.materials[materialIndex]);
    }
}

void SceneLoader::readLights() {
    const int32_t count = readCount(kMinLightSize);
    m_scene.lights.reserve(count);
    for (int32_t i = 0; i < count && m_in.ok(); ++i) {
        Light& light = m_scene.lights.appendSlot();
        light.staticColor = m_in.vec3();
        light.staticPosition = m_in.vec3();
        light.staticRadius = m_in.f32();
        light.color = light.staticColor;
        light.position = light.staticPosition;
        light.radius = light.staticRadius;
        if (m_in.flag() && animationFits(12 + 12 + 4)) {
            light.animated = m_scene.frameCount > 0;
            m_in.samples(light.colorTrack, m_scene.frameCount);
            m_in.samples(light.positionTrack, m_scene.frameCount);
            m_in.samples(light.radiusTrack, m_scene.frameCount);
        }
    }
}

void SceneLoader::readCameras() {
    const int32_t count = readCount(kMinCameraSize);
    m_scene.cameras.reserve(count);
    for (int32_t i = 0; i < count && m_in.ok(); ++i) {
        Camera& camera = m_scene.cameras.appendSlot();
        camera.eye = m_in.vec3();
        camera.target = m_in.vec3();
        camera.fov = m_in.f32();
        if (!m_in.bytes(camera.name, kNameSize)) {
            return;
        }
        if (!terminated(camera.name)) {
            m_in.fail("a camera name has no terminator");
            return;
        }
        if (m_in.flag() && animationFits(12 + 12 + 4)) {
            camera.animated = m_scene.frameCount > 0;
            m_in.samples(camera.eyeTrack, m_scene.frameCount);
            m_in.samples(camera.targetTrack, m_scene.frameCount);
            m_in.samples(camera.fovTrack, m_scene.frameCount);
        }
    }
}

} // namespace

bool Scene::load(const char* fileName, IDirect3DDevice9* device, TextureCache& textures) {
    Log::section(1, "Loading a 3DF file");
    Log::write(1, "File name: %s", fileName);
    release();
    m_loadError = nullptr;

    ResourceStream stream;
    if (!stream.open(fileName)) {
        m_loadError = "Cannot open file";
        Log::write(1, "%s", m_loadError);
        return false;
    }
    SceneLoader loader(*this, stream, device, textures);
    const char* error = loader.load();
    stream.close();
    if (!loader.recognised()) {
        m_loadError = "Cannot recognize file. Please, resave it";
        Log::write(1, "%s", m_loadError);
        release();
        return false;
    }
    if (error != nullptr) {
        m_loadError = error;
        Log::write(1, "Cannot read file: %s", error);
        release();
        return false;
    }
    return true;
}
