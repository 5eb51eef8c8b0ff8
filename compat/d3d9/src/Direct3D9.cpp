#include "Direct3D9.h"

#include "Device.h"
#include "Formats.h"
#include "HeapPolicy.h"

#include <tarnelix/Win32Window.h>

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

IDirect3D9* WINAPI Direct3DCreate9(UINT sdkVersion) {
    if (sdkVersion != D3D_SDK_VERSION && sdkVersion != D3D9b_SDK_VERSION) {
        std::fprintf(stderr, "tarnelix d3d9: SDK version %u is not supported\n", sdkVersion);
        return nullptr;
    }
    return new tarnelix::d3d9::Direct3D9();
}

namespace tarnelix::d3d9 {

namespace {

bool isDisplayFormat(D3DFORMAT format) {
    return format == D3DFMT_X8R8G8B8 || format == D3DFMT_R5G6B5;
}

D3DFORMAT desktopFormat() {
    return D3DFMT_X8R8G8B8;
}

} // namespace

std::vector<D3DDISPLAYMODE> Direct3D9::modes(D3DFORMAT format) {
    return displayModes(format);
}

std::vector<D3DDISPLAYMODE> displayModes(D3DFORMAT format) {
    std::vector<D3DDISPLAYMODE> list;
    if (!isDisplayFormat(format) || !ensureSdlVideo()) {
        return list;
    }
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(0, i, &mode) != 0 || mode.w <= 0 || mode.h <= 0) {
            continue;
        }
        // Every mode is offered in both depths: the GL back buffer has the asked format
        // whatever the desktop runs at.
        D3DDISPLAYMODE entry{static_cast<UINT>(mode.w), static_cast<UINT>(mode.h),
                             static_cast<UINT>(mode.refresh_rate > 0 ? mode.refresh_rate : 60),
                             format};
        bool known = std::any_of(list.begin(), list.end(), [&](const D3DDISPLAYMODE& m) {
            return m.Width == entry.Width && m.Height == entry.Height &&
                   m.RefreshRate == entry.RefreshRate;
        });
        if (!known) {
            list.push_back(entry);
        }
    }
    SDL_DisplayMode desktop{};
    if (list.empty() && SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > 0 &&
        desktop.h > 0) {
        // Some drivers (the offscreen one) list no usable mode: offer the desktop's.
        list.push_back(D3DDISPLAYMODE{
            static_cast<UINT>(desktop.w), static_cast<UINT>(desktop.h),
            static_cast<UINT>(desktop.refresh_rate > 0 ? desktop.refresh_rate : 60), format});
    }
    std::sort(list.begin(), list.end(), [](const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b) {
        if (a.Width != b.Width) {
            return a.Width < b.Width;
        }
        if (a.Height != b.Height) {
            return a.Height < b.Height;
        }
        return a.RefreshRate < b.RefreshRate;
    });
    return list;
}

HRESULT Direct3D9::RegisterSoftwareDevice(void*) {
    return D3DERR_NOTAVAILABLE;
}

UINT Direct3D9::GetAdapterCount() {
    return 1;
}

HRESULT Direct3D9::GetAdapterIdentifier(UINT adapter, DWORD, D3DADAPTER_IDENTIFIER9* identifier) {
    if (adapter != D3DADAPTER_DEFAULT || !identifier) {
        return D3DERR_INVALIDCALL;
    }
    std::memset(identifier, 0, sizeof(*identifier));
    if (renderer_.empty()) {
        std::snprintf(identifier->Driver, sizeof(identifier->Driver), "tarnelix-d3d9");
        std::snprintf(identifier->Description, sizeof(identifier->Description),
                      "Tarnelix Direct3D 9 on OpenGL");
    } else {
        std::snprintf(identifier->Driver, sizeof(identifier->Driver), "OpenGL %s",
                      version_.c_str());
        std::snprintf(identifier->Description, sizeof(identifier->Description), "%s",
                      renderer_.c_str());
    }
    std::snprintf(identifier->DeviceName, sizeof(identifier->DeviceName), "\\\\.\\DISPLAY1");
    return D3D_OK;
}

void Direct3D9::noteRenderer(const char* renderer, const char* version) {
    renderer_ = renderer ? renderer : "";
    version_ = version ? version : "";
}

UINT Direct3D9::GetAdapterModeCount(UINT adapter, D3DFORMAT format) {
    return adapter == D3DADAPTER_DEFAULT ? static_cast<UINT>(modes(format).size()) : 0;
}

HRESULT Direct3D9::EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode,
                                    D3DDISPLAYMODE* out) {
    if (adapter != D3DADAPTER_DEFAULT || !out) {
        return D3DERR_INVALIDCALL;
    }
    std::vector<D3DDISPLAYMODE> list = modes(format);
    if (mode >= list.size()) {
        return D3DERR_INVALIDCALL;
    }
    *out = list[mode];
    return D3D_OK;
}

HRESULT Direct3D9::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* out) {
    if (adapter != D3DADAPTER_DEFAULT || !out || !ensureSdlVideo()) {
        return D3DERR_INVALIDCALL;
    }
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        return D3DERR_NOTAVAILABLE;
    }
    out->Width = static_cast<UINT>(mode.w);
    out->Height = static_cast<UINT>(mode.h);
    out->RefreshRate = static_cast<UINT>(mode.refresh_rate > 0 ? mode.refresh_rate : 60);
    out->Format = desktopFormat();
    return D3D_OK;
}

HRESULT Direct3D9::CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                   D3DFORMAT backBufferFormat, BOOL) {
    if (adapter != D3DADAPTER_DEFAULT || type != D3DDEVTYPE_HAL) {
        return D3DERR_NOTAVAILABLE;
    }
    if (!isDisplayFormat(adapterFormat)) {
        return D3DERR_NOTAVAILABLE;
    }
    if (backBufferFormat != D3DFMT_UNKNOWN && !isDisplayFormat(backBufferFormat) &&
        backBufferFormat != D3DFMT_A8R8G8B8) {
        return D3DERR_NOTAVAILABLE;
    }
    return D3D_OK;
}

HRESULT Direct3D9::CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT, DWORD usage,
                                     D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) {
    if (adapter != D3DADAPTER_DEFAULT || type != D3DDEVTYPE_HAL) {
        return D3DERR_NOTAVAILABLE;
    }
    const FormatInfo* info = findFormat(checkFormat);
    if (!info) {
        return D3DERR_NOTAVAILABLE;
    }
    if ((usage & D3DUSAGE_DEPTHSTENCIL) && !info->depth) {
        return D3DERR_NOTAVAILABLE;
    }
    if ((usage & D3DUSAGE_RENDERTARGET) && (!info->renderable || info->depth)) {
        return D3DERR_NOTAVAILABLE;
    }
    if (info->depth && resourceType != D3DRTYPE_SURFACE) {
        return D3DERR_NOTAVAILABLE;
    }
    return D3D_OK;
}

HRESULT Direct3D9::CheckDeviceMultiSampleType(UINT, D3DDEVTYPE, D3DFORMAT, BOOL,
                                              D3DMULTISAMPLE_TYPE samples, DWORD* qualityLevels) {
    if (qualityLevels) {
        *qualityLevels = samples == D3DMULTISAMPLE_NONE ? 1 : 0;
    }
    return samples == D3DMULTISAMPLE_NONE ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT Direct3D9::CheckDepthStencilMatch(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT,
                                          D3DFORMAT depthStencilFormat) {
    const FormatInfo* info = findFormat(depthStencilFormat);
    return info && info->depth ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT Direct3D9::CheckDeviceFormatConversion(UINT, D3DDEVTYPE, D3DFORMAT source,
                                               D3DFORMAT target) {
    return source == target ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT Direct3D9::GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) {
    if (adapter != D3DADAPTER_DEFAULT || type != D3DDEVTYPE_HAL || !caps) {
        return D3DERR_INVALIDCALL;
    }
    fillCaps(*caps);
    return D3D_OK;
}

HMONITOR Direct3D9::GetAdapterMonitor(UINT) {
    return nullptr;
}

HRESULT Direct3D9::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow,
                                DWORD behaviorFlags, D3DPRESENT_PARAMETERS* parameters,
                                IDirect3DDevice9** device) {
    // The check starts with the device's context, but the GL calls that set the device up
    // belong to this call: it is named already.
    glcheck::enabled = glCheckRequested();
    TARNELIX_D3D9_CALL();
    if (!device) {
        return D3DERR_INVALIDCALL;
    }
    *device = nullptr;
    if (adapter != D3DADAPTER_DEFAULT || type != D3DDEVTYPE_HAL || !parameters) {
        return D3DERR_INVALIDCALL;
    }
    keepFreedHeapMemory();
    return Device::create(this, focusWindow, behaviorFlags, *parameters, device);
}

} // namespace tarnelix::d3d9
