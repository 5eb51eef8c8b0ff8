#include "tools/scenewriter/SceneWriter.h"

#include <cstdio>
#include <cstring>

namespace scenefile {
namespace {

class ByteWriter {
public:
    explicit ByteWriter(std::vector<uint8_t>& out) : m_out(out) {}

    void u8(uint8_t v) { m_out.push_back(v); }
    void u32(uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            m_out.push_back(static_cast<uint8_t>(v >> (8 * i)));
        }
    }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void f32(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        u32(bits);
    }
    void vec3(const Vec3& v) {
        f32(v.x);
        f32(v.y);
        f32(v.z);
    }
    void zeros(size_t n) { m_out.insert(m_out.end(), n, 0); }
    void name(const std::string& s) {
        m_out.insert(m_out.end(), s.begin(), s.end());
        zeros(kNameSize - s.size());
    }
    void placement(const Placement& p) {
        vec3(p.position);
        vec3(p.axis);
        f32(p.angle);
        vec3(p.fourth);
    }

private:
    std::vector<uint8_t>& m_out;
};

bool fail(std::string* error, const std::string& why) {
    if (error != nullptr) {
        *error = why;
    }
    return false;
}

bool fitsName(const std::string& s) {
    return s.size() < kNameSize;
}

template <typename T> bool sized(const std::vector<T>& v, int32_t frames) {
    return frames >= 0 && v.size() == static_cast<size_t>(frames);
}

bool check(const Scene& scene, std::string* error) {
    const int32_t n = scene.frameCount;
    if (scene.animated && !(sized(scene.sceneTrack1, n) && sized(scene.sceneTrack2, n))) {
        return fail(error, "scene tracks do not match the frame count");
    }
    for (const Material& m : scene.materials) {
        if (!fitsName(m.normalMap) || !fitsName(m.colorTexture)) {
            return fail(error, "texture name longer than 255 bytes");
        }
    }
    for (const Object& o : scene.objects) {
        if (o.animated && !sized(o.frames, n)) {
            return fail(error, "object placements do not match the frame count");
        }
    }
    for (const Light& l : scene.lights) {
        if (l.animated && !(sized(l.colors, n) && sized(l.positions, n) && sized(l.radii, n))) {
            return fail(error, "light samples do not match the frame count");
        }
    }
    for (const Camera& c : scene.cameras) {
        if (!fitsName(c.name)) {
            return fail(error, "camera name longer than 255 bytes");
        }
        if (c.animated && !(sized(c.eyes, n) && sized(c.targets, n) && sized(c.fovs, n))) {
            return fail(error, "camera samples do not match the frame count");
        }
    }
    return true;
}

void writeHeader(ByteWriter& w, const Scene& scene) {
    w.u32(scene.magic);
    w.i32(scene.version);
    w.vec3(scene.sceneVector1);
    w.vec3(scene.sceneVector2);
    w.zeros(256);
    w.i32(scene.frameCount);
    w.u8(scene.animated ? 1 : 0);
    w.u8(0);
}

void writeMaterial(ByteWriter& w, const Material& m) {
    w.vec3(m.diffuse);
    w.vec3(m.glow);
    w.name(m.normalMap);
    w.name(m.colorTexture);
    w.u8(m.alphaTest ? 1 : 0);
    w.u8(m.selfIllum ? 1 : 0);
    w.zeros(2);
}

void writeObject(ByteWriter& w, const Object& o) {
    w.i32(o.material);
    w.u32(static_cast<uint32_t>(o.vertices.size()));
    w.u32(static_cast<uint32_t>(o.indices.size()));
    for (const Vertex& v : o.vertices) {
        w.vec3(v.position);
        w.vec3(v.normal);
        w.f32(v.u);
        w.f32(v.v);
        w.vec3(v.tangent);
        w.vec3(v.binormal);
    }
    for (uint32_t i : o.indices) {
        w.u32(i);
    }
    w.placement(o.placement);
    w.u8(o.animated ? 1 : 0);
    if (o.animated) {
        for (const Placement& p : o.frames) {
            w.placement(p);
        }
    }
}

void writeLight(ByteWriter& w, const Light& l) {
    w.vec3(l.color);
    w.vec3(l.position);
    w.f32(l.radius);
    w.u8(l.animated ? 1 : 0);
    if (l.animated) {
        for (const Vec3& c : l.colors) {
            w.vec3(c);
        }
        for (const Vec3& p : l.positions) {
            w.vec3(p);
        }
        for (float r : l.radii) {
            w.f32(r);
        }
    }
}

void writeCamera(ByteWriter& w, const Camera& c) {
    w.vec3(c.eye);
    w.vec3(c.target);
    w.f32(c.fov);
    w.name(c.name);
    w.u8(c.animated ? 1 : 0);
    if (c.animated) {
        for (const Vec3& e : c.eyes) {
            w.vec3(e);
        }
        for (const Vec3& t : c.targets) {
            w.vec3(t);
        }
        for (float f : c.fovs) {
            w.f32(f);
        }
    }
}

} // namespace

bool writeScene(const Scene& scene, std::vector<uint8_t>& out, std::string* error) {
    if (!check(scene, error)) {
        return false;
    }
    out.clear();
    ByteWriter w(out);
    writeHeader(w, scene);
    if (scene.animated) {
        for (const Vec3& v : scene.sceneTrack1) {
            w.vec3(v);
        }
        for (const Vec3& v : scene.sceneTrack2) {
            w.vec3(v);
        }
    }
    w.i32(static_cast<int32_t>(scene.materials.size()));
    for (const Material& m : scene.materials) {
        writeMaterial(w, m);
    }
    w.i32(static_cast<int32_t>(scene.objects.size()));
    for (const Object& o : scene.objects) {
        writeObject(w, o);
    }
    w.i32(static_cast<int32_t>(scene.lights.size()));
    for (const Light& l : scene.lights) {
        writeLight(w, l);
    }
    w.i32(static_cast<int32_t>(scene.cameras.size()));
    for (const Camera& c : scene.cameras) {
        writeCamera(w, c);
    }
    return true;
}

bool saveScene(const Scene& scene, const std::string& path, std::string* error) {
    std::vector<uint8_t> bytes;
    if (!writeScene(scene, bytes, error)) {
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return fail(error, "cannot create " + path);
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed ? true : fail(error, "cannot write " + path);
}

} // namespace scenefile
