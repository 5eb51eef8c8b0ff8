#include "tools/showgen/ShowContent.h"

#include "app/ShowScript.h"

#include "tools/showgen/Garden.h"
#include "tools/showgen/Music.h"
#include "tools/showgen/Splash.h"
#include "tools/showgen/Textures.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>

namespace showgen {

namespace fs = std::filesystem;

namespace {

bool readFile(const fs::path& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

void append(std::vector<GeneratedFile>& to, std::vector<GeneratedFile>&& from) {
    std::move(from.begin(), from.end(), std::back_inserter(to));
}

// The show's own script as a show file, for authors to start theirs from.
GeneratedFile showFile() {
    const std::string text = "# The show as tarnelix plays it. tarnelix-player --show and\n"
                             "# tarnelix-capture --show play this file, or one made from it.\n" +
                             showFileText(builtInShow());
    return GeneratedFile{"show.toml", std::vector<uint8_t>(text.begin(), text.end())};
}

} // namespace

bool readShaders(const std::string& dir, std::vector<GeneratedFile>& files, std::string& error) {
    std::error_code code;
    std::vector<fs::path> paths;
    for (fs::directory_iterator it(dir, code), end; !code && it != end; it.increment(code)) {
        const std::string extension = it->path().extension().string();
        if (it->is_regular_file() && (extension == ".vsh" || extension == ".psh")) {
            paths.push_back(it->path());
        }
    }
    if (code) {
        error = "cannot read the shader directory " + dir + ": " + code.message();
        return false;
    }
    std::sort(paths.begin(), paths.end());
    for (const fs::path& path : paths) {
        GeneratedFile file{path.filename().string(), {}};
        if (!readFile(path, file.bytes)) {
            error = "cannot read " + path.string();
            return false;
        }
        files.push_back(std::move(file));
    }
    return true;
}

bool generateShow(const ShowOptions& options, std::vector<GeneratedFile>& files,
                  std::string& error) {
    files.clear();
    // The music takes longest: it is made on a second thread while the pictures are drawn.
    std::future<GeneratedFile> music;
    if (options.withMusic) {
        music = std::async(std::launch::async, generateMusic);
    }
    GeneratedFile scene;
    if (!generateScene(scene, error)) {
        return false;
    }
    files.push_back(std::move(scene));
    append(files, generateTextures());
    if (!generateSplashes(options.fontDir, files, error)) {
        return false;
    }
    if (options.withMusic) {
        files.push_back(music.get());
        if (files.back().bytes.empty()) {
            error = "the MP3 encoder failed";
            return false;
        }
    }
    if (!options.shaderDir.empty() && !readShaders(options.shaderDir, files, error)) {
        return false;
    }
    files.push_back(showFile());
    return true;
}

bool writeFiles(const std::string& dir, const std::vector<GeneratedFile>& files,
                std::string& error) {
    std::error_code code;
    fs::create_directories(dir, code);
    if (code) {
        error = "cannot create " + dir + ": " + code.message();
        return false;
    }
    for (const GeneratedFile& file : files) {
        const fs::path path = fs::path(dir) / file.name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.bytes.data()),
                  static_cast<std::streamsize>(file.bytes.size()));
        if (!out) {
            error = "cannot write " + path.string();
            return false;
        }
    }
    return true;
}

} // namespace showgen
