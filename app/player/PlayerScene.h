#pragma once

#include "app/ShowTypes.h"
#include "app/player/CameraChoice.h"

// The show's scene as the player's timeline sees it. The script's camera always advances, so
// the show's state stays exactly what it would be; a camera chosen by name advances beside it
// and is the one looked through, and the free camera replaces the view after both.
class PlayerScene {
public:
    PlayerScene(Scene*& scene, CameraChoice& choice) : m_scene(scene), m_choice(choice) {}

    void updateCamera(RenderEngine& engine, const Matrix4& parent, const char* cameraName, float dt,
                      float aspect) {
        m_scene->updateCamera(engine, parent, cameraName, dt, aspect);
        if (m_choice.mode == CameraChoice::Mode::Named && m_choice.name != cameraName) {
            m_scene->updateCamera(engine, parent, m_choice.name.c_str(), dt, aspect);
        } else if (m_choice.mode == CameraChoice::Mode::Free) {
            engine.camera.setProjection(engine.camera.fov(), aspect);
            engine.camera.setView(m_choice.free.eye(), m_choice.free.target(),
                                  Vec4(0.0f, 1.0f, 0.0f, 1.0f));
        }
    }
    void updateLights(RenderEngine& engine, const Matrix4& parent, float dt) {
        m_scene->updateLights(engine, parent, dt);
    }
    void updateObjects(RenderEngine& engine, const Matrix4& parent, float dt) {
        m_scene->updateObjects(engine, parent, dt);
    }
    void rewind() { m_scene->rewind(); }

private:
    // A reference to the pointer: a reload puts a new scene in its place.
    Scene*& m_scene;
    CameraChoice& m_choice;
};

// The show's types with the player's scene; the player loads the scene itself.
struct PlayerShow : TarnelixShow {
    using Scene = PlayerScene;
    static void loadScene(PlayerScene&, const char*, TextureCache&) {}
};
using PlayerTimeline = TimelineOf<PlayerShow>;
