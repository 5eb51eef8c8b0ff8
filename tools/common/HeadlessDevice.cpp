#include "tools/common/HeadlessDevice.h"

#include <cstdlib>

namespace {

const char* const kWindowClass = "TarnelixHeadless";

LRESULT CALLBACK headlessWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

HeadlessDevice::HeadlessDevice(int width, int height) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = headlessWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);
    m_window = CreateWindowExA(0, kWindowClass, "headless", WS_CAPTION, 0, 0, width, height,
                               nullptr, nullptr, windowClass.hInstance, nullptr);
    if (m_window == nullptr) {
        m_error = "no window could be created";
        return;
    }
    m_d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (m_d3d == nullptr) {
        m_error = "Direct3DCreate9 failed";
        return;
    }
    D3DPRESENT_PARAMETERS present = {};
    present.BackBufferWidth = static_cast<UINT>(width);
    present.BackBufferHeight = static_cast<UINT>(height);
    present.BackBufferFormat = D3DFMT_X8R8G8B8;
    present.BackBufferCount = 1;
    present.SwapEffect = D3DSWAPEFFECT_DISCARD;
    present.hDeviceWindow = m_window;
    present.Windowed = TRUE;
    present.EnableAutoDepthStencil = TRUE;
    present.AutoDepthStencilFormat = D3DFMT_D24S8;
    present.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    if (FAILED(m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, m_window,
                                   D3DCREATE_HARDWARE_VERTEXPROCESSING, &present, &m_device))) {
        m_device = nullptr;
        m_error = "CreateDevice failed";
    }
}

HeadlessDevice::~HeadlessDevice() {
    if (m_device != nullptr) {
        m_device->Release();
    }
    if (m_d3d != nullptr) {
        m_d3d->Release();
    }
    if (m_window != nullptr) {
        DestroyWindow(m_window);
    }
    UnregisterClassA(kWindowClass, GetModuleHandleA(nullptr));
}
