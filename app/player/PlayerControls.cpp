#include "app/player/PlayerControls.h"

#include "app/player/PlayerClock.h"

bool PlayerControls::keyDown(WPARAM key, const std::vector<std::string>& cameraNames,
                             const Vec4& eye, const Vec4& target) {
    switch (key) {
    case VK_SPACE:
        m_clock.setPaused(!m_clock.paused());
        return true;
    case VK_LEFT:
        m_clock.seekBy(-1.0);
        return true;
    case VK_RIGHT:
        m_clock.seekBy(1.0);
        return true;
    case VK_DOWN:
        m_clock.seekBy(-10.0);
        return true;
    case VK_UP:
        m_clock.seekBy(10.0);
        return true;
    case VK_HOME:
        m_clock.seekTo(0.0);
        return true;
    case 'I':
        m_clock.setLoop(m_clock.position(),
                        m_clock.looping() ? m_clock.loopTo() : m_clock.length());
        return true;
    case 'O':
        m_clock.setLoop(m_clock.looping() ? m_clock.loopFrom() : 0.0, m_clock.position());
        return true;
    case 'L':
        m_clock.clearLoop();
        return true;
    case 'H':
        overlayVisible = !overlayVisible;
        return true;
    case 'F':
        chooseFree(eye, target);
        return true;
    case '0':
        chooseScript();
        return true;
    default:
        break;
    }
    if (key >= '1' && key <= '9') {
        const size_t index = key - '1';
        if (index < cameraNames.size()) {
            chooseNamed(cameraNames[index]);
        }
        return true;
    }
    return false;
}

void PlayerControls::chooseScript() {
    // A camera chosen by name was advanced beside the script's: played again, the script's
    // cameras are where the show has them.
    if (m_camera.mode == CameraChoice::Mode::Named) {
        m_clock.replay();
    }
    m_camera.mode = CameraChoice::Mode::Script;
}

void PlayerControls::chooseNamed(const std::string& name) {
    if (m_camera.mode == CameraChoice::Mode::Named && m_camera.name != name) {
        m_clock.replay();
    }
    m_camera.mode = CameraChoice::Mode::Named;
    m_camera.name = name;
}

void PlayerControls::chooseFree(const Vec4& eye, const Vec4& target) {
    if (m_camera.mode != CameraChoice::Mode::Free) {
        m_camera.free.lookFrom(eye, target);
    }
    if (m_camera.mode == CameraChoice::Mode::Named) {
        m_clock.replay();
    }
    m_camera.mode = CameraChoice::Mode::Free;
}
