#pragma once

// Turns a scene in one of the formats Assimp reads (glTF, OBJ, FBX, Collada, ...) into a 3DF
// scene and the texture files it names.

#include "tools/scene-import/TexturePlacement.h"
#include "tools/scenewriter/SceneWriter.h"

#include <string>
#include <vector>

namespace sceneimport {

struct ImportOptions {
    std::string input;
    std::string output;     // the 3DF file; empty: the input's name with ".3df", beside it
    std::string textureDir; // empty: the output's folder, where the show looks by default
    int fps = 10;           // samples per second of animation; the show plays 10
    int frames = 0;         // 0: enough to cover the longest animation
    // Multiplies every length: the engine's near plane lies 2 units from the camera, so scenes
    // modelled in metres usually want 10 or so.
    float scale = 1.0f;
    // A starter show file to write as well (--show): a camera segment per camera, or the
    // "Orbit" camera, added to the scene, when it has none. Empty: none.
    std::string showFile;
};

struct ImportResult {
    scenefile::Scene scene;
    std::vector<TextureFile> textures;
    std::vector<std::string> warnings;
};

// The output and texture folder that `options` leads to.
std::string outputPath(const ImportOptions& options);
std::string textureFolder(const ImportOptions& options);

// Reads and converts; writes nothing. False with a one-line reason when the file cannot be
// read or the options make no sense.
bool importScene(const ImportOptions& options, ImportResult& result, std::string& error);

// Seconds of a scene without animation that an added orbit camera takes to go round.
constexpr int kOrbitSeconds = 20;

// Writes the scene file and copies or writes its textures, and the starter show file when
// asked for.
bool writeImport(const ImportOptions& options, const ImportResult& result, std::string& error);

} // namespace sceneimport
