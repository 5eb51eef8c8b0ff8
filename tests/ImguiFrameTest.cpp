// One Dear ImGui frame drawn twice: by its own Direct3D 9 renderer (Debian's copy of
// imgui_impl_dx9.cpp, compiled unchanged) on the device, and by its OpenGL 3 renderer on plain
// GL. The Direct3D 9 renderer moves its vertices by half a pixel as Direct3D 9's rasterisation
// rules need; where the device follows those rules the two pictures agree.

#include "D3d9TestDevice.h"

#include <SDL.h>
#include <imgui.h>
#include <imgui_impl_dx9.h>
#include <imgui_impl_opengl3.h>
#include <tarnelix/Win32Window.h>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr float kClear[3] = {0.45f, 0.55f, 0.60f};

// The demo window where it opens by itself, and a window of plots and widgets beside it. Every
// frame gets the same inputs, so both renderers see the same draw lists; the third frame is the
// one compared (windows that size themselves settle in the first two).
ImDrawData* buildFrames() {
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.DisplaySize = ImVec2(static_cast<float>(kWidth), static_cast<float>(kHeight));
    for (int frame = 0; frame < 3; ++frame) {
        io.DeltaTime = 1.0f / 60.0f;
        ImGui::NewFrame();
        ImGui::ShowDemoWindow();
        ImGui::SetNextWindowPos(ImVec2(30, 30));
        ImGui::SetNextWindowSize(ImVec2(420, 560));
        ImGui::Begin("Plots");
        float wave[64];
        for (int i = 0; i < 64; ++i) {
            wave[i] = std::sin(i * 0.2f) * (1.0f - i / 80.0f);
        }
        ImGui::PlotLines("lines", wave, 64, 0, "a damped wave", -1.0f, 1.0f, ImVec2(0, 120));
        ImGui::PlotHistogram("histogram", wave, 64, 0, nullptr, -1.0f, 1.0f, ImVec2(0, 120));
        static float value = 0.37f;
        static bool ticked = true;
        ImGui::SliderFloat("slider", &value, 0.0f, 1.0f);
        ImGui::Checkbox("checkbox", &ticked);
        ImGui::ProgressBar(0.62f);
        ImGui::ColorButton("colour", ImVec4(0.9f, 0.3f, 0.2f, 1.0f));
        ImGui::GetWindowDrawList()->AddCircle(ImVec2(240, 520), 40.0f, IM_COL32(255, 200, 0, 255),
                                              48, 2.5f);
        ImGui::End();
        ImGui::Render();
    }
    return ImGui::GetDrawData();
}

// RGB rows top first, 0x00RRGGBB.
using Picture = std::vector<uint32_t>;

Picture drawWithOpenGl3() {
    // As the device starts SDL, with the GL library held for the whole run.
    if (!tarnelix::ensureSdlVideo()) {
        return {};
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_Window* window =
        SDL_CreateWindow("reference", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window) {
        return {};
    }
    SDL_GLContext context = SDL_GL_CreateContext(window);
    Picture picture;
    if (context) {
        ImGui::CreateContext();
        ImGui::StyleColorsDark();
        ImGui_ImplOpenGL3_Init("#version 330 core");
        ImGui_ImplOpenGL3_NewFrame();
        ImDrawData* frame = buildFrames();
        glViewport(0, 0, kWidth, kHeight);
        glClearColor(kClear[0], kClear[1], kClear[2], 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        ImGui_ImplOpenGL3_RenderDrawData(frame);
        std::vector<uint8_t> rows(static_cast<size_t>(kWidth) * kHeight * 4);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
        picture.resize(static_cast<size_t>(kWidth) * kHeight);
        for (int y = 0; y < kHeight; ++y) {
            const uint8_t* row = &rows[static_cast<size_t>(kHeight - 1 - y) * kWidth * 4];
            for (int x = 0; x < kWidth; ++x) {
                const uint8_t* p = row + x * 4;
                picture[static_cast<size_t>(y) * kWidth + x] = (p[0] << 16) | (p[1] << 8) | p[2];
            }
        }
        ImGui_ImplOpenGL3_Shutdown();
        ImGui::DestroyContext();
        SDL_GL_DeleteContext(context);
    }
    SDL_DestroyWindow(window);
    return picture;
}

Picture drawWithDirect3D9() {
    tarnelix::test::TestDevice test(kWidth, kHeight, D3DFMT_X8R8G8B8);
    if (!test.ok()) {
        return {};
    }
    ImGui::CreateContext();
    ImGui::StyleColorsDark();
    ImGui_ImplDX9_Init(test.device);
    ImGui_ImplDX9_NewFrame();
    ImDrawData* frame = buildFrames();
    auto channel = [](float c) { return static_cast<int>(c * 255.0f + 0.5f); };
    test.device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER,
                       D3DCOLOR_XRGB(channel(kClear[0]), channel(kClear[1]), channel(kClear[2])),
                       1.0f, 0);
    test.device->BeginScene();
    ImGui_ImplDX9_RenderDrawData(frame);
    test.device->EndScene();
    Picture picture = test.read();
    for (uint32_t& pixel : picture) {
        pixel &= 0xFFFFFF;
    }
    ImGui_ImplDX9_Shutdown();
    ImGui::DestroyContext();
    return picture;
}

double psnr(const Picture& a, const Picture& b) {
    double squares = 0.0;
    for (size_t i = 0; i < a.size(); ++i) {
        for (int shift = 0; shift < 24; shift += 8) {
            double d = static_cast<double>((a[i] >> shift) & 0xFF) - ((b[i] >> shift) & 0xFF);
            squares += d * d;
        }
    }
    double mean = squares / (static_cast<double>(a.size()) * 3.0);
    return mean == 0.0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mean);
}

TEST(ImguiFrame, Direct3D9RendererOnTheDeviceMatchesTheOpenGl3Renderer) {
    Picture reference = drawWithOpenGl3();
    ASSERT_EQ(reference.size(), static_cast<size_t>(kWidth) * kHeight) << SDL_GetError();
    Picture drawn = drawWithDirect3D9();
    ASSERT_EQ(drawn.size(), reference.size());
    size_t differing = 0;
    for (size_t i = 0; i < drawn.size(); ++i) {
        differing += drawn[i] != reference[i] ? 1 : 0;
    }
    double decibels = psnr(drawn, reference);
    std::printf("PSNR %.2f dB, %zu of %zu pixels differ\n", decibels, differing, drawn.size());
    EXPECT_GE(decibels, 40.0);
    // Something was drawn: the windows cover much of the picture.
    size_t clear = 0;
    uint32_t clearPixel = reference[static_cast<size_t>(kHeight - 1) * kWidth];
    for (uint32_t pixel : reference) {
        clear += pixel == clearPixel ? 1 : 0;
    }
    EXPECT_LT(clear, reference.size() * 3 / 4);
}

} // namespace
