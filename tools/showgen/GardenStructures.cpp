// The garden's materials, its ground, walls and gates, and the orrery in the pool.
#include "tools/showgen/DetMath.h"
#include "tools/showgen/Garden.h"
#include "tools/showgen/TextureNames.h"

#include <cmath>

namespace showgen {

using detmath::kTwoPi;
using scenefile::Material;
using scenefile::Placement;

namespace {

constexpr double kHalf = 240.0; // inner half-size of the walled garden
constexpr double kWallHeight = 60.0;
constexpr double kWallThickness = 10.0;
constexpr double kGateHalf = 25.0; // half the width of a gateway
constexpr double kGateHeight = 50.0;
constexpr double kPathHalf = 30.0;
constexpr double kPlazaHalf = 120.0;

Material textured(const Vec3& ownLight, const char* colour, const char* normals = "") {
    Material m;
    m.diffuse = ownLight;
    m.glow = vec(1, 1, 1);
    m.colorTexture = colour;
    m.normalMap = normals;
    return m;
}

Placement placed(const Vec3& position, const Vec3& axis = vec(0, 0, 0), double angle = 0.0) {
    Placement p;
    p.position = position;
    p.axis = axis;
    p.angle = static_cast<float>(angle);
    return p;
}

bool onPath(double x, double z) {
    return std::fabs(x) < kPathHalf || std::fabs(z) < kPathHalf ||
           (std::fabs(x) < kPlazaHalf && std::fabs(z) < kPlazaHalf);
}

} // namespace

GardenMaterials addGardenMaterials(SceneAssembly& scene) {
    GardenMaterials m{};
    m.paving = scene.material(textured(vec(0.12, 0.11, 0.10), tex::kPaving, tex::kPavingNormal));
    m.lawn = scene.material(textured(vec(0.10, 0.12, 0.08), tex::kGrass));
    m.brick = scene.material(textured(vec(0.12, 0.10, 0.09), tex::kBrick, tex::kBrickNormal));
    m.marble = scene.material(textured(vec(0.18, 0.18, 0.18), tex::kMarble));
    m.brass = scene.material(textured(vec(0.16, 0.13, 0.08), tex::kBrass, tex::kBrassNormal));
    m.bark = scene.material(textured(vec(0.08, 0.07, 0.06), tex::kBark, tex::kBarkNormal));
    Material leaves = textured(vec(0.14, 0.17, 0.10), tex::kLeaves);
    leaves.alphaTest = true;
    m.leaves = scene.material(leaves);
    m.hedge = scene.material(textured(vec(0.08, 0.11, 0.07), tex::kHedge));
    Material grille = textured(vec(0.05, 0.05, 0.05), tex::kGrille);
    grille.alphaTest = true;
    m.grille = scene.material(grille);
    m.water = scene.material(textured(vec(0.14, 0.18, 0.20), tex::kWater, tex::kWaterNormal));
    m.wood = scene.material(textured(vec(0.10, 0.08, 0.06), tex::kWood));
    Material iron;
    iron.diffuse = vec(0.04, 0.04, 0.05);
    iron.glow = vec(0.30, 0.28, 0.27);
    m.iron = scene.material(iron);
    m.rockPlanet =
        scene.material(textured(vec(0.10, 0.09, 0.08), tex::kRockPlanet, tex::kRockPlanetNormal));
    m.gasPlanet = scene.material(textured(vec(0.20, 0.16, 0.12), tex::kGasPlanet));
    m.icePlanet = scene.material(textured(vec(0.22, 0.24, 0.28), tex::kIcePlanet));
    Material lantern = textured(vec(0.1, 0.1, 0.1), tex::kLantern);
    lantern.glow = vec(1.0, 0.92, 0.8);
    lantern.selfIllum = true;
    m.lantern = scene.material(lantern);
    Material glyphs = textured(vec(0.1, 0.1, 0.1), tex::kGlyphs);
    glyphs.glow = vec(0.85, 1.0, 1.0);
    glyphs.selfIllum = true;
    m.glyphs = scene.material(glyphs);
    Material sun;
    sun.glow = vec(1.0, 0.84, 0.52);
    sun.selfIllum = true;
    m.sun = scene.material(sun);
    return m;
}

void buildGround(SceneAssembly& scene, const GardenMaterials& m) {
    // Inside the walls: 30-unit patches, paved on the plaza and the cross of paths, lawn
    // elsewhere, gathered into one object per material and 60-unit block, so that each light
    // reaches only the blocks near it without making hundreds of small objects.
    const double patch = 30.0;
    for (double bz = -kHalf; bz < kHalf; bz += 2 * patch) {
        for (double bx = -kHalf; bx < kHalf; bx += 2 * patch) {
            MeshBuilder paving;
            MeshBuilder lawn;
            for (double z = bz; z < bz + 2 * patch; z += patch) {
                for (double x = bx; x < bx + 2 * patch; x += patch) {
                    const bool paved = onPath(x + patch / 2, z + patch / 2);
                    (paved ? paving : lawn)
                        .append(
                            groundPatch(x, z, x + patch, z + patch, 0.0, 4, paved ? 0.025 : 0.02),
                            vec(0, 0, 0));
                }
            }
            if (paving.triangleCount() > 0) {
                scene.addStatic(m.paving, paving);
            }
            if (lawn.triangleCount() > 0) {
                scene.addStatic(m.lawn, lawn);
            }
        }
    }
    // Outside: meadow all round, and the path that leads to the south gate.
    const double outer = 720.0;
    const double wall = kHalf + kWallThickness;
    scene.addStatic(m.lawn, groundPatch(-outer, wall, outer, outer, -0.1, 6, 0.02));
    scene.addStatic(m.lawn, groundPatch(-outer, -outer, -kPathHalf, -wall, -0.1, 6, 0.02));
    scene.addStatic(m.lawn, groundPatch(kPathHalf, -outer, outer, -wall, -0.1, 6, 0.02));
    scene.addStatic(m.lawn, groundPatch(-outer, -wall, -wall, wall, -0.1, 6, 0.02));
    scene.addStatic(m.lawn, groundPatch(wall, -wall, outer, wall, -0.1, 6, 0.02));
    for (double z = -outer; z < -wall; z += 94.0) {
        scene.addStatic(m.paving, groundPatch(-kPathHalf, z, kPathHalf, std::min(z + 94.0, -wall),
                                              0.0, 3, 0.025));
    }
    scene.addStatic(m.paving, groundPatch(-kGateHalf, -wall, kGateHalf, -kHalf, 0.0, 2, 0.025));
    scene.addStatic(m.paving, groundPatch(-kGateHalf, kHalf, kGateHalf, wall, 0.0, 2, 0.025));
    scene.addStatic(m.paving, groundPatch(-wall, -kGateHalf, -kHalf, kGateHalf, 0.0, 2, 0.025));
    scene.addStatic(m.paving, groundPatch(kHalf, -kGateHalf, wall, kGateHalf, 0.0, 2, 0.025));
}

namespace {

// One side of the wall, drawn as if it were the south side and turned into place: runs along x
// at z from -kHalf - kWallThickness to -kHalf, with the gateway in the middle.
void wallSide(SceneAssembly& scene, const GardenMaterials& m, double turn) {
    const Vec3 up = vec(0, 1, 0);
    const double outside = -kHalf - kWallThickness;
    MeshBuilder coping;
    const double runs[2][2] = {{-kHalf - kWallThickness, -kGateHalf - 8.0},
                               {kGateHalf + 8.0, kHalf + kWallThickness}};
    for (const auto& run : runs) {
        const int pieces = 2;
        const double step = (run[1] - run[0]) / pieces;
        for (int i = 0; i < pieces; ++i) {
            const double x0 = run[0] + i * step;
            MeshBuilder wall = box(vec(x0, 0, outside), vec(x0 + step, kWallHeight, -kHalf), 0.02);
            rotateMesh(wall, up, turn);
            scene.addStatic(m.brick, wall);
            coping.append(box(vec(x0, kWallHeight, outside - 1.5),
                              vec(x0 + step, kWallHeight + 3.0, -kHalf + 1.5), 0.05),
                          vec(0, 0, 0));
        }
    }
    // Gate piers and the lintel over the gateway.
    for (double side : {-1.0, 1.0}) {
        const double x0 = side < 0 ? -kGateHalf - 8.0 : kGateHalf;
        MeshBuilder pier =
            box(vec(x0, 0, outside - 2.0), vec(x0 + 8.0, kWallHeight + 8.0, -kHalf + 2.0), 0.02);
        rotateMesh(pier, up, turn);
        scene.addStatic(m.brick, pier);
        MeshBuilder cap = box(vec(x0 - 1.5, kWallHeight + 8.0, outside - 3.5),
                              vec(x0 + 9.5, kWallHeight + 11.0, -kHalf + 3.5), 0.05);
        rotateMesh(cap, up, turn);
        scene.addStatic(m.marble, cap);
    }
    MeshBuilder lintel =
        box(vec(-kGateHalf, kGateHeight, outside), vec(kGateHalf, kWallHeight, -kHalf), 0.05);
    rotateMesh(lintel, up, turn);
    scene.addStatic(m.marble, lintel);
}

// How far the south gates stand open: they open as the first view arrives and close again
// before the minute ends, so the loop joins up.
double gateOpening(double t) {
    return detmath::smoothstep(1.0, 5.0, t) * (1.0 - detmath::smoothstep(54.0, 59.0, t));
}

} // namespace

void buildWalls(SceneAssembly& scene, const GardenMaterials& m) {
    for (int side = 0; side < 4; ++side) {
        wallSide(scene, m, side * kTwoPi / 4.0);
    }
    // Closed wrought-iron gates on three sides.
    const double middle = -kHalf - kWallThickness / 2;
    for (int side = 1; side < 4; ++side) {
        MeshBuilder grille =
            card(vec(0, kGateHeight / 2, middle), vec(kGateHalf, 0, 0), vec(0, kGateHeight / 2, 0));
        rotateMesh(grille, vec(0, 1, 0), side * kTwoPi / 4.0);
        scene.addStatic(m.grille, grille);
    }
    // The south gate's two leaves swing inwards about their hinges.
    for (double side : {-1.0, 1.0}) {
        const Vec3 hinge = vec(side * kGateHalf, 0, middle);
        const MeshBuilder leaf = card(vec(-side * kGateHalf / 2, kGateHeight / 2, 0),
                                      vec(kGateHalf / 2, 0, 0), vec(0, kGateHeight / 2, 0));
        scene.addAnimated(m.grille, leaf, [hinge, side](double t) {
            return placed(hinge, vec(0, 1, 0), side * 1.4 * gateOpening(t));
        });
    }
}

void buildOrrery(SceneAssembly& scene, const GardenMaterials& m) {
    // The pool: a marble rim around water that turns slowly, so its ripples drift.
    scene.addStatic(m.marble,
                    lathe({{54, 0}, {54, 6}, {54, 6}, {48, 6}, {48, 6}, {48, 0}}, 72, 12, 1));
    scene.addAnimated(m.water, lathe({{48, 4}, {39, 4}, {30, 4}}, 72, 6, 1), [](double t) {
        return placed(vec(0, 0, 0), vec(0, 1, 0), kTwoPi * t / kSceneSeconds);
    });
    // The plinth, the column and the sun.
    scene.addStatic(m.marble, lathe({{30, 0},
                                     {30, 10},
                                     {30, 10},
                                     {24, 10},
                                     {24, 10},
                                     {24, 16},
                                     {24, 16},
                                     {12, 16},
                                     {0, 16}},
                                    64, 8, 1));
    scene.addStatic(m.brass, strut(vec(0, 16, 0), vec(0, 63, 0), 4.0, 2.6, 24, 2, 4));
    scene.addStatic(m.sun, sphere(9.0, 64, 48), vec(0, 72, 0));

    // Three rings turning about tilted axes, like a gyroscope: two brass hoops and a band of
    // glowing glyphs.
    const Vec3 hub = vec(0, 72, 0);
    scene.addAnimated(m.brass, torus(16.0, 1.0, 96, 16, 8), [hub](double t) {
        return placed(hub, vec(0.3, 1.0, 0.1), kTwoPi * t / 20.0);
    });
    scene.addAnimated(m.glyphs, band(23.0, -2.5, 2.5, 96, 4), [hub](double t) {
        return placed(hub, vec(-0.5, 1.0, 0.35), -kTwoPi * t / 30.0);
    });
    scene.addAnimated(m.brass, torus(30.0, 1.3, 128, 16, 12), [hub](double t) {
        return placed(hub, vec(0.25, 1.0, -0.6), kTwoPi * t / 15.0);
    });

    // Planets on arms from the column: each orbits the column and spins on its own tilted axis.
    struct Planet {
        int material;
        double radius, orbit, height, orbitsPerMinute, phase, spinsPerMinute;
        Vec3 spinAxis;
    };
    const Planet planets[3] = {
        {m.rockPlanet, 5.0, 48.0, 66.0, 3.0, 0.0, 10.0, vec(0.2, 1.0, 0.0)},
        {m.gasPlanet, 8.0, 66.0, 60.0, 2.0, 2.1, 6.0, vec(-0.3, 1.0, 0.2)},
        {m.icePlanet, 4.5, 84.0, 70.0, 1.0, 4.0, 5.0, vec(0.4, 1.0, 0.4)},
    };
    for (const Planet& p : planets) {
        auto orbitAngle = [p](double t) {
            return p.phase + kTwoPi * p.orbitsPerMinute * t / kSceneSeconds;
        };
        scene.addAnimated(p.material, sphere(p.radius, 64, 40), [p, orbitAngle](double t) {
            const double a = orbitAngle(t);
            return placed(vec(p.orbit * detmath::cos(a), p.height, p.orbit * detmath::sin(a)),
                          p.spinAxis, kTwoPi * p.spinsPerMinute * t / kSceneSeconds);
        });
        // The arm points along +x; turning it by -a about y points it at angle a.
        scene.addAnimated(m.brass,
                          strut(vec(0, 0, 0), vec(p.orbit - p.radius, 0, 0), 0.7, 0.5, 8, 1, 4),
                          [p, orbitAngle](double t) {
                              return placed(vec(0, p.height, 0), vec(0, 1, 0), -orbitAngle(t));
                          });
    }
    // Benches round the pool, facing it.
    for (int i = 0; i < 4; ++i) {
        const double angle = kTwoPi * (i + 0.5) / 4.0;
        MeshBuilder bench = box(vec(-14, 6, -4), vec(14, 7.5, 4), 0.1);
        bench.append(box(vec(-14, 7.5, 3), vec(14, 15, 4.5), 0.1), vec(0, 0, 0));
        MeshBuilder legs = box(vec(-12, 0, -3.5), vec(-9, 6, 3.5), 0.1);
        legs.append(box(vec(9, 0, -3.5), vec(12, 6, 3.5), 0.1), vec(0, 0, 0));
        // Turned so the backrest (+z) is away from the pool.
        const Vec3 spot = vec(92 * detmath::cos(angle), 0, 92 * detmath::sin(angle));
        const double face = kTwoPi / 4.0 - angle;
        rotateMesh(bench, vec(0, 1, 0), face);
        rotateMesh(legs, vec(0, 1, 0), face);
        scene.addStatic(m.wood, bench, spot);
        scene.addStatic(m.marble, legs, spot);
    }
    // The orrery's sun lights the plaza; a high, wide light stands in for the evening sky.
    scene.addStaticLight(vec(1.0, 0.82, 0.55), hub, 230.0);
    scene.addStaticLight(vec(0.85, 0.85, 0.80), vec(-150, 520, -260), 1900.0);
}

} // namespace showgen
