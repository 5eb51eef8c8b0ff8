#include "tools/showgen/DetMath.h"
#include "tools/showgen/Garden.h"

namespace showgen {

SceneAssembly::SceneAssembly() {
    m_scene.frameCount = kSceneFrames;
    m_scene.animated = false;
}

int SceneAssembly::material(const scenefile::Material& material) {
    m_scene.materials.push_back(material);
    return static_cast<int>(m_scene.materials.size() - 1);
}

namespace {

scenefile::Object objectFrom(int material, const MeshBuilder& mesh) {
    scenefile::Object object;
    object.material = material;
    object.vertices = mesh.vertices();
    object.indices = mesh.indices();
    return object;
}

double timeOf(int frame) {
    return frame / kSceneRate;
}

} // namespace

void SceneAssembly::addStatic(int material, const MeshBuilder& mesh, const Vec3& position,
                              const Vec3& axis, double angle) {
    scenefile::Object object = objectFrom(material, mesh);
    object.placement.position = position;
    object.placement.axis = axis;
    object.placement.angle = static_cast<float>(angle);
    m_scene.objects.push_back(std::move(object));
}

void SceneAssembly::addAnimated(int material, const MeshBuilder& mesh,
                                const std::function<scenefile::Placement(double)>& placementAt) {
    scenefile::Object object = objectFrom(material, mesh);
    object.placement = placementAt(0.0);
    object.animated = true;
    for (int i = 0; i < kSceneFrames; ++i) {
        object.frames.push_back(placementAt(timeOf(i)));
    }
    m_scene.objects.push_back(std::move(object));
}

void SceneAssembly::addStaticLight(const Vec3& colour, const Vec3& position, double radius) {
    scenefile::Light light;
    light.color = colour;
    light.position = position;
    light.radius = static_cast<float>(radius);
    m_scene.lights.push_back(light);
}

void SceneAssembly::addAnimatedLight(const std::function<LightState(double)>& stateAt) {
    scenefile::Light light;
    const LightState first = stateAt(0.0);
    light.color = first.colour;
    light.position = first.position;
    light.radius = static_cast<float>(first.radius);
    light.animated = true;
    for (int i = 0; i < kSceneFrames; ++i) {
        const LightState state = stateAt(timeOf(i));
        light.colors.push_back(state.colour);
        light.positions.push_back(state.position);
        light.radii.push_back(static_cast<float>(state.radius));
    }
    m_scene.lights.push_back(std::move(light));
}

void SceneAssembly::addCamera(const std::string& name,
                              const std::function<CameraState(double)>& stateAt) {
    scenefile::Camera camera;
    const CameraState first = stateAt(0.0);
    camera.eye = first.eye;
    camera.target = first.target;
    camera.fov = static_cast<float>(first.fov);
    camera.name = name;
    camera.animated = true;
    for (int i = 0; i < kSceneFrames; ++i) {
        const CameraState state = stateAt(timeOf(i));
        camera.eyes.push_back(state.eye);
        camera.targets.push_back(state.target);
        camera.fovs.push_back(static_cast<float>(state.fov));
    }
    m_scene.cameras.push_back(std::move(camera));
}

Vec3 rotateAboutAxis(const Vec3& point, const Vec3& axis, double angle) {
    // The row-vector rotation of the renderer's placements: p' = p x R(angle, axis).
    const Vec3 a = normalised(axis);
    const double x = a.x;
    const double y = a.y;
    const double z = a.z;
    const double s = detmath::sin(angle);
    const double c = detmath::cos(angle);
    const double k = 1.0 - c;
    const double m[3][3] = {{k * x * x + c, k * x * y + s * z, k * x * z - s * y},
                            {k * x * y - s * z, k * y * y + c, k * y * z + s * x},
                            {k * x * z + s * y, k * y * z - s * x, k * z * z + c}};
    return vec(point.x * m[0][0] + point.y * m[1][0] + point.z * m[2][0],
               point.x * m[0][1] + point.y * m[1][1] + point.z * m[2][1],
               point.x * m[0][2] + point.y * m[1][2] + point.z * m[2][2]);
}

void rotateMesh(MeshBuilder& mesh, const Vec3& axis, double angle) {
    for (scenefile::Vertex& v : mesh.vertices()) {
        v.position = rotateAboutAxis(v.position, axis, angle);
        v.normal = rotateAboutAxis(v.normal, axis, angle);
    }
}

scenefile::Scene buildGarden() {
    SceneAssembly scene;
    const GardenMaterials materials = addGardenMaterials(scene);
    buildGround(scene, materials);
    buildWalls(scene, materials);
    buildOrrery(scene, materials);
    buildPlantings(scene, materials);
    buildLanterns(scene, materials);
    buildGears(scene, materials);
    buildWisps(scene);
    buildCameras(scene);
    return scene.scene();
}

bool generateScene(GeneratedFile& out, std::string& error) {
    out.name = "teste5.3df";
    out.bytes.clear();
    return scenefile::writeScene(buildGarden(), out.bytes, &error);
}

} // namespace showgen
