#pragma once

// The texture files of an imported scene. The engine reads JPEG and PNG only, by the name the
// 3DF file records, relative to the folder the show runs in (the scene file's folder).

#include "tools/scene-import/Warnings.h"

#include <assimp/scene.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sceneimport {

// One file to put into the textures folder: a copy of `source`, or `bytes` when the image came
// from inside the scene file or was made here.
struct TextureFile {
    std::string fileName; // within the textures folder
    std::string source;
    std::vector<uint8_t> bytes;
};

class TexturePlacement {
public:
    // `sourceDir`: where the scene file's relative texture paths start. `recordedPrefix`: the
    // textures folder as seen from the scene file's folder ("" or ending in '/').
    TexturePlacement(const aiScene& scene, std::string sourceDir, std::string recordedPrefix,
                     Warnings& warnings);

    // The name the 3DF file records for the texture at `path` (a file name relative to the
    // scene file, or Assimp's "*N" for an embedded image), or "" when it cannot be placed
    // (warned). The same path always gives the same name.
    std::string place(const std::string& path);
    // The colour texture with the mask's alpha, as a texture of its own.
    std::string placeCutout(const std::string& colourPath, const std::string& maskPath);

    const std::vector<TextureFile>& files() const { return m_files; }

private:
    // A JPEG or PNG image, with the file name it would get.
    struct Image {
        std::string name;
        std::string source; // the file it came from; empty for an image inside the scene
        std::vector<uint8_t> bytes;
    };
    bool image(const std::string& path, Image& out); // false (warned) when it cannot be had
    std::string record(TextureFile file);
    std::string claim(const std::string& wanted);

    const aiScene& m_scene;
    std::string m_sourceDir;
    std::string m_prefix;
    Warnings& m_warnings;
    std::vector<TextureFile> m_files;
    std::map<std::string, std::string> m_placed; // texture path(s) -> recorded name
};

} // namespace sceneimport
