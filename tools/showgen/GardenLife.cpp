// What grows and moves in the garden: trees and hedges, lanterns on their posts, floating
// gears and the wandering coloured lights.
#include "tools/showgen/DetMath.h"
#include "tools/showgen/Garden.h"
#include "tools/showgen/Random.h"

#include <cmath>

namespace showgen {

using detmath::kTwoPi;
using scenefile::Material;
using scenefile::Placement;

namespace {

Placement placed(const Vec3& position, const Vec3& axis = vec(0, 0, 0), double angle = 0.0) {
    Placement p;
    p.position = position;
    p.axis = axis;
    p.angle = static_cast<float>(angle);
    return p;
}

// A periodic wave that repeats `cycles` times a minute, so every animation loops seamlessly.
double wave(double t, double cycles, double phase = 0.0) {
    return detmath::sin(kTwoPi * cycles * t / kSceneSeconds + phase);
}

// A unit vector in a random direction.
Vec3 randomDirection(Random& random) {
    for (;;) {
        const Vec3 v = vec(random.range(-1, 1), random.range(-1, 1), random.range(-1, 1));
        const double l = length(v);
        if (l > 0.1 && l <= 1.0) {
            return v * (1.0 / l);
        }
    }
}

MeshBuilder crown(Random& random, double spread, double height, int cards) {
    MeshBuilder leaves;
    for (int i = 0; i < cards; ++i) {
        // Cards fill an ellipsoid, more of them near its surface where they show.
        const Vec3 direction = randomDirection(random);
        const double depth = 0.55 + 0.45 * random.unit();
        const Vec3 centre = vec(direction.x * spread * depth, direction.y * height * depth,
                                direction.z * spread * depth);
        const Vec3 facing = randomDirection(random);
        const Vec3 across = normalised(cross(facing, vec(0.3, 1, 0.2))) * 7.5;
        const Vec3 up = normalised(cross(across, facing)) * 7.5;
        leaves.append(card(vec(0, 0, 0), across, up), centre);
    }
    return leaves;
}

} // namespace

void buildPlantings(SceneAssembly& scene, const GardenMaterials& m) {
    Random random(1811);
    const double spots[8][2] = {{150, 185},  {195, 140},  {-150, 185},  {-195, 140},
                                {150, -185}, {195, -140}, {-150, -185}, {-195, -140}};
    int index = 0;
    for (const auto& spot : spots) {
        const double scale = 0.9 + 0.25 * random.unit();
        const Vec3 base = vec(spot[0], 0, spot[1]);
        const double top = 40.0 * scale;
        MeshBuilder wood = strut(vec(0, 0, 0), vec(0, top, 0), 4.5 * scale, 2.6 * scale, 14, 2, 3);
        for (int b = 0; b < 4; ++b) {
            const double angle = kTwoPi * (b + random.unit() * 0.5) / 4.0;
            const double y = top * (0.65 + 0.1 * b);
            const Vec3 tip = vec(16 * scale * detmath::cos(angle), y + 14 * scale,
                                 16 * scale * detmath::sin(angle));
            wood.append(strut(vec(0, y, 0), tip, 1.8 * scale, 0.8 * scale, 8, 1, 2), vec(0, 0, 0));
        }
        scene.addStatic(m.bark, wood, base);
        // The crown sways a little about a tilted axis of its own.
        const Vec3 crownCentre = base + vec(0, top + 14 * scale, 0);
        const Vec3 swayAxis = vec(random.range(-1, 1), 0.3, random.range(-1, 1));
        const double phase = random.range(0, kTwoPi);
        const double cycles = 9.0 + index % 3;
        scene.addAnimated(m.leaves, crown(random, 30 * scale, 22 * scale, 120),
                          [crownCentre, swayAxis, phase, cycles](double t) {
                              return placed(crownCentre, swayAxis, 0.035 * wave(t, cycles, phase));
                          });
        ++index;
    }
    // Clipped hedges lining the four outer paths, in pieces so each light reaches only a few.
    for (int side = 0; side < 4; ++side) {
        for (double x0 : {-44.0, 32.0}) {
            for (double z0 = 126.0; z0 < 230.0; z0 += 53.0) {
                MeshBuilder hedge = box(vec(x0, 0, z0), vec(x0 + 12.0, 15.0, z0 + 50.0), 0.04);
                rotateMesh(hedge, vec(0, 1, 0), side * kTwoPi / 4.0);
                scene.addStatic(m.hedge, hedge);
            }
        }
    }
}

void buildLanterns(SceneAssembly& scene, const GardenMaterials& m) {
    // Lanterns hang from iron posts at the path edges, two on each path, and swing gently.
    const double along[2] = {160.0, 205.0};
    int index = 0;
    for (int side = 0; side < 4; ++side) {
        for (double distance : along) {
            const double edge = index % 2 == 0 ? -24.0 : 24.0;
            const Vec3 post =
                rotateAboutAxis(vec(edge, 0, distance), vec(0, 1, 0), side * kTwoPi / 4.0);
            const Vec3 hook =
                rotateAboutAxis(vec(edge * 0.6, 40, distance), vec(0, 1, 0), side * kTwoPi / 4.0);
            MeshBuilder iron = strut(vec(0, 0, 0), vec(0, 44, 0), 1.4, 1.0, 10, 1, 1);
            iron.append(strut(vec(0, 42, 0), hook - post + vec(0, 2, 0), 0.6, 0.6, 6, 1, 1),
                        vec(0, 0, 0));
            scene.addStatic(m.iron, iron, post);
            // The lantern hangs below its hook: the swing turns about the hook.
            MeshBuilder body = lathe(
                {{1.5, -14}, {4.5, -12.5}, {6.5, -10}, {7.2, -7}, {6.5, -4}, {4.5, -1.5}, {1.5, 0}},
                32, 2, 1);
            MeshBuilder fittings = strut(vec(0, 0, 0), vec(0, 2, 0), 0.3, 0.3, 6, 1, 1);
            fittings.append(strut(vec(0, -15, 0), vec(0, -13.5, 0), 2.0, 1.6, 12, 1, 1),
                            vec(0, 0, 0));
            const Vec3 axis = vec(detmath::cos(index * 0.9), 0.15, detmath::sin(index * 0.9));
            const double cycles = 11.0 + index % 4;
            auto swing = [hook, axis, cycles, index](double t) {
                return placed(hook, axis, 0.09 * wave(t, cycles, index * 1.3));
            };
            scene.addAnimated(m.lantern, body, swing);
            scene.addAnimated(m.iron, fittings, swing);
            // Every other lantern lights the path around it.
            if (index % 2 == 0) {
                scene.addStaticLight(vec(1.0, 0.6, 0.3), hook - vec(0, 8, 0), 120.0);
            }
            ++index;
        }
    }
}

void buildGears(SceneAssembly& scene, const GardenMaterials& m) {
    // Pairs of meshing gears float above the lawns, each turning on a tilted axle.
    struct Pair {
        Vec3 centre;
        Vec3 axle;
        double turnsPerMinute;
    };
    const Pair pairs[2] = {{vec(150, 112, 150), vec(0.45, 1.0, -0.3), 4.0},
                           {vec(-160, 120, -130), vec(-0.3, 1.0, 0.5), -3.0}};
    const double outer = 26.0;
    const double depth = 4.0;
    const int teeth = 24;
    int index = 0;
    for (const Pair& pair : pairs) {
        const Vec3 axle = normalised(pair.axle);
        // Lay the flat gear (axle along y) onto the tilted axle.
        const Vec3 tiltAxis = cross(vec(0, 1, 0), axle);
        const double tilt = detmath::atan2(length(tiltAxis), dot(vec(0, 1, 0), axle));
        const Vec3 apart = normalised(cross(axle, vec(0, 0, 1))) * (outer * 2.0 - depth * 1.1);
        for (int g = 0; g < 2; ++g) {
            MeshBuilder wheel = gear(outer, depth, teeth, 7.0, 3.5);
            wheel.append(torus(7.0, 1.6, 32, 8, 2), vec(0, 0, 0));
            rotateMesh(wheel, tiltAxis, tilt);
            const Vec3 centre = pair.centre + apart * (g == 0 ? -0.5 : 0.5);
            // Meshing wheels turn opposite ways, half a tooth apart.
            const double direction = g == 0 ? 1.0 : -1.0;
            const double offset = g == 0 ? 0.0 : kTwoPi / teeth / 2.0;
            const double turns = pair.turnsPerMinute;
            const double bobPhase = index * 0.7;
            scene.addAnimated(
                m.brass, wheel, [centre, axle, direction, offset, turns, bobPhase](double t) {
                    const Vec3 bob = vec(0, 4.0 * wave(t, 3.0, bobPhase), 0);
                    return placed(centre + bob, axle,
                                  direction * kTwoPi * turns * t / kSceneSeconds + offset);
                });
        }
        ++index;
    }
}

void buildWisps(SceneAssembly& scene) {
    // Eight coloured lights wander on looping figures, each carried by a small glowing orb.
    struct Wisp {
        Vec3 colour;
        Vec3 centre;
        Vec3 reach;
        double cyclesX, cyclesY, cyclesZ, phase, radius;
    };
    const Wisp wisps[8] = {
        {vec(0.2, 1.0, 0.9), vec(0, 30, 0), vec(95, 14, 95), 2, 5, 2, 0.0, 110},
        {vec(1.0, 0.25, 0.8), vec(0, 36, 0), vec(88, 18, 80), 3, 4, 3, 1.6, 100},
        {vec(1.0, 0.7, 0.2), vec(150, 26, 150), vec(60, 14, 60), 2, 6, 3, 0.7, 95},
        {vec(0.5, 1.0, 0.2), vec(-150, 24, 150), vec(60, 12, 60), 3, 5, 2, 2.4, 95},
        {vec(0.6, 0.35, 1.0), vec(-150, 28, -150), vec(60, 14, 60), 2, 4, 3, 3.9, 95},
        {vec(1.0, 0.4, 0.45), vec(150, 22, -150), vec(60, 12, 60), 3, 7, 2, 5.1, 95},
        {vec(0.3, 0.5, 1.0), vec(0, 22, -170), vec(22, 10, 60), 1, 3, 2, 0.4, 90},
        {vec(1.0, 0.9, 0.4), vec(170, 26, 0), vec(60, 12, 22), 2, 3, 1, 2.9, 90},
    };
    for (const Wisp& w : wisps) {
        auto position = [w](double t) {
            return w.centre + vec(w.reach.x * wave(t, w.cyclesX, w.phase),
                                  w.reach.y * wave(t, w.cyclesY, w.phase * 2.0),
                                  w.reach.z * wave(t, w.cyclesZ, w.phase + 1.57));
        };
        scene.addAnimatedLight([w, position](double t) {
            const double pulse = 0.85 + 0.15 * wave(t, 12.0, w.phase);
            return SceneAssembly::LightState{w.colour * pulse, position(t),
                                             w.radius * (0.92 + 0.08 * wave(t, 6.0, w.phase))};
        });
        Material orb;
        orb.glow = w.colour;
        orb.selfIllum = true;
        const int material = scene.material(orb);
        scene.addAnimated(material, sphere(3.0, 16, 10), [position](double t) {
            Placement p;
            p.position = position(t);
            return p;
        });
    }
}

} // namespace showgen
