#include "app/player/PlayerOverlay.h"

#include <algorithm>

#include "app/player/PlayerClock.h"
#include "app/player/PlayerControls.h"
#include "app/player/PlayerScene.h"

#include <imgui.h>

#include <cfloat>
#include <cstdio>

namespace {

constexpr size_t kMostReports = 8;
constexpr float kWidth = 440.0f;
// How quickly the frame time shown follows the real one: about half a second at 60 frames.
constexpr double kFrameSmoothing = 0.05;

} // namespace

PlayerOverlay::~PlayerOverlay() {
    m_renderer.release();
    if (m_context) {
        ImGui::DestroyContext(m_context);
    }
}

bool PlayerOverlay::init(IDirect3DDevice9* device) {
    m_context = ImGui::CreateContext();
    ImGui::SetCurrentContext(m_context);
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.BackendPlatformName = "tarnelix-win32";
    ImGui::StyleColorsDark();
    ImGui::GetStyle().Alpha = 0.9f;
    return m_renderer.init(device);
}

bool PlayerOverlay::handleMessage(const MSG& msg) {
    if (!m_context) {
        return false;
    }
    ImGuiIO& io = ImGui::GetIO();
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        io.MousePos = ImVec2(static_cast<float>(static_cast<short>(LOWORD(msg.lParam))),
                             static_cast<float>(static_cast<short>(HIWORD(msg.lParam))));
        if (msg.message == WM_LBUTTONDOWN) {
            io.MouseDown[0] = true;
            m_pressUnseen = true;
        } else if (msg.message == WM_LBUTTONUP) {
            // A click shorter than a frame: ImGui must see the button down for one frame, or
            // the click is lost.
            m_releasePending = m_pressUnseen;
            io.MouseDown[0] = m_pressUnseen;
        }
        break;
    default:
        return false;
    }
    return m_visible && io.WantCaptureMouse;
}

void PlayerOverlay::report(const std::string& file, const std::string& message, bool error) {
    for (auto it = m_reports.begin(); it != m_reports.end();) {
        it = it->file == file ? m_reports.erase(it) : it + 1;
    }
    m_reports.push_back({file, message, error});
    while (m_reports.size() > kMostReports) {
        m_reports.pop_front();
    }
}

void PlayerOverlay::draw(PlayerClock& clock, PlayerControls& controls, const CameraChoice& camera,
                         const RenderEngine& engine, const Scene* scene, double frameSeconds,
                         int width, int height) {
    if (!m_context) {
        return;
    }
    m_averageFrame = m_averageFrame == 0.0
                         ? frameSeconds
                         : m_averageFrame + (frameSeconds - m_averageFrame) * kFrameSmoothing;
    m_visible = controls.overlayVisible;
    if (!m_visible) {
        return;
    }
    ImGuiIO& io = ImGui::GetIO();
    io.DisplaySize = ImVec2(static_cast<float>(width), static_cast<float>(height));
    io.DeltaTime = frameSeconds > 0.0 ? static_cast<float>(frameSeconds) : 1.0f / 60.0f;
    ImGui::NewFrame();
    ImGui::SetNextWindowPos(ImVec2(8.0f, 8.0f), ImGuiCond_FirstUseEver);
    // As tall as what it says; compiler messages wrap at the window's width.
    ImGui::SetNextWindowSizeConstraints(ImVec2(kWidth, 0.0f), ImVec2(kWidth, FLT_MAX));
    ImGui::Begin("tarnelix-player", nullptr,
                 ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_AlwaysAutoResize);
    drawStatistics(engine);
    drawTimeline(clock);
    drawCameras(controls, camera, engine, scene);
    for (const Report& report : m_reports) {
        const ImVec4 colour =
            report.error ? ImVec4(1.0f, 0.45f, 0.4f, 1.0f) : ImVec4(0.6f, 0.9f, 0.6f, 1.0f);
        ImGui::PushStyleColor(ImGuiCol_Text, colour);
        ImGui::TextWrapped("%s: %s", report.file.c_str(), report.message.c_str());
        ImGui::PopStyleColor();
    }
    ImGui::End();
    ImGui::Render();
    m_renderer.render(*ImGui::GetDrawData());
    m_pressUnseen = false;
    if (m_releasePending) {
        m_releasePending = false;
        io.MouseDown[0] = false;
    }
}

void PlayerOverlay::drawStatistics(const RenderEngine& engine) {
    const double fps = m_averageFrame > 0.0 ? 1.0 / m_averageFrame : 0.0;
    ImGui::Text("%.2f ms  %.0f fps  %u triangles  %u draw calls", m_averageFrame * 1000.0, fps,
                engine.lastFrameStatistics.triangles, engine.lastFrameStatistics.drawCalls);
}

// A tick at the top and bottom of the slider where each segment after the first starts, where
// the slider's grab would stand for that time (Dear ImGui keeps the grab two pixels and half
// its width inside the frame).
void PlayerOverlay::markSegments(const PlayerClock& clock) {
    if (clock.length() <= 0.0) {
        return;
    }
    const ImVec2 low = ImGui::GetItemRectMin();
    const ImVec2 high = ImGui::GetItemRectMax();
    const float grab = ImGui::GetStyle().GrabMinSize;
    const float left = low.x + 2.0f + grab * 0.5f;
    const float width = std::max(0.0f, high.x - low.x - 4.0f - grab);
    const float tick = (high.y - low.y) * 0.3f;
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const ImU32 colour = ImGui::GetColorU32(ImGuiCol_Text);
    for (size_t i = 1; i < clock.segmentStarts().size(); ++i) {
        const float x =
            left + width * static_cast<float>(clock.segmentStarts()[i] / clock.length());
        draw->AddLine(ImVec2(x, low.y), ImVec2(x, low.y + tick), colour, 2.0f);
        draw->AddLine(ImVec2(x, high.y - tick), ImVec2(x, high.y), colour, 2.0f);
    }
}

void PlayerOverlay::drawTimeline(PlayerClock& clock) {
    if (!m_sliderHeld) {
        m_sliderTime = static_cast<float>(clock.position());
    }
    ImGui::SetNextItemWidth(-1.0f);
    ImGui::SliderFloat("##time", &m_sliderTime, 0.0f, static_cast<float>(clock.length()), "%.2f s");
    m_sliderHeld = ImGui::IsItemActive();
    markSegments(clock);
    // The show moves once the slider is let go: seeking back while dragging would replay the
    // show from its start at every step of the mouse.
    if (ImGui::IsItemDeactivatedAfterEdit()) {
        clock.seekTo(m_sliderTime);
    }
    if (ImGui::Button(clock.paused() ? "Play" : "Pause")) {
        clock.setPaused(!clock.paused());
    }
    ImGui::SameLine();
    ImGui::Text("segment %d", clock.segment() + 1);
    ImGui::SameLine();
    if (ImGui::Button("[ loop")) {
        clock.setLoop(clock.position(), clock.looping() ? clock.loopTo() : clock.length());
    }
    ImGui::SameLine();
    if (ImGui::Button("loop ]")) {
        clock.setLoop(clock.looping() ? clock.loopFrom() : 0.0, clock.position());
    }
    ImGui::SameLine();
    bool looping = clock.looping();
    if (ImGui::Checkbox("loop", &looping) && !looping) {
        clock.clearLoop();
    }
    if (clock.looping()) {
        ImGui::SameLine();
        ImGui::Text("%.2f - %.2f s", clock.loopFrom(), clock.loopTo());
    }
}

void PlayerOverlay::drawCameras(PlayerControls& controls, const CameraChoice& camera,
                                const RenderEngine& engine, const Scene* scene) {
    using Mode = CameraChoice::Mode;
    if (ImGui::RadioButton("script", camera.mode == Mode::Script)) {
        controls.chooseScript();
    }
    const int count = scene ? scene->cameras.count() : 0;
    for (int i = 0; i < count && i < 9; ++i) {
        const char* name = scene->cameras[i].name;
        ImGui::SameLine();
        ImGui::PushID(i);
        if (ImGui::RadioButton(name, camera.mode == Mode::Named && camera.name == name)) {
            controls.chooseNamed(name);
        }
        ImGui::PopID();
    }
    ImGui::SameLine();
    if (ImGui::RadioButton("free", camera.mode == Mode::Free)) {
        controls.chooseFree(engine.camera.eye(), engine.camera.target());
    }
}
