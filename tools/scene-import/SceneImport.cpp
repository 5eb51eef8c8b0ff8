#include "tools/scene-import/SceneImport.h"

#include "tools/scene-import/ChildRun.h"
#include "tools/scene-import/SceneConverter.h"
#include "tools/scene-import/StarterShow.h"

#include "app/Timeline.h"

#include <assimp/Importer.hpp>
#include <assimp/config.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <new>

namespace fs = std::filesystem;

namespace sceneimport {

namespace {

// The engine's meshes end up with 16-bit indices: larger meshes are split rather than left in
// the slow path.
constexpr int kMeshLimit = 65535;

std::string folderOf(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// The textures folder as the show sees it from the scene file's folder: "" or "dir/".
std::string recordedPrefix(const ImportOptions& options) {
    std::error_code ec;
    const fs::path from = fs::weakly_canonical(folderOf(outputPath(options)), ec);
    const fs::path to = fs::weakly_canonical(textureFolder(options), ec);
    const std::string relative = to.lexically_relative(from).generic_string();
    return relative.empty() || relative == "." ? std::string() : relative + "/";
}

// Lines and points are read so that they can be reported; only triangles are imported.
const aiScene* readWithAssimp(const std::string& path, Assimp::Importer* use = nullptr) {
    Assimp::Importer own;
    Assimp::Importer& importer = use != nullptr ? *use : own;
    importer.SetPropertyInteger(AI_CONFIG_PP_SLM_VERTEX_LIMIT, kMeshLimit);
    importer.SetPropertyInteger(AI_CONFIG_PP_SLM_TRIANGLE_LIMIT, kMeshLimit);
    const unsigned flags = aiProcess_Triangulate | aiProcess_JoinIdenticalVertices |
                           aiProcess_GenSmoothNormals | aiProcess_SortByPType |
                           aiProcess_SplitLargeMeshes | aiProcess_FlipUVs |
                           aiProcess_ValidateDataStructure;
    return importer.ReadFile(path, flags);
}

} // namespace

std::string outputPath(const ImportOptions& options) {
    if (!options.output.empty()) {
        return options.output;
    }
    return fs::path(options.input).replace_extension(".3df").string();
}

std::string textureFolder(const ImportOptions& options) {
    return options.textureDir.empty() ? folderOf(outputPath(options)) : options.textureDir;
}

bool importScene(const ImportOptions& options, ImportResult& result, std::string& error) {
    if (options.fps < 1) {
        error = "--fps needs a whole number of 1 or more";
        return false;
    }
    if (!(options.scale > 0.0f) || !std::isfinite(options.scale)) {
        error = "--scale needs a number above 0";
        return false;
    }
    if (options.frames == 1 || options.frames < 0) {
        error = "--frames needs 2 or more (animation blends from one frame to the next)";
        return false;
    }
    // A trial read first, in a child process: Assimp crashes on some files.
    std::string crash;
    if (!runsToEnd([&] { readWithAssimp(options.input); }, crash)) {
        error = "cannot read " + options.input + ": " + crash;
        return false;
    }
    try {
        Assimp::Importer importer;
        const aiScene* scene = readWithAssimp(options.input, &importer);
        if (scene == nullptr || scene->mRootNode == nullptr) {
            error = std::string("cannot read ") + options.input + ": " + importer.GetErrorString();
            // Assimp's reasons can run over several lines; the tool gives one.
            for (char& c : error) {
                c = c == '\n' || c == '\r' ? ' ' : c;
            }
            return false;
        }
        Warnings warnings;
        const std::string sourceDir = folderOf(options.input) + "/";
        TexturePlacement textures(*scene, sourceDir, recordedPrefix(options), warnings);
        MaterialImporter materials(textures, warnings);
        result = ImportResult();
        SceneConverter(*scene, options, result, materials, warnings).run();
        result.textures = textures.files();
        result.warnings = warnings.list();
        return true;
    } catch (const std::bad_alloc&) {
        error = "cannot read " + options.input + ": out of memory";
    } catch (const std::exception& e) {
        error = "cannot read " + options.input + ": " + e.what();
    }
    return false;
}

namespace {

// Names in the show file are relative to its own folder.
std::string relativeToShowFile(const std::string& path, const std::string& showFile) {
    const fs::path from = fs::absolute(folderOf(showFile)).lexically_normal();
    return fs::absolute(path).lexically_normal().lexically_relative(from).generic_string();
}

bool writeStarterShow(const ImportOptions& options, const ImportResult& result,
                      std::string& error) {
    // The show's own music, where the scene went into a copy of the show's folder.
    const std::string music = folderOf(options.showFile) + "/" + kMusicFileName;
    const std::string text = showFileText(starterShow(
        result.scene, options.fps, relativeToShowFile(outputPath(options), options.showFile),
        fs::exists(music) ? kMusicFileName : ""));
    std::ofstream out(options.showFile, std::ios::binary);
    out << "# A starter show for " << fs::path(options.input).filename().string()
        << ", written by scene-import: play it with tarnelix-player --show\n"
           "# or tarnelix-capture --show, and edit it as you like.\n"
        << text;
    if (!out) {
        error = "cannot write " + options.showFile;
        return false;
    }
    return true;
}

} // namespace

bool writeImport(const ImportOptions& options, const ImportResult& result, std::string& error) {
    const std::string folder = textureFolder(options);
    std::error_code ec;
    for (const std::string& needed : {folderOf(outputPath(options)), folder}) {
        fs::create_directories(needed, ec);
        if (ec) {
            error = "cannot make " + needed + ": " + ec.message();
            return false;
        }
    }
    for (const TextureFile& texture : result.textures) {
        const std::string target = folder + "/" + texture.fileName;
        if (!texture.source.empty()) {
            if (fs::equivalent(texture.source, target, ec)) {
                continue; // already where the show will look for it
            }
            fs::copy_file(texture.source, target, fs::copy_options::overwrite_existing, ec);
            if (ec) {
                error = "cannot copy " + texture.source + " to " + target + ": " + ec.message();
                return false;
            }
            continue;
        }
        std::ofstream out(target, std::ios::binary);
        out.write(reinterpret_cast<const char*>(texture.bytes.data()),
                  static_cast<std::streamsize>(texture.bytes.size()));
        if (!out) {
            error = "cannot write " + target;
            return false;
        }
    }
    if (!scenefile::saveScene(result.scene, outputPath(options), &error)) {
        return false;
    }
    return options.showFile.empty() || writeStarterShow(options, result, error);
}

} // namespace sceneimport
