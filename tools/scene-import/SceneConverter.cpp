#include "tools/scene-import/SceneConverter.h"

#include "tools/scene-import/GltfExtras.h"

#include <cctype>
#include <cmath>
#include <filesystem>

namespace sceneimport {

namespace {

// How far an animated object's scale may drift from its first frame's before it is reported.
constexpr float kScaleTolerance = 1e-3f;
// A view direction this close to vertical leaves the engine's fixed up vector no sideways part.
constexpr float kStraightUpOrDown = 0.9995f;
// The timeline picks these cameras by name; the first camera stands in for a missing one.
const char* const kShowCameras[] = {"Camera01", "Camera02", "Camera03"};

scenefile::Vec3 vec3(const aiVector3D& v) {
    return {v.x, v.y, v.z};
}

bool isGltf(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return extension == ".gltf" || extension == ".glb";
}

aiVector3D transformDirection(const aiMatrix4x4& m, const aiVector3D& d) {
    return aiMatrix3x3(m) * d;
}
} // namespace

SceneConverter::SceneConverter(const aiScene& scene, const ImportOptions& options,
                               ImportResult& result, MaterialImporter& materials,
                               Warnings& warnings)
    : m_source(scene), m_options(options), m_scene(result.scene), m_materials(materials),
      m_warnings(warnings), m_animation(scene), m_gltfExtras(readGltfExtras(options.input)),
      m_gltf(isGltf(options.input)) {}

aiMatrix4x4 SceneConverter::worldAt(const aiNode* node, int frame) const {
    aiMatrix4x4 world;
    aiMatrix4x4::Scaling(aiVector3D(m_options.scale), world);
    if (node != nullptr) {
        world = world * m_animation.global(node, frame / double(m_options.fps));
    }
    return mirrorZ(world);
}

void SceneConverter::run() {
    if (m_options.frames > 0) {
        m_scene.frameCount = m_options.frames;
    } else if (m_animation.duration() > 0.0) {
        m_scene.frameCount =
            static_cast<int32_t>(std::lround(m_animation.duration() * m_options.fps)) + 1;
    }
    if (m_gltfExtras.sharedCamerasAndLights > 0) {
        m_warnings.add("cameras or lights used by several nodes: only one node keeps each");
    }
    if (m_source.mNumAnimations > 1) {
        m_warnings.add(std::to_string(m_source.mNumAnimations) +
                       " animations: they all play at once, from the first frame");
    }
    for (unsigned a = 0; a < m_source.mNumAnimations; ++a) {
        const aiAnimation* animation = m_source.mAnimations[a];
        if (animation->mNumMeshChannels > 0 || animation->mNumMorphMeshChannels > 0) {
            m_warnings.add("morph target and mesh animation is left out");
        }
    }
    walk(m_source.mRootNode);
    for (unsigned i = 0; i < m_source.mNumCameras; ++i) {
        addCamera(*m_source.mCameras[i]);
    }
    for (unsigned i = 0; i < m_source.mNumLights; ++i) {
        addLight(*m_source.mLights[i]);
    }
    if (m_scene.lights.empty()) {
        addKeyLight();
    }
    if (m_scene.cameras.empty() && !m_options.showFile.empty()) {
        addOrbitCamera();
    } else if (m_scene.cameras.empty()) {
        m_warnings.add("no cameras: the show needs at least one to look through");
    } else if (m_options.showFile.empty()) {
        for (const char* name : kShowCameras) {
            bool found = false;
            for (const scenefile::Camera& camera : m_scene.cameras) {
                found = found || camera.name == name;
            }
            if (!found) {
                m_warnings.add(std::string("no camera named ") + name +
                               ": the show uses the first camera for its part");
            }
        }
    }
}

void SceneConverter::walk(const aiNode* node) {
    if (node == nullptr) {
        return;
    }
    for (unsigned i = 0; i < node->mNumMeshes; ++i) {
        if (node->mMeshes[i] < m_source.mNumMeshes) {
            addObject(node, *m_source.mMeshes[node->mMeshes[i]]);
        }
    }
    for (unsigned i = 0; i < node->mNumChildren; ++i) {
        walk(node->mChildren[i]);
    }
}

int32_t SceneConverter::materialFor(unsigned index) {
    if (index >= m_source.mNumMaterials) {
        return scenefile::kNoMaterial;
    }
    const auto known = m_materialIndex.find(index);
    if (known != m_materialIndex.end()) {
        return known->second;
    }
    const int32_t number = static_cast<int32_t>(m_scene.materials.size());
    m_scene.materials.push_back(m_materials.convert(*m_source.mMaterials[index]));
    m_materialIndex[index] = number;
    return number;
}

void SceneConverter::addObject(const aiNode* node, const aiMesh& mesh) {
    if ((mesh.mPrimitiveTypes & aiPrimitiveType_TRIANGLE) == 0) {
        m_warnings.add("points and lines are left out: only triangles are drawn");
        return;
    }
    if (mesh.HasBones()) {
        m_warnings.add("skinning is left out: skinned meshes stay in their bind pose");
    }
    if (mesh.mNumAnimMeshes > 0) {
        m_warnings.add("morph targets are left out");
    }
    if (mesh.GetNumUVChannels() > 1) {
        m_warnings.add("multiple UV sets: only the first is kept");
    }
    if (mesh.GetNumColorChannels() > 0) {
        m_warnings.add("vertex colours are left out");
    }

    const SplitTransform first = splitTransform(worldAt(node, 0));
    aiMatrix3x3 normalMatrix = first.rest;
    if (std::fabs(normalMatrix.Determinant()) > 1e-12f) {
        normalMatrix.Inverse().Transpose();
    }
    scenefile::Object object;
    object.material = materialFor(mesh.mMaterialIndex);
    object.vertices.resize(mesh.mNumVertices);
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
        scenefile::Vertex& v = object.vertices[i];
        v.position = vec3(first.rest * mirrorZ(mesh.mVertices[i]));
        if (mesh.HasNormals()) {
            v.normal = vec3((normalMatrix * mirrorZ(mesh.mNormals[i])).NormalizeSafe());
        }
        if (mesh.HasTextureCoords(0)) {
            v.u = mesh.mTextureCoords[0][i].x;
            v.v = mesh.mTextureCoords[0][i].y;
        }
    }
    // A mirroring transform turns the triangles over; they are put back the right way round.
    const bool mirrored = first.rest.Determinant() < 0.0f;
    object.indices.reserve(mesh.mNumFaces * 3);
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices != 3) {
            continue;
        }
        object.indices.push_back(face.mIndices[0]);
        object.indices.push_back(face.mIndices[mirrored ? 2 : 1]);
        object.indices.push_back(face.mIndices[mirrored ? 1 : 2]);
    }
    object.placement = placementOf(first.position, first.rotation);

    if (animates(node)) {
        std::vector<aiVector3D> positions;
        std::vector<aiQuaternion> rotations;
        for (int frame = 0; frame < m_scene.frameCount; ++frame) {
            const SplitTransform split = frame == 0 ? first : splitTransform(worldAt(node, frame));
            if (!nearlyEqual(split.rest, first.rest, kScaleTolerance)) {
                m_warnings.add("animated scale is left out: objects keep their first frame's");
            }
            positions.push_back(split.position);
            rotations.push_back(split.rotation);
        }
        object.animated = true;
        object.frames = placementTrack(positions, rotations);
    }
    includeInBounds(node, mesh);
    m_scene.objects.push_back(std::move(object));
}

void SceneConverter::includeInBounds(const aiNode* node, const aiMesh& mesh) {
    if (mesh.mNumVertices == 0) {
        return;
    }
    const auto include = [this](const aiVector3D& p) {
        m_low = aiVector3D(std::min(m_low.x, p.x), std::min(m_low.y, p.y), std::min(m_low.z, p.z));
        m_high =
            aiVector3D(std::max(m_high.x, p.x), std::max(m_high.y, p.y), std::max(m_high.z, p.z));
    };
    aiVector3D low = mesh.mVertices[0];
    aiVector3D high = mesh.mVertices[0];
    const aiMatrix4x4 first = worldAt(node, 0);
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
        const aiVector3D& v = mesh.mVertices[i];
        low = aiVector3D(std::min(low.x, v.x), std::min(low.y, v.y), std::min(low.z, v.z));
        high = aiVector3D(std::max(high.x, v.x), std::max(high.y, v.y), std::max(high.z, v.z));
        include(first * mirrorZ(v));
    }
    // A moving object: the corners of its box at every frame.
    for (int frame = 1; animates(node) && frame < m_scene.frameCount; ++frame) {
        const aiMatrix4x4 world = worldAt(node, frame);
        for (int corner = 0; corner < 8; ++corner) {
            include(world *
                    mirrorZ(aiVector3D(corner & 1 ? high.x : low.x, corner & 2 ? high.y : low.y,
                                       corner & 4 ? high.z : low.z)));
        }
    }
}

void SceneConverter::addCamera(const aiCamera& source) {
    const aiNode* node = m_source.mRootNode->FindNode(source.mName);
    scenefile::Camera camera;
    camera.name = source.mName.C_Str();
    if (camera.name.size() >= scenefile::kNameSize) {
        m_warnings.add("camera names are cut to 255 characters");
        camera.name.resize(scenefile::kNameSize - 1);
    }
    camera.fov = verticalFov(source.mHorizontalFOV, source.mAspect, m_gltf);
    if (source.mOrthographicWidth > 0.0f) {
        m_warnings.add("orthographic cameras are drawn in perspective");
    }
    // A glTF camera sits at its node's origin; Assimp 5.2 copies the node's translation into
    // the camera's own position as well, which would count it twice.
    const aiVector3D position = m_gltf ? aiVector3D() : source.mPosition;
    const auto view = [&](int frame, scenefile::Vec3& eye, scenefile::Vec3& target) {
        const aiMatrix4x4 world = worldAt(node, frame);
        const aiVector3D e = world * mirrorZ(position);
        aiVector3D look = transformDirection(world, mirrorZ(source.mLookAt)).NormalizeSafe();
        const aiVector3D up = transformDirection(world, mirrorZ(source.mUp)).NormalizeSafe();
        if (std::fabs(look.y) > kStraightUpOrDown) {
            // With (0, 1, 0) as up such a view has no defined turn. Leaning it a little towards
            // the camera's own up keeps the picture the way the camera holds it.
            m_warnings.add("cameras looking straight up or down are leaned slightly");
            look = (look + up * 0.02f).NormalizeSafe();
        } else {
            // The engine's cameras always keep (0, 1, 0) up: a tilt to the side is lost.
            const aiVector3D side = (look ^ aiVector3D(0, 1, 0)).NormalizeSafe();
            if (std::fabs(up * side) > 0.02f) {
                m_warnings.add("camera roll is left out: cameras keep the horizon level");
            }
        }
        eye = vec3(e);
        target = vec3(e + look);
    };
    view(0, camera.eye, camera.target);
    if (animates(node)) {
        camera.animated = true;
        for (int frame = 0; frame < m_scene.frameCount; ++frame) {
            scenefile::Vec3 eye;
            scenefile::Vec3 target;
            view(frame, eye, target);
            camera.eyes.push_back(eye);
            camera.targets.push_back(target);
            camera.fovs.push_back(camera.fov);
        }
    }
    m_scene.cameras.push_back(std::move(camera));
}

void SceneConverter::addLight(const aiLight& source) {
    const aiNode* node = m_source.mRootNode->FindNode(source.mName);
    if (source.mType == aiLightSource_DIRECTIONAL) {
        addDirectionalLight(source, node);
        return;
    }
    if (source.mType == aiLightSource_SPOT) {
        m_warnings.add("spot lights become point lights: their cone is left out");
    } else if (source.mType != aiLightSource_POINT) {
        m_warnings.add("ambient and area lights are left out");
        return;
    }
    scenefile::Light light;
    light.color = lightColor(source.mColorDiffuse);
    // An author's range says where the light should end; without one the intensity decides.
    const auto range = m_gltfExtras.lightRanges.find(source.mName.C_Str());
    light.radius = m_options.scale *
                   (range != m_gltfExtras.lightRanges.end()
                        ? range->second
                        : lightRadius(source.mColorDiffuse, source.mAttenuationConstant,
                                      source.mAttenuationLinear, source.mAttenuationQuadratic));
    light.position = vec3(worldAt(node, 0) * mirrorZ(source.mPosition));
    if (animates(node)) {
        light.animated = true;
        for (int frame = 0; frame < m_scene.frameCount; ++frame) {
            light.positions.push_back(vec3(worldAt(node, frame) * mirrorZ(source.mPosition)));
            light.colors.push_back(light.color);
            light.radii.push_back(light.radius);
        }
    }
    m_scene.lights.push_back(std::move(light));
}

void SceneConverter::addDirectionalLight(const aiLight& source, const aiNode* node) {
    m_warnings.add("directional lights become point lights far away along their direction");
    if (animates(node)) {
        m_warnings.add("directional lights keep their first frame's direction");
    }
    if (m_low.x > m_high.x) {
        m_low = m_high = aiVector3D();
    }
    const aiVector3D direction = transformDirection(worldAt(node, 0), mirrorZ(source.mDirection));
    m_scene.lights.push_back(
        distantLight(direction, m_low, m_high, lightColor(source.mColorDiffuse)));
}

void SceneConverter::addKeyLight() {
    if (m_low.x > m_high.x) {
        return; // nothing to light
    }
    aiVector3D view;
    const bool hasCamera = !m_scene.cameras.empty();
    if (hasCamera) {
        const scenefile::Camera& camera = m_scene.cameras.front();
        view = aiVector3D(camera.target.x - camera.eye.x, camera.target.y - camera.eye.y,
                          camera.target.z - camera.eye.z);
    }
    m_warnings.add(hasCamera ? "no lights: a white key light shines from above and behind the "
                               "first camera"
                             : "no lights: a white key light shines from above");
    m_scene.lights.push_back(distantLight(keyLightDirection(hasCamera ? &view : nullptr), m_low,
                                          m_high, scenefile::Vec3{1.0f, 1.0f, 1.0f}));
}

void SceneConverter::addOrbitCamera() {
    if (m_low.x > m_high.x) {
        m_low = m_high = aiVector3D();
    }
    if (m_scene.frameCount < 2) {
        m_scene.frameCount = kOrbitSeconds * m_options.fps;
    }
    m_scene.cameras.push_back(orbitCamera(m_low, m_high, m_scene.frameCount));
    m_warnings.add("no cameras: the \"Orbit\" camera circles the scene once per loop of its "
                   "animation");
}

} // namespace sceneimport
