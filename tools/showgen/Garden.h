#pragma once

#include "tools/scenewriter/SceneWriter.h"
#include "tools/showgen/GeneratedFile.h"
#include "tools/showgen/MeshBuilder.h"

#include <functional>
#include <string>

// The show's scene, "The Clockwork Garden": a walled formal garden at dusk with an orrery in a
// pool at its centre, lanterns along the paths, trees, floating gears and wandering lights.
namespace showgen {

// One minute of animation at ten samples per second; the loop's last sample is its first again.
constexpr int kSceneFrames = 601;
constexpr double kSceneRate = 10.0;
constexpr double kSceneSeconds = (kSceneFrames - 1) / kSceneRate;

// Grows a scene: materials, objects, lights and cameras, with animation sampled from functions
// of time in seconds.
class SceneAssembly {
public:
    SceneAssembly();

    int material(const scenefile::Material& material);
    void addStatic(int material, const MeshBuilder& mesh, const Vec3& position = vec(0, 0, 0),
                   const Vec3& axis = vec(0, 0, 0), double angle = 0.0);
    void addAnimated(int material, const MeshBuilder& mesh,
                     const std::function<scenefile::Placement(double)>& placementAt);
    void addStaticLight(const Vec3& colour, const Vec3& position, double radius);
    struct LightState {
        Vec3 colour;
        Vec3 position;
        double radius;
    };
    void addAnimatedLight(const std::function<LightState(double)>& stateAt);
    struct CameraState {
        Vec3 eye;
        Vec3 target;
        double fov;
    };
    void addCamera(const std::string& name, const std::function<CameraState(double)>& stateAt);

    const scenefile::Scene& scene() const { return m_scene; }

private:
    scenefile::Scene m_scene;
};

// Turns a mesh about an axis through its origin (positions and normals), with the same rotation
// the renderer applies to placements.
void rotateMesh(MeshBuilder& mesh, const Vec3& axis, double angle);
Vec3 rotateAboutAxis(const Vec3& point, const Vec3& axis, double angle);

// The garden's shared materials, by what they are made of.
struct GardenMaterials {
    int paving, lawn, brick, marble, brass, bark, leaves, hedge, grille, water, wood, iron;
    int rockPlanet, gasPlanet, icePlanet, lantern, glyphs, sun;
};
GardenMaterials addGardenMaterials(SceneAssembly& scene);

// The parts of the garden, each adding its objects and lights.
void buildGround(SceneAssembly& scene, const GardenMaterials& m);
void buildWalls(SceneAssembly& scene, const GardenMaterials& m);
void buildOrrery(SceneAssembly& scene, const GardenMaterials& m);
void buildPlantings(SceneAssembly& scene, const GardenMaterials& m);
void buildLanterns(SceneAssembly& scene, const GardenMaterials& m);
void buildGears(SceneAssembly& scene, const GardenMaterials& m);
void buildWisps(SceneAssembly& scene);
void buildCameras(SceneAssembly& scene);

scenefile::Scene buildGarden();

// "teste5.3df"; false with the writer's reason when the scene does not serialise.
bool generateScene(GeneratedFile& out, std::string& error);

} // namespace showgen
