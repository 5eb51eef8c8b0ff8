#pragma once

#include "app/player/OverlayRenderer.h"

#include <windows.h>

#include <deque>
#include <string>

class PlayerClock;
class PlayerControls;
class RenderEngine;
class Scene;
struct CameraChoice;
struct ImGuiContext;

// The player's window over the show: where the show is and a slider to move it, pause, loop
// and camera controls, the frame's cost, and what the last reloads said. Dear ImGui builds
// it; the mouse reaches it through the window's messages.
class PlayerOverlay {
public:
    PlayerOverlay() = default;
    ~PlayerOverlay();
    PlayerOverlay(const PlayerOverlay&) = delete;
    PlayerOverlay& operator=(const PlayerOverlay&) = delete;

    bool init(IDirect3DDevice9* device);
    // Takes the mouse messages. True when the overlay wants the mouse, which the free camera
    // must then leave alone.
    bool handleMessage(const MSG& msg);
    // Builds the overlay for this frame and draws it over the back buffer, unless the
    // controls hide it.
    void draw(PlayerClock& clock, PlayerControls& controls, const CameraChoice& camera,
              const RenderEngine& engine, const Scene* scene, double frameSeconds, int width,
              int height);
    // A line for the reload list: errors stay until the next reload of the same file.
    void report(const std::string& file, const std::string& message, bool error);

private:
    struct Report {
        std::string file;
        std::string message;
        bool error;
    };
    void drawStatistics(const RenderEngine& engine);
    void markSegments(const PlayerClock& clock);
    void drawTimeline(PlayerClock& clock);
    void drawCameras(PlayerControls& controls, const CameraChoice& camera,
                     const RenderEngine& engine, const Scene* scene);

    ImGuiContext* m_context = nullptr;
    OverlayRenderer m_renderer;
    std::deque<Report> m_reports;
    double m_averageFrame = 0.0;
    float m_sliderTime = 0.0f;
    bool m_sliderHeld = false;
    bool m_visible = true;
    bool m_pressUnseen = false;
    bool m_releasePending = false;
};
