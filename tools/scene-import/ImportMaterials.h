#pragma once

// Materials: what the source's colours, textures and flags become in a 3DF material.

#include "tools/scene-import/TexturePlacement.h"
#include "tools/scene-import/Warnings.h"
#include "tools/scenewriter/SceneWriter.h"

#include <assimp/material.h>

#include <string>

namespace sceneimport {

class MaterialImporter {
public:
    MaterialImporter(TexturePlacement& textures, Warnings& warnings);

    scenefile::Material convert(const aiMaterial& material);

private:
    std::string texturePath(const aiMaterial& material, aiTextureType type);

    TexturePlacement& m_textures;
    Warnings& m_warnings;
};

} // namespace sceneimport
