#include "app/capture/ShowData.h"

#include "app/FaultReport.h"
#include "app/ProgramObjects.h"

#include <cstdio>

namespace {

// An MP3 file starts with an ID3 tag or straight with an MPEG audio frame: eleven set sync
// bits, then a layer other than the reserved 0.
bool startsLikeMp3(const unsigned char* head, size_t size) {
    const bool tagged = size >= 3 && head[0] == 'I' && head[1] == 'D' && head[2] == '3';
    const bool frame =
        size >= 2 && head[0] == 0xFF && (head[1] & 0xE0) == 0xE0 && (head[1] & 0x06) != 0;
    return tagged || frame;
}

} // namespace

bool loadShowScene(const std::string& path, std::string& error) {
    const char* file = path.empty() ? kSceneFileName : path.c_str();
    if (scene.load(file, programDevice(), textureCache)) {
        return true;
    }
    error = std::string(file) + ": " + scene.loadError();
    return false;
}

bool shaderProgramsBuilt(const RenderEngine& engine) {
    return engine.nullVertexShader.ready() && engine.normalMapVertexShader.ready() &&
           engine.glowVertexShader.ready() && engine.glowPixelShader.ready() &&
           engine.alphaPixelShader.ready() && engine.particleVertexShader.ready();
}

std::string musicForVideo(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    unsigned char head[3] = {};
    const size_t size = file != nullptr ? std::fread(head, 1, sizeof head, file) : 0;
    if (file != nullptr) {
        std::fclose(file);
    }
    if (file != nullptr && startsLikeMp3(head, size)) {
        return path;
    }
    reportFault("tarnelix-capture", path,
                file == nullptr ? "the file is missing or cannot be read" : "not an MP3",
                "the video is silent");
    return "";
}
