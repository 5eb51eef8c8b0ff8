#include "tools/scene-import/ImportMath.h"

#include <algorithm>
#include <cmath>

namespace sceneimport {

namespace {

constexpr float kPi = 3.14159265358979f;
// Below this sin(angle / 2) the rotation axis carries no usable direction.
constexpr float kNoAxis = 1e-6f;

scenefile::Vec3 vec3(const aiVector3D& v) {
    return {v.x, v.y, v.z};
}

struct AxisAngle {
    aiVector3D axis;
    float angle = 0.0f;
    bool hasAxis = false;
};

AxisAngle axisAngle(aiQuaternion q) {
    q.Normalize();
    if (q.w < 0.0f) {
        q = aiQuaternion(-q.w, -q.x, -q.y, -q.z);
    }
    AxisAngle result;
    const aiVector3D v(q.x, q.y, q.z);
    const float s = v.Length();
    if (s < kNoAxis) {
        return result;
    }
    result.axis = v / s;
    result.angle = 2.0f * std::atan2(s, q.w);
    result.hasAxis = true;
    return result;
}

} // namespace

aiVector3D mirrorZ(const aiVector3D& v) {
    return {v.x, v.y, -v.z};
}

aiMatrix4x4 mirrorZ(const aiMatrix4x4& m) {
    aiMatrix4x4 r = m;
    // Entries in the Z row or the Z column, but not both, change sign.
    r.a3 = -r.a3;
    r.b3 = -r.b3;
    r.d3 = -r.d3;
    r.c1 = -r.c1;
    r.c2 = -r.c2;
    r.c4 = -r.c4;
    return r;
}

SplitTransform splitTransform(const aiMatrix4x4& world) {
    SplitTransform split;
    split.position = aiVector3D(world.a4, world.b4, world.c4);
    const aiMatrix3x3 m(world);
    // Gram-Schmidt on the first two columns and their cross product: always a proper rotation,
    // whatever scale, shear or mirroring the matrix carries; those stay in `rest`.
    aiVector3D c0(m.a1, m.b1, m.c1);
    aiVector3D c1(m.a2, m.b2, m.c2);
    aiMatrix3x3 rotation;
    if (c0.Length() > 1e-12f) {
        c0.Normalize();
        c1 -= c0 * (c0 * c1);
        if (c1.Length() < 1e-12f) {
            // A flattened matrix: any direction at right angles to c0 will do.
            c1 = std::fabs(c0.x) < 0.9f ? aiVector3D(1, 0, 0) : aiVector3D(0, 1, 0);
            c1 -= c0 * (c0 * c1);
        }
        c1.Normalize();
        const aiVector3D c2 = c0 ^ c1;
        rotation = aiMatrix3x3(c0.x, c1.x, c2.x, c0.y, c1.y, c2.y, c0.z, c1.z, c2.z);
    }
    split.rotation = aiQuaternion(rotation);
    aiMatrix3x3 inverse = rotation;
    inverse.Transpose();
    split.rest = inverse * m;
    return split;
}

scenefile::Placement placementOf(const aiVector3D& position, const aiQuaternion& rotation) {
    scenefile::Placement p;
    p.position = vec3(position);
    const AxisAngle r = axisAngle(rotation);
    if (r.hasAxis) {
        p.axis = vec3(r.axis);
        p.angle = r.angle;
    }
    return p;
}

std::vector<scenefile::Placement> placementTrack(const std::vector<aiVector3D>& positions,
                                                 const std::vector<aiQuaternion>& rotations) {
    std::vector<AxisAngle> turns;
    turns.reserve(rotations.size());
    for (const aiQuaternion& q : rotations) {
        turns.push_back(axisAngle(q));
    }
    // Frames without rotation borrow the nearest axis so that no frame blends towards a zero
    // axis; a track that never rotates keeps (0, 0, 0) and plays as translation only.
    aiVector3D axis;
    const auto first =
        std::find_if(turns.begin(), turns.end(), [](const AxisAngle& t) { return t.hasAxis; });
    if (first != turns.end()) {
        axis = first->axis;
    }
    std::vector<scenefile::Placement> out(positions.size());
    float previousAngle = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        AxisAngle t = i < turns.size() ? turns[i] : AxisAngle();
        if (!t.hasAxis) {
            t.axis = axis;
            t.angle = 0.0f;
        } else if (t.axis * axis < 0.0f) {
            t.axis = -t.axis;
            t.angle = -t.angle;
        }
        if (i > 0) {
            t.angle += 2.0f * kPi * std::round((previousAngle - t.angle) / (2.0f * kPi));
        }
        axis = t.axis;
        previousAngle = t.angle;
        out[i].position = vec3(positions[i]);
        out[i].axis = vec3(t.axis);
        out[i].angle = t.angle;
    }
    return out;
}

bool nearlyEqual(const aiMatrix3x3& a, const aiMatrix3x3& b, float tolerance) {
    const float* x = &a.a1;
    const float* y = &b.a1;
    for (int i = 0; i < 9; ++i) {
        if (std::fabs(x[i] - y[i]) > tolerance) {
            return false;
        }
    }
    return true;
}

float lightRadius(const aiColor3D& color, float constant, float linear, float quadratic) {
    const float brightest = std::max({color.r, color.g, color.b, 0.0f});
    const float reach = 256.0f * brightest; // c + l·d + q·d² at the radius
    if (quadratic <= 0.0f && linear <= 0.0f) {
        return std::sqrt(reach);
    }
    if (quadratic <= 0.0f) {
        return std::max(0.0f, (reach - constant) / linear);
    }
    const float discriminant = linear * linear - 4.0f * quadratic * (constant - reach);
    if (discriminant <= 0.0f) {
        return 0.0f;
    }
    return std::max(0.0f, (-linear + std::sqrt(discriminant)) / (2.0f * quadratic));
}

scenefile::Vec3 lightColor(const aiColor3D& color) {
    const float brightest = std::max({color.r, color.g, color.b, 1.0f});
    return {std::max(color.r, 0.0f) / brightest, std::max(color.g, 0.0f) / brightest,
            std::max(color.b, 0.0f) / brightest};
}

scenefile::Light distantLight(const aiVector3D& direction, const aiVector3D& low,
                              const aiVector3D& high, const scenefile::Vec3& color) {
    constexpr float kDistanceInRadii = 10.0f;
    // 22 (distance / radius)^2 = 1 / 0.85 - 1 at the centre.
    constexpr float kRadiusInDistances = 11.2f;
    const aiVector3D centre = (low + high) * 0.5f;
    const float boundingRadius = std::max((high - low).Length() * 0.5f, 1.0f);
    aiVector3D towards = direction;
    if (towards.SquareLength() < 1e-12f) {
        towards = aiVector3D(0.0f, -1.0f, 0.0f);
    }
    towards.Normalize();
    const float distance = kDistanceInRadii * boundingRadius;
    scenefile::Light light;
    light.color = color;
    const aiVector3D position = centre - towards * distance;
    light.position = {position.x, position.y, position.z};
    light.radius = kRadiusInDistances * distance;
    return light;
}

aiVector3D keyLightDirection(const aiVector3D* view) {
    const aiVector3D down(0.0f, -1.0f, 0.0f);
    if (view == nullptr) {
        return down;
    }
    aiVector3D level(view->x, 0.0f, view->z);
    if (level.SquareLength() < 1e-12f) {
        return down;
    }
    return (level.Normalize() + down).Normalize();
}

scenefile::Camera orbitCamera(const aiVector3D& low, const aiVector3D& high, int frames) {
    constexpr float kFov = 0.8f; // vertical; the box's sphere fills about four fifths of it
    constexpr float kDistanceInRadii = 2.5f;
    constexpr float kHeightInRadii = 0.6f;
    constexpr float kTurn = 6.28318531f;
    const aiVector3D centre = (low + high) * 0.5f;
    const float radius = std::max((high - low).Length() * 0.5f, 1.0f);
    scenefile::Camera camera;
    camera.name = "Orbit";
    camera.fov = kFov;
    camera.target = {centre.x, centre.y, centre.z};
    const auto eyeAt = [&](float angle) {
        return scenefile::Vec3{centre.x + kDistanceInRadii * radius * std::sin(angle),
                               centre.y + kHeightInRadii * radius,
                               centre.z - kDistanceInRadii * radius * std::cos(angle)};
    };
    camera.eye = eyeAt(0.0f);
    camera.animated = frames >= 2;
    for (int frame = 0; camera.animated && frame < frames; ++frame) {
        camera.eyes.push_back(
            eyeAt(kTurn * static_cast<float>(frame) / static_cast<float>(frames)));
        camera.targets.push_back(camera.target);
        camera.fovs.push_back(kFov);
    }
    return camera;
}

float verticalFov(float horizontalFov, float aspect, bool scaledLinearly) {
    if (aspect <= 0.0f) {
        return horizontalFov;
    }
    if (scaledLinearly) {
        return horizontalFov / aspect;
    }
    return 2.0f * std::atan(std::tan(horizontalFov / 2.0f) / aspect);
}

} // namespace sceneimport
