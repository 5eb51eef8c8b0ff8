#pragma once

// The scene graph walk: Assimp's scene, already read, into the 3DF scene. Materials and
// textures go through the MaterialImporter; what cannot be held goes to the warnings.

#include "tools/scene-import/GltfExtras.h"
#include "tools/scene-import/ImportMaterials.h"
#include "tools/scene-import/ImportMath.h"
#include "tools/scene-import/NodeAnimation.h"
#include "tools/scene-import/SceneImport.h"
#include "tools/scene-import/Warnings.h"

#include <assimp/scene.h>

#include <map>
#include <string>

namespace sceneimport {

class SceneConverter {
public:
    SceneConverter(const aiScene& scene, const ImportOptions& options, ImportResult& result,
                   MaterialImporter& materials, Warnings& warnings);

    void run();

private:
    void walk(const aiNode* node);
    void addObject(const aiNode* node, const aiMesh& mesh);
    void addCamera(const aiCamera& camera);
    void addLight(const aiLight& light);
    void addDirectionalLight(const aiLight& light, const aiNode* node);
    void addKeyLight();
    void addOrbitCamera();
    // Grows the scene's bounds, at any frame, by a mesh's vertices placed by `node`.
    void includeInBounds(const aiNode* node, const aiMesh& mesh);
    int32_t materialFor(unsigned index);
    bool animates(const aiNode* node) const {
        return node != nullptr && m_scene.frameCount >= 2 && m_animation.moves(node);
    }
    // The node's world transform in the engine's space at a frame, the scene's scale included;
    // that scale alone without a node.
    aiMatrix4x4 worldAt(const aiNode* node, int frame) const;

    const aiScene& m_source;
    const ImportOptions& m_options;
    scenefile::Scene& m_scene;
    MaterialImporter& m_materials;
    Warnings& m_warnings;
    NodeAnimation m_animation;
    std::map<unsigned, int32_t> m_materialIndex;
    GltfExtras m_gltfExtras;
    bool m_gltf = false;
    aiVector3D m_low{1e30f, 1e30f, 1e30f}; // the scene's bounds in the engine's space
    aiVector3D m_high{-1e30f, -1e30f, -1e30f};
};

} // namespace sceneimport
