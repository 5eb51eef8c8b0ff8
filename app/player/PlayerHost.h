#pragma once

#include "app/FrameHost.h"
#include "app/player/PlayerClock.h"
#include "app/player/PlayerControls.h"
#include "app/player/PlayerOverlay.h"
#include "app/player/ShowReload.h"

#include <windows.h>

#include <chrono>
#include <memory>
#include <string>

class MusicStream;
class RenderEngine;
class Scene;

// The show's surroundings in the player: the window's messages become the player's keys, the
// overlay's mouse and the free camera's; the counter hands out the player clock's steps; the
// present draws the overlay first. The music is kept at the show's time and pause. A run of
// the timeline ends through the message pump when the show must start again (a seek back, a
// replaced scene) or the window closes.
class PlayerHost : public FrameHost {
public:
    PlayerHost(PlayerClock& clock, CameraChoice& camera, RenderEngine& engine,
               std::unique_ptr<Scene>& scene, Scene*& sceneInUse, ShowReload& reload,
               MusicStream& music, PlayerOverlay& overlay);

    bool pumpMessage() override;
    void present() override;
    bool queryFrequency(int64_t& ticksPerSecond) override;
    bool queryCounter(int64_t& ticks) override;
    bool drawsNextFrame() override;
    void segmentStarting(int index) override { m_clock.segmentStarting(index); }

    bool quitting() const { return m_quit; }
    PlayerControls& controls() { return m_controls; }
    // Moves and pauses the music as the clock was moved and paused since the last call.
    void followWithMusic();

private:
    using Clock = std::chrono::steady_clock;

    void handle(const MSG& msg);
    void handleKey(const MSG& msg, bool down);
    void handleMouse(const MSG& msg);
    void applyResize();
    void pollReloads();
    void flyFreeCamera(double seconds);
    void showTimeInTitle();

    PlayerClock& m_clock;
    CameraChoice& m_camera;
    RenderEngine& m_engine;
    std::unique_ptr<Scene>& m_scene;
    Scene*& m_sceneInUse;
    ShowReload& m_reload;
    MusicStream& m_music;
    PlayerOverlay& m_overlay;
    PlayerControls m_controls;

    bool m_quit = false;
    bool m_drawing = true;
    Clock::time_point m_lastQuery = Clock::now();
    Clock::time_point m_lastPresent = Clock::now();
    Clock::time_point m_lastReloadPoll = Clock::now();
    bool m_resizePending = false;
    // The free camera's keys held down (W A S D Q E, shift) and its mouse turn.
    bool m_held[7] = {};
    bool m_turning = false;
    int m_mouseX = 0;
    int m_mouseY = 0;
    uint64_t m_musicSeeks = 0;
    bool m_musicPaused = false;
    std::string m_title;
};
