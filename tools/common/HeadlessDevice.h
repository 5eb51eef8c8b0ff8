#pragma once

#include <d3d9.h>
#include <windows.h>

// A Direct3D device on a hidden window, for tools and tests that draw or build device objects
// without a screen. Unless the caller chose a video driver, SDL's offscreen driver is used.
class HeadlessDevice {
public:
    explicit HeadlessDevice(int width = 64, int height = 64);
    ~HeadlessDevice();
    HeadlessDevice(const HeadlessDevice&) = delete;
    HeadlessDevice& operator=(const HeadlessDevice&) = delete;

    // Null when no device could be made; error() then says why.
    IDirect3DDevice9* device() const { return m_device; }
    const char* error() const { return m_error; }
    HWND window() const { return m_window; }

private:
    HWND m_window = nullptr;
    IDirect3D9* m_d3d = nullptr;
    IDirect3DDevice9* m_device = nullptr;
    const char* m_error = nullptr;
};
