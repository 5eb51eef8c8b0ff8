#include "app/player/ShowReload.h"

#include "app/ShowFile.h"
#include "app/ShowScriptCheck.h"

#include "engine/render/RenderEngine.h"
#include "engine/resources/ProgramDevice.h"
#include "engine/resources/Texture.h"
#include "engine/resources/TextureCache.h"
#include "engine/scene/Scene.h"

#include <d3dx9.h>

#include <cstdio>
#include <cstring>

namespace {

// The engine's shader programs by source file: the profile each is compiled for, and how the
// engine's program is built anew from it.
struct ShaderSource {
    const char* file;
    const char* profile;
    void (*rebuild)(RenderEngine& engine);
    bool (*ready)(const RenderEngine& engine);
};

// One entry per program: its file and profile from the program's class, so that a reload
// compiles exactly what the engine builds.
template <class Program, Program RenderEngine::*member> ShaderSource sourceOf() {
    return {Program::kFile, Program::kProfile, [](RenderEngine& e) { (e.*member).create(); },
            [](const RenderEngine& e) { return (e.*member).ready(); }};
}

const ShaderSource kShaderSources[] = {
    sourceOf<NullVertexShader, &RenderEngine::nullVertexShader>(),
    sourceOf<NormalMapVertexShader, &RenderEngine::normalMapVertexShader>(),
    sourceOf<GlowVertexShader, &RenderEngine::glowVertexShader>(),
    sourceOf<GlowPixelShader, &RenderEngine::glowPixelShader>(),
    sourceOf<AlphaPixelShader, &RenderEngine::alphaPixelShader>(),
    sourceOf<ParticleVertexShader, &RenderEngine::particleVertexShader>(),
};

const ShaderSource* shaderSource(const std::string& file) {
    for (const ShaderSource& source : kShaderSources) {
        if (file == source.file) {
            return &source;
        }
    }
    return nullptr;
}

bool endsWith(const std::string& text, const char* suffix) {
    const size_t length = std::strlen(suffix);
    return text.size() >= length && text.compare(text.size() - length, length, suffix) == 0;
}

// The compiler's messages, trimmed of the trailing line break.
std::string messagesOf(ID3DXBuffer* messages) {
    if (!messages) {
        return "did not compile";
    }
    std::string text(static_cast<const char*>(messages->GetBufferPointer()),
                     messages->GetBufferSize());
    while (!text.empty() && (text.back() == '\0' || text.back() == '\n')) {
        text.pop_back();
    }
    return text;
}

} // namespace

ShowReload::ShowReload(RenderEngine& engine, TextureCache& textures, std::unique_ptr<Scene>& scene,
                       std::string sceneFile)
    : m_engine(engine), m_textures(textures), m_scene(scene), m_sceneFile(std::move(sceneFile)) {}

ShowReload::Kind ShowReload::kindOf(const std::string& path, const std::string& sceneFile,
                                    const std::string& showFile) {
    if (path == sceneFile) {
        return Kind::Scene;
    }
    if (!showFile.empty() && path == showFile) {
        return Kind::ShowFile;
    }
    if (endsWith(path, ".vsh") || endsWith(path, ".psh")) {
        return Kind::Shader;
    }
    return Kind::Texture;
}

void ShowReload::watchShowFile(const std::string& path, const ShowScript& script) {
    m_showFile = path;
    m_script = script;
    m_watch.watch(path);
}

void ShowReload::watchAll() {
    m_watch.watch(m_sceneFile);
    for (const ShaderSource& source : kShaderSources) {
        m_watch.watch(source.file);
    }
    for (const std::string& name : m_textures.names()) {
        m_watch.watch(name);
    }
}

bool ShowReload::poll() {
    bool sceneReplaced = false;
    for (const std::string& path : m_watch.poll()) {
        switch (kindOf(path, m_sceneFile, m_showFile)) {
        case Kind::Scene:
            sceneReplaced = reloadScene() || sceneReplaced;
            break;
        case Kind::ShowFile:
            sceneReplaced = reloadShowFile() || sceneReplaced;
            break;
        case Kind::Shader:
            reloadShader(path);
            break;
        case Kind::Texture:
            reloadTexture(path);
            break;
        }
    }
    // A new scene may have asked the cache for textures it did not hold yet.
    watchAll();
    return sceneReplaced;
}

bool ShowReload::reloadScene() {
    auto fresh = std::make_unique<Scene>();
    if (!fresh->load(m_sceneFile.c_str(), programDevice(), m_textures)) {
        tell(m_sceneFile, std::string(fresh->loadError()) + "; the last scene that loaded plays on",
             true);
        return false;
    }
    m_scene = std::move(fresh);
    tell(m_sceneFile, "reloaded", false);
    return true;
}

bool ShowReload::reloadShowFile() {
    ShowScript script;
    std::string error;
    std::vector<std::string> warnings;
    const std::string keeps = "; the last show file that loaded plays on";
    if (!readShowFile(m_showFile, script, error, warnings)) {
        tellPlaced(error + keeps, true);
        return false;
    }
    script.file = m_showFile;
    // Its scene first: the cameras it names are looked for there.
    std::unique_ptr<Scene> fresh;
    if (script.scene != m_sceneFile) {
        fresh = std::make_unique<Scene>();
        if (!fresh->load(script.scene.c_str(), programDevice(), m_textures)) {
            tellPlaced(script.at(script.scenePlace) + script.scene + ": " + fresh->loadError() +
                           keeps,
                       true);
            return false;
        }
    }
    if (!checkShowContent(script, fresh ? *fresh : *m_scene, error)) {
        tellPlaced(error + keeps, true);
        return false;
    }
    if (fresh) {
        m_scene = std::move(fresh);
        m_sceneFile = script.scene;
    }
    for (const std::string& warning : warnings) {
        tellPlaced(warning, true);
    }
    m_script = std::move(script);
    m_scriptPending = true;
    tell(m_showFile, "reloaded", false);
    return true;
}

bool ShowReload::takeShowScript(ShowScript& script) {
    if (!m_scriptPending) {
        return false;
    }
    m_scriptPending = false;
    script = m_script;
    return true;
}

void ShowReload::reloadTexture(const std::string& name) {
    Texture fresh;
    if (const char* why = fresh.load(name.c_str())) {
        tell(name, std::string(why) + "; the last image that loaded stays", true);
        return;
    }
    Texture* texture = m_textures.get(name.c_str());
    texture->release();
    texture->adopt(fresh.d3dTexture());
    tell(name, "reloaded", false);
}

void ShowReload::reloadShader(const std::string& file) {
    const ShaderSource* source = shaderSource(file);
    if (!source) {
        return;
    }
    // Compiled once on the side first: a source with errors must not cost the engine the
    // program it has.
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* messages = nullptr;
    const HRESULT hr = D3DXCompileShaderFromFileA(file.c_str(), nullptr, nullptr, "main",
                                                  source->profile, 0, &code, &messages, nullptr);
    const std::string text = messagesOf(messages);
    if (messages) {
        messages->Release();
    }
    if (code) {
        code->Release();
    }
    if (FAILED(hr)) {
        tell(file, text + "\nthe last program that built stays", true);
        return;
    }
    source->rebuild(m_engine);
    if (!source->ready(m_engine)) {
        tell(file, "the device refused the program (see stderr)", true);
        return;
    }
    tell(file, "rebuilt", false);
}

// "FILE:LINE:COLUMN: what" about the show file, told as "line LINE, column COLUMN: what" under
// the file's name, as every report names its file.
void ShowReload::tellPlaced(const std::string& message, bool error) {
    const std::string prefix = m_showFile + ":";
    int line = 0;
    int column = 0;
    int used = 0;
    if (message.compare(0, prefix.size(), prefix) == 0 &&
        std::sscanf(message.c_str() + prefix.size(), "%d:%d: %n", &line, &column, &used) == 2 &&
        used > 0) {
        tell(m_showFile,
             "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " +
                 message.substr(prefix.size() + static_cast<size_t>(used)),
             error);
        return;
    }
    tell(m_showFile, message, error);
}

void ShowReload::tell(const std::string& file, const std::string& message, bool error) {
    if (report) {
        report(reportUser, file, message, error);
    }
}
