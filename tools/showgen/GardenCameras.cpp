// The three views. The show sees Camera01 for the scene's first 25 seconds, Camera02 from 25 to
// 60 seconds (it jumps there after a rewind) and Camera03 for the whole minute; each path is
// designed for the stretch it is seen and continues quietly elsewhere.
#include "tools/showgen/DetMath.h"
#include "tools/showgen/Garden.h"

#include <vector>

namespace showgen {

namespace {

struct Key {
    double time;
    Vec3 eye;
    Vec3 target;
    double fov;
};

Vec3 catmullRom(const Vec3& p0, const Vec3& p1, const Vec3& p2, const Vec3& p3, double u) {
    const double u2 = u * u;
    const double u3 = u2 * u;
    return (p1 * 2.0 + (p2 - p0) * u + (p0 * 2.0 - p1 * 5.0 + p2 * 4.0 - p3) * u2 +
            (p1 * 3.0 - p0 - p2 * 3.0 + p3) * u3) *
           0.5;
}

// A smooth flight through the keys, which must be in time order.
SceneAssembly::CameraState fly(const std::vector<Key>& keys, double t) {
    size_t i = 0;
    while (i + 2 < keys.size() && t >= keys[i + 1].time) {
        ++i;
    }
    const Key& a = keys[i];
    const Key& b = keys[i + 1];
    const Key& before = keys[i > 0 ? i - 1 : i];
    const Key& after = keys[i + 2 < keys.size() ? i + 2 : i + 1];
    const double u = detmath::clamp((t - a.time) / (b.time - a.time), 0.0, 1.0);
    return {catmullRom(before.eye, a.eye, b.eye, after.eye, u),
            catmullRom(before.target, a.target, b.target, after.target, u),
            detmath::lerp(a.fov, b.fov, detmath::smoothstep(0.0, 1.0, u))};
}

} // namespace

void buildCameras(SceneAssembly& scene) {
    // Camera01: arrival. From the meadow through the opening south gate, down the lantern path
    // and into the plaza, looking up at the orrery.
    const std::vector<Key> arrival = {
        {0, vec(0, 20, -360), vec(0, 26, -200), 0.95},
        {6, vec(0, 21, -272), vec(0, 30, -100), 0.95},
        {12, vec(0, 23, -190), vec(0, 45, 0), 0.9},
        {18, vec(-22, 30, -128), vec(0, 62, 0), 0.85},
        {25, vec(-70, 42, -88), vec(0, 68, 0), 0.82},
        {35, vec(-110, 50, -10), vec(0, 60, 0), 0.85},
        {48, vec(-60, 40, -260), vec(0, 30, 0), 0.9},
        {60, vec(0, 20, -360), vec(0, 26, -200), 0.95},
    };
    scene.addCamera("Camera01", [&arrival](double t) { return fly(arrival, t); });

    // Camera02: seen from 25 s, circling the orrery three quarters round while rising and
    // closing in on the rings and planets.
    scene.addCamera("Camera02", [](double t) {
        const double u = detmath::smoothstep(25.0, 60.0, t);
        const double angle = detmath::lerp(-1.9, 3.4, u);
        const double radius = detmath::lerp(150.0, 104.0, u);
        const double height = detmath::lerp(28.0, 82.0, u);
        return SceneAssembly::CameraState{
            vec(radius * detmath::cos(angle), height, radius * detmath::sin(angle)),
            vec(0, detmath::lerp(60.0, 70.0, u), 0), detmath::lerp(0.9, 0.78, u)};
    });

    // Camera03: the whole minute. Low among the trees and wandering lights of the south-east
    // lawn, along the east path to the plaza, across it to the north lawns, then up over the
    // garden for the view of everything.
    const std::vector<Key> tour = {
        {0, vec(215, 12, -92), vec(150, 22, -185), 1.0},
        {8, vec(150, 26, -72), vec(60, 28, -10), 0.95},
        {16, vec(128, 24, 6), vec(0, 52, 0), 0.9},
        {24, vec(72, 36, 98), vec(-60, 40, 170), 0.9},
        {32, vec(-40, 56, 178), vec(-150, 52, 185), 0.95},
        {40, vec(-140, 92, 118), vec(-40, 42, 0), 0.95},
        {48, vec(-210, 150, -60), vec(0, 40, 0), 0.95},
        {56, vec(-150, 220, -240), vec(0, 30, 20), 0.9},
        {60, vec(-125, 240, -262), vec(0, 30, 20), 0.9},
    };
    scene.addCamera("Camera03", [&tour](double t) { return fly(tour, t); });
}

} // namespace showgen
