#include "platform/Display.h"

#include "engine/core/Log.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr const char* kClassName = "Tarnelix";

const char* g_programName = "tarnelix";

void endProgram(const char* reason) {
    std::fprintf(stderr, "%s: %s\n", g_programName, reason);
    std::exit(1);
}

Display::FailureHandler g_failureHandler = endProgram;

} // namespace

void Display::setProgramName(const char* name) {
    g_programName = name ? name : "tarnelix";
}

void Display::setFailureHandler(FailureHandler handler) {
    g_failureHandler = handler ? handler : endProgram;
}

Display::Display() {
    direct3d = Direct3DCreate9(31);
}

Display::~Display() {
    releaseAll();
}

D3DFORMAT Display::formatForBits(int32_t bits) {
    return bits == 16 ? D3DFMT_R5G6B5 : D3DFMT_X8R8G8B8;
}

int32_t Display::modeCount(int32_t bits) {
    if (!direct3d) {
        return 0;
    }
    return static_cast<int32_t>(
        direct3d->GetAdapterModeCount(D3DADAPTER_DEFAULT, formatForBits(bits)));
}

namespace {

D3DDISPLAYMODE enumerate(IDirect3D9* direct3d, int32_t bits, int32_t index) {
    D3DDISPLAYMODE mode{};
    if (direct3d && index >= 0) {
        direct3d->EnumAdapterModes(D3DADAPTER_DEFAULT, Display::formatForBits(bits),
                                   static_cast<UINT>(index), &mode);
    }
    return mode;
}

} // namespace

int32_t Display::modeWidth(int32_t bits, int32_t index) {
    return static_cast<int32_t>(enumerate(direct3d, bits, index).Width);
}

int32_t Display::modeHeight(int32_t bits, int32_t index) {
    return static_cast<int32_t>(enumerate(direct3d, bits, index).Height);
}

int32_t Display::modeRefreshRate(int32_t bits, int32_t index) {
    return static_cast<int32_t>(enumerate(direct3d, bits, index).RefreshRate);
}

bool Display::create(int32_t width, int32_t height, bool fullscreen, int32_t bits,
                     int32_t refreshRate, int32_t samples) {
    windowClass = WNDCLASSA{};
    windowClass.style = 0;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    window = CreateWindowExA(0, kClassName, "Tarnelix", windowStyle, 0, 0, width, height, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window) {
        g_failureHandler("cannot open the window");
        return false;
    }
    if (shown) {
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
    }
    if (!direct3d) {
        g_failureHandler("Direct3D 9 is not available");
        return false;
    }
    D3DPRESENT_PARAMETERS parameters{};
    parameters.Windowed = TRUE;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.BackBufferFormat = D3DFMT_UNKNOWN;
    direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                           D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device);
    if (!device) {
        g_failureHandler("cannot create the Direct3D 9 device");
        return false;
    }
    setMode(width, height, fullscreen, bits, refreshRate, samples);
    return true;
}

D3DPRESENT_PARAMETERS Display::presentParameters(int32_t width, int32_t height, bool fullscreen,
                                                 int32_t bits, int32_t refreshRate,
                                                 int32_t samples) {
    D3DPRESENT_PARAMETERS parameters{};
    if (!fullscreen) {
        parameters.Windowed = TRUE;
        parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    } else {
        parameters.Windowed = FALSE;
        parameters.BackBufferCount = 1;
        parameters.BackBufferWidth = static_cast<UINT>(width);
        parameters.BackBufferHeight = static_cast<UINT>(height);
        parameters.FullScreen_RefreshRateInHz = static_cast<UINT>(refreshRate);
        parameters.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
    }
    switch (samples) {
    case 2:
        parameters.MultiSampleType = D3DMULTISAMPLE_2_SAMPLES;
        break;
    case 4:
        parameters.MultiSampleType = D3DMULTISAMPLE_4_SAMPLES;
        break;
    case 6:
        parameters.MultiSampleType = D3DMULTISAMPLE_6_SAMPLES;
        break;
    default:
        parameters.MultiSampleType = D3DMULTISAMPLE_NONE;
        break;
    }
    parameters.MultiSampleQuality = 0;
    parameters.BackBufferFormat = formatForBits(bits);
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = nullptr;
    parameters.Flags = 0;
    return parameters;
}

bool Display::setMode(int32_t width, int32_t height, bool fullscreen, int32_t bits,
                      int32_t refreshRate, int32_t samples) {
    Log::section(1, "Display Inicialize/Change");
    Log::write(1, "width: %d\n", width);
    Log::write(1, "height: %d\n", height);
    Log::write(1, "bits: %d\n", bits);
    Log::write(1, "fullscreen: %d\n", fullscreen ? 1 : 0);
    Log::write(1, "frequence: %d\n", refreshRate);
    Log::write(1, "samples: %d\n", samples);
    SetWindowPos(window, HWND_TOP, 0, 0, width, height, 0);
    D3DPRESENT_PARAMETERS parameters =
        presentParameters(width, height, fullscreen, bits, refreshRate, samples);
    if (!shown && parameters.Windowed) {
        // Nobody sees a hidden window's back buffer, only reads it back: it takes the mode's
        // size, not the client area's, which the caption makes smaller and the system may
        // have cut down to the screen.
        parameters.BackBufferWidth = static_cast<UINT>(width);
        parameters.BackBufferHeight = static_cast<UINT>(height);
    }
    if (!device || FAILED(device->Reset(&parameters))) {
        Log::write(1, "Failed to inicialize\n");
        return false;
    }
    Log::write(1, "Sucesseful\n");
    this->width = width;
    this->height = height;
    this->fullscreen = fullscreen;
    this->bits = bits;
    this->refreshRate = refreshRate;
    this->samples = samples;
    return true;
}

void Display::present() {
    if (device) {
        device->Present(nullptr, nullptr, nullptr, nullptr);
    }
}

void Display::releaseAll() {
    if (device) {
        device->Release();
        device = nullptr;
    }
    if (direct3d) {
        direct3d->Release();
        direct3d = nullptr;
    }
    if (window) {
        DestroyWindow(window);
        UnregisterClassA(kClassName, GetModuleHandleA(nullptr));
        window = nullptr;
    }
}

LRESULT CALLBACK Display::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            PostQuitMessage(0);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
