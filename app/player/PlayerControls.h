#pragma once

#include "app/player/CameraChoice.h"

#include <windows.h>

#include <string>
#include <vector>

class PlayerClock;

// What the player's keys and buttons do to the show: the clock, the camera choice and the
// overlay's visibility. Free of the window, so that tests can press keys.
class PlayerControls {
public:
    PlayerControls(PlayerClock& clock, CameraChoice& camera) : m_clock(clock), m_camera(camera) {}

    // Handles a key pressed (a virtual-key code); false for a key that is not the player's.
    // `cameraNames` are the scene's cameras, `eye` and `target` the view now shown, where the
    // free camera starts.
    bool keyDown(WPARAM key, const std::vector<std::string>& cameraNames, const Vec4& eye,
                 const Vec4& target);
    void chooseScript();
    void chooseNamed(const std::string& name);
    void chooseFree(const Vec4& eye, const Vec4& target);

    bool overlayVisible = true;

private:
    PlayerClock& m_clock;
    CameraChoice& m_camera;
};
