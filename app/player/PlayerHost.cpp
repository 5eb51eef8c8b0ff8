#include "app/player/PlayerHost.h"

#include "app/ProgramObjects.h"
#include "app/ShowTypes.h"
#include "platform/MusicStream.h"

#include <cmath>
#include <cstdio>

namespace {

// How often the files are looked at: often enough to feel at once, rarely enough to cost
// nothing.
constexpr double kReloadPollSeconds = 0.25;
// The free camera: scene units per second (shift four times that) and radians per pixel.
constexpr float kFlySpeed = 60.0f;
constexpr float kFastFactor = 4.0f;
constexpr float kTurnPerPixel = 0.004f;

enum HeldKey { Forward, Left, Back, Right, Down, Up, Fast };

int heldKeyOf(WPARAM key) {
    switch (key) {
    case 'W':
        return Forward;
    case 'A':
        return Left;
    case 'S':
        return Back;
    case 'D':
        return Right;
    case 'Q':
        return Down;
    case 'E':
        return Up;
    case VK_SHIFT:
        return Fast;
    default:
        return -1;
    }
}

// Bit 30 of a key message: the key was already down, so this is the keyboard's repeat.
bool isRepeat(const MSG& msg) {
    return (static_cast<uint32_t>(msg.lParam) & (1u << 30)) != 0;
}

std::vector<std::string> cameraNamesOf(const Scene* scene) {
    std::vector<std::string> names;
    for (int i = 0; scene && i < scene->cameras.count(); ++i) {
        names.emplace_back(scene->cameras[i].name);
    }
    return names;
}

} // namespace

PlayerHost::PlayerHost(PlayerClock& clock, CameraChoice& camera, RenderEngine& engine,
                       std::unique_ptr<Scene>& scene, Scene*& sceneInUse, ShowReload& reload,
                       MusicStream& music, PlayerOverlay& overlay)
    : m_clock(clock), m_camera(camera), m_engine(engine), m_scene(scene), m_sceneInUse(sceneInUse),
      m_reload(reload), m_music(music), m_overlay(overlay), m_controls(clock, camera) {}

bool PlayerHost::pumpMessage() {
    if (m_quit) {
        return false;
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            m_quit = true;
            return false;
        }
        handle(msg);
    }
    // Frames stepped through on the way to a seek's target are not the moment for either.
    if (!m_clock.catchingUp()) {
        applyResize();
        pollReloads();
    }
    return !m_clock.restartWanted();
}

void PlayerHost::handle(const MSG& msg) {
    switch (msg.message) {
    case WM_KEYDOWN:
        handleKey(msg, true);
        break;
    case WM_KEYUP:
        handleKey(msg, false);
        break;
    case WM_SIZE:
        m_resizePending = true;
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        handleMouse(msg);
        break;
    default:
        break;
    }
    // The window procedure still closes the window and quits on Escape.
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

void PlayerHost::handleKey(const MSG& msg, bool down) {
    const int held = heldKeyOf(msg.wParam);
    if (held >= 0) {
        m_held[held] = down;
        return;
    }
    // Arrow keys seek again as they repeat; the switches change once per press.
    const bool seekKey = msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT || msg.wParam == VK_UP ||
                         msg.wParam == VK_DOWN;
    if (down && (seekKey || !isRepeat(msg))) {
        m_controls.keyDown(msg.wParam, cameraNamesOf(m_sceneInUse), m_engine.camera.eye(),
                           m_engine.camera.target());
    }
}

void PlayerHost::handleMouse(const MSG& msg) {
    const int x = static_cast<short>(LOWORD(msg.lParam));
    const int y = static_cast<short>(HIWORD(msg.lParam));
    const bool overlayHasMouse = m_overlay.handleMessage(msg);
    if (msg.message == WM_RBUTTONDOWN && !overlayHasMouse) {
        m_turning = true;
    } else if (msg.message == WM_RBUTTONUP) {
        m_turning = false;
    } else if (msg.message == WM_MOUSEMOVE && m_turning &&
               m_camera.mode == CameraChoice::Mode::Free) {
        m_camera.free.turn(static_cast<float>(x - m_mouseX) * kTurnPerPixel,
                           static_cast<float>(m_mouseY - y) * kTurnPerPixel);
    }
    m_mouseX = x;
    m_mouseY = y;
}

void PlayerHost::applyResize() {
    if (!m_resizePending) {
        return;
    }
    m_resizePending = false;
    RECT client{};
    GetClientRect(display.window, &client);
    if (client.right <= 0 || client.bottom <= 0 || display.fullscreen ||
        (client.right == display.width && client.bottom == display.height)) {
        return;
    }
    // The engine's targets follow the back buffer's size: they go before the device is reset
    // and come back at the new size, with the settings the show gave the engine.
    const Vec4 background = m_engine.backgroundColour;
    const Vec4 ambient = m_engine.ambientColour;
    const Vec4 glow = m_engine.glowColour;
    const bool glowEnabled = m_engine.glowEnabled;
    const float blur = m_engine.blurAmount;
    m_engine.release();
    D3DPRESENT_PARAMETERS parameters = Display::presentParameters(0, 0, false, 32, 0, 0);
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_ONE;
    if (SUCCEEDED(display.device->Reset(&parameters))) {
        display.width = static_cast<int32_t>(parameters.BackBufferWidth);
        display.height = static_cast<int32_t>(parameters.BackBufferHeight);
    }
    m_engine.init(display.device, display.width, display.height);
    m_engine.backgroundColour = background;
    m_engine.ambientColour = ambient;
    m_engine.glowColour = glow;
    m_engine.glowEnabled = glowEnabled;
    m_engine.blurAmount = blur;
    // The reset put the samplers back to the device's defaults.
    samplerFilterSettings.set(D3DTEXF_LINEAR, D3DTEXF_LINEAR, D3DTEXF_LINEAR, 0);
}

void PlayerHost::pollReloads() {
    const Clock::time_point now = Clock::now();
    if (std::chrono::duration<double>(now - m_lastReloadPoll).count() < kReloadPollSeconds) {
        return;
    }
    m_lastReloadPoll = now;
    if (m_reload.poll()) {
        m_sceneInUse = m_scene.get();
        m_clock.replay();
    }
}

void PlayerHost::flyFreeCamera(double seconds) {
    if (m_camera.mode != CameraChoice::Mode::Free) {
        return;
    }
    const float distance =
        static_cast<float>(seconds) * kFlySpeed * (m_held[Fast] ? kFastFactor : 1.0f);
    const auto axis = [&](int plus, int minus) {
        return (m_held[plus] ? distance : 0.0f) - (m_held[minus] ? distance : 0.0f);
    };
    m_camera.free.move(axis(Forward, Back), axis(Right, Left), axis(Up, Down));
}

void PlayerHost::followWithMusic() {
    if (m_clock.seekCount() != m_musicSeeks) {
        m_musicSeeks = m_clock.seekCount();
        m_music.seek(m_clock.position());
    }
    if (m_clock.paused() != m_musicPaused) {
        m_musicPaused = m_clock.paused();
        m_music.setPaused(m_musicPaused);
    }
}

void PlayerHost::showTimeInTitle() {
    // The title says where the show is even with the overlay hidden, and lets a script that
    // drives the player by keys see what they did.
    char title[96];
    std::snprintf(title, sizeof title, "tarnelix-player %.1f s%s%s", m_clock.position(),
                  m_clock.paused() ? " paused" : "", m_clock.looping() ? " looping" : "");
    if (m_title != title) {
        m_title = title;
        SetWindowTextA(display.window, title);
    }
}

void PlayerHost::present() {
    followWithMusic();
    if (!m_drawing) {
        return; // stepped through, not drawn
    }
    const Clock::time_point now = Clock::now();
    const double frameSeconds = std::chrono::duration<double>(now - m_lastPresent).count();
    m_lastPresent = now;
    flyFreeCamera(frameSeconds);
    showTimeInTitle();
    m_overlay.draw(m_clock, m_controls, m_camera, m_engine, m_sceneInUse, frameSeconds,
                   display.width, display.height);
    display.present();
}

bool PlayerHost::queryFrequency(int64_t& ticksPerSecond) {
    ticksPerSecond = PlayerClock::kTicksPerSecond;
    m_clock.startCounter();
    return true;
}

bool PlayerHost::queryCounter(int64_t& ticks) {
    const Clock::time_point now = Clock::now();
    ticks = m_clock.readCounter(std::chrono::duration<double>(now - m_lastQuery).count());
    m_lastQuery = now;
    return true;
}

bool PlayerHost::drawsNextFrame() {
    m_drawing = m_clock.drawsNextFrame();
    return m_drawing;
}
