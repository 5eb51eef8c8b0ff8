#pragma once

// The Direct3D object: the adapter's display modes (from SDL) and device creation.

#include "ComObject.h"

#include <string>
#include <vector>

namespace tarnelix::d3d9 {

class Direct3D9 : public ComObject<IDirect3D9> {
public:
    HRESULT STDMETHODCALLTYPE RegisterSoftwareDevice(void*) override;
    UINT STDMETHODCALLTYPE GetAdapterCount() override;
    HRESULT STDMETHODCALLTYPE GetAdapterIdentifier(UINT adapter, DWORD flags,
                                                   D3DADAPTER_IDENTIFIER9* identifier) override;
    UINT STDMETHODCALLTYPE GetAdapterModeCount(UINT adapter, D3DFORMAT format) override;
    HRESULT STDMETHODCALLTYPE EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode,
                                               D3DDISPLAYMODE* out) override;
    HRESULT STDMETHODCALLTYPE GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* out) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceType(UINT adapter, D3DDEVTYPE type,
                                              D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat,
                                              BOOL windowed) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceFormat(UINT adapter, D3DDEVTYPE type,
                                                D3DFORMAT adapterFormat, DWORD usage,
                                                D3DRESOURCETYPE resourceType,
                                                D3DFORMAT checkFormat) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE type,
                                                         D3DFORMAT format, BOOL windowed,
                                                         D3DMULTISAMPLE_TYPE samples,
                                                         DWORD* qualityLevels) override;
    HRESULT STDMETHODCALLTYPE CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type,
                                                     D3DFORMAT adapterFormat,
                                                     D3DFORMAT renderTargetFormat,
                                                     D3DFORMAT depthStencilFormat) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceFormatConversion(UINT adapter, D3DDEVTYPE type,
                                                          D3DFORMAT source,
                                                          D3DFORMAT target) override;
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) override;
    HMONITOR STDMETHODCALLTYPE GetAdapterMonitor(UINT adapter) override;
    HRESULT STDMETHODCALLTYPE CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow,
                                           DWORD behaviorFlags, D3DPRESENT_PARAMETERS* parameters,
                                           IDirect3DDevice9** device) override;

    // What the OpenGL context of a device made from this object names itself: the adapter's
    // description (GL_RENDERER, the card) and driver (GL_VERSION). The adapter is whatever GPU
    // or rasteriser the GL library picked, known only once a context exists.
    void noteRenderer(const char* renderer, const char* version);

private:
    // The distinct modes in a format, by size and then refresh rate, ascending.
    std::vector<D3DDISPLAYMODE> modes(D3DFORMAT format);

    std::string renderer_;
    std::string version_;
};

// The modes of the default adapter in a display format (empty for other formats).
std::vector<D3DDISPLAYMODE> displayModes(D3DFORMAT format);

// The capabilities this device offers (shared by the Direct3D object and the device).
void fillCaps(D3DCAPS9& caps);

} // namespace tarnelix::d3d9
