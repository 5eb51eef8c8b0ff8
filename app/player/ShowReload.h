#pragma once

#include "app/ShowScript.h"
#include "app/player/FileWatch.h"

#include <memory>
#include <string>

class RenderEngine;
class Scene;
class TextureCache;

// Puts what changed on disk into the running show: the scene file, the textures the cache
// holds, the engine's shader programs. A file that will not load or compile leaves what was
// there before in use; the reason is handed to `report`.
class ShowReload {
public:
    // What a reload says, for the overlay; `error` false for a file taken in.
    using Report = void (*)(void* user, const std::string& file, const std::string& message,
                            bool error);
    enum class Kind { Scene, Texture, Shader, ShowFile };

    ShowReload(RenderEngine& engine, TextureCache& textures, std::unique_ptr<Scene>& scene,
               std::string sceneFile);

    // The kind of file a path names: the scene file, the show file, a shader source, or else a
    // texture.
    static Kind kindOf(const std::string& path, const std::string& sceneFile,
                       const std::string& showFile = "");

    // Watches the show file at `path` too; `script` is what it says now.
    void watchShowFile(const std::string& path, const ShowScript& script);
    // Watches the scene file, the shaders and every texture the cache has been asked for.
    void watchAll();
    // Reloads whatever changed. True when the scene or the show file was replaced: the show's
    // state must then be rebuilt by playing it again up to where it was.
    bool poll();
    // The show file's script, once it was read again and everything it names is there; the
    // timeline still plays the old one until its run ends, so it is taken between runs.
    bool takeShowScript(ShowScript& script);

    Report report = nullptr;
    void* reportUser = nullptr;

private:
    bool reloadScene();
    bool reloadShowFile();
    void reloadTexture(const std::string& name);
    void reloadShader(const std::string& file);
    void tell(const std::string& file, const std::string& message, bool error);
    void tellPlaced(const std::string& message, bool error);

    RenderEngine& m_engine;
    TextureCache& m_textures;
    std::unique_ptr<Scene>& m_scene;
    std::string m_sceneFile;
    std::string m_showFile; // as watched, "" for none
    ShowScript m_script;    // the show file's as last taken in
    bool m_scriptPending = false;
    FileWatch m_watch;
};
