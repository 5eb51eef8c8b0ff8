#include "tools/scene-import/ImportMaterials.h"

#include <assimp/GltfMaterial.h>
#include <assimp/material.h>

#include <cmath>

namespace sceneimport {

namespace {

// Texture kinds the engine has no use for, with the words a warning uses for them.
const struct {
    aiTextureType type;
    const char* what;
} kUnusedKinds[] = {
    {aiTextureType_SPECULAR, "specular"},
    {aiTextureType_AMBIENT, "ambient"},
    {aiTextureType_HEIGHT, "height (bump)"},
    {aiTextureType_SHININESS, "shininess"},
    {aiTextureType_DISPLACEMENT, "displacement"},
    {aiTextureType_LIGHTMAP, "light map / occlusion"},
    {aiTextureType_REFLECTION, "reflection"},
    {aiTextureType_METALNESS, "metalness"},
    {aiTextureType_DIFFUSE_ROUGHNESS, "roughness"},
    {aiTextureType_AMBIENT_OCCLUSION, "ambient occlusion"},
    {aiTextureType_UNKNOWN, "metallic-roughness or other unknown"},
};

bool isBlack(const aiColor3D& c) {
    return c.r <= 0.0f && c.g <= 0.0f && c.b <= 0.0f;
}

scenefile::Vec3 vec3(const aiColor3D& c) {
    return {c.r, c.g, c.b};
}

} // namespace

MaterialImporter::MaterialImporter(TexturePlacement& textures, Warnings& warnings)
    : m_textures(textures), m_warnings(warnings) {}

std::string MaterialImporter::texturePath(const aiMaterial& material, aiTextureType type) {
    if (material.GetTextureCount(type) == 0) {
        return "";
    }
    aiString path;
    unsigned uvIndex = 0;
    if (material.GetTexture(type, 0, &path, nullptr, &uvIndex) != AI_SUCCESS) {
        return "";
    }
    if (uvIndex != 0) {
        m_warnings.add("textures on a second UV set are drawn with the first one");
    }
    if (material.GetTextureCount(type) > 1) {
        m_warnings.add("layered textures: only the first layer of each kind is kept");
    }
    return path.C_Str();
}

scenefile::Material MaterialImporter::convert(const aiMaterial& material) {
    scenefile::Material out;
    aiColor3D diffuse(1.0f, 1.0f, 1.0f);
    if (material.Get(AI_MATKEY_BASE_COLOR, diffuse) != AI_SUCCESS) {
        material.Get(AI_MATKEY_COLOR_DIFFUSE, diffuse);
    }
    aiColor3D emissive(0.0f, 0.0f, 0.0f);
    material.Get(AI_MATKEY_COLOR_EMISSIVE, emissive);

    std::string colourPath = texturePath(material, aiTextureType_BASE_COLOR);
    if (colourPath.empty()) {
        colourPath = texturePath(material, aiTextureType_DIFFUSE);
    }
    const std::string emissivePath = texturePath(material, aiTextureType_EMISSIVE);
    const std::string normalPath = texturePath(material, aiTextureType_NORMALS);
    const std::string opacityPath = texturePath(material, aiTextureType_OPACITY);

    // The 3DF glow colour is the one that multiplies the colour texture: the source's diffuse
    // (base) colour, or the emissive colour for a glowing material, whose glow it also colours.
    out.glow = vec3(diffuse);
    out.selfIllum = !isBlack(emissive) || !emissivePath.empty();
    if (out.selfIllum) {
        out.glow = isBlack(emissive) ? vec3(aiColor3D(1.0f, 1.0f, 1.0f)) : vec3(emissive);
        if (colourPath.empty()) {
            colourPath = emissivePath;
        } else if (!emissivePath.empty() && emissivePath != colourPath) {
            m_warnings.add("an emissive texture beside a colour texture: the colour texture "
                           "glows in its place");
        }
    }
    const bool separateMask = !opacityPath.empty() && opacityPath != colourPath;
    if (!colourPath.empty()) {
        out.colorTexture = separateMask ? m_textures.placeCutout(colourPath, opacityPath)
                                        : m_textures.place(colourPath);
    }
    if (!normalPath.empty()) {
        out.normalMap = m_textures.place(normalPath);
    }

    aiString alphaMode;
    if (material.Get(AI_MATKEY_GLTF_ALPHAMODE, alphaMode) == AI_SUCCESS) {
        const std::string mode = alphaMode.C_Str();
        out.alphaTest = mode == "MASK" || mode == "BLEND";
        if (mode == "BLEND") {
            m_warnings.add("blended transparency is drawn as an alpha-tested cut-out");
        }
        float cutoff = 0.5f;
        if (mode == "MASK" && material.Get(AI_MATKEY_GLTF_ALPHACUTOFF, cutoff) == AI_SUCCESS &&
            std::fabs(cutoff - 0.5f) > 0.01f) {
            m_warnings.add("alpha cutoffs other than 0.5: the engine always cuts at 128/255");
        }
    }
    if (!opacityPath.empty()) {
        out.alphaTest = true;
    }
    float opacity = 1.0f;
    if (material.Get(AI_MATKEY_OPACITY, opacity) == AI_SUCCESS && opacity < 1.0f &&
        opacityPath.empty() && !out.alphaTest) {
        m_warnings.add("partial opacity: such materials are drawn opaque");
    }
    if (out.alphaTest && out.selfIllum) {
        m_warnings.add("glowing materials are never alpha-tested: their cut-out is lost");
    }
    if (out.alphaTest && out.colorTexture.empty()) {
        m_warnings.add("a cut-out without a colour texture is drawn solid");
    }
    for (const auto& kind : kUnusedKinds) {
        if (material.GetTextureCount(kind.type) > 0) {
            m_warnings.add(std::string(kind.what) + " textures are not used by the engine");
        }
    }
    return out;
}

} // namespace sceneimport
