#pragma once

#include <cstdint>
#include <vector>

struct IDirect3DDevice9;
struct IDirect3DSurface9;

// Reads the device's back buffer into system memory through the standard path: an offscreen
// plain surface, GetRenderTargetData and LockRect.
class FrameReader {
public:
    FrameReader(IDirect3DDevice9* device, int width, int height)
        : m_device(device), m_width(width), m_height(height) {}
    ~FrameReader();
    FrameReader(const FrameReader&) = delete;
    FrameReader& operator=(const FrameReader&) = delete;

    // The back buffer as RGB rows, top to bottom, tightly packed; null when it cannot be read.
    const uint8_t* read();

private:
    IDirect3DDevice9* m_device;
    int m_width;
    int m_height;
    IDirect3DSurface9* m_copy = nullptr;
    std::vector<uint8_t> m_rgb;
};

// X8R8G8B8 rows (blue, green, red, unused in memory) to tightly packed RGB.
void convertXrgbToRgb(const uint8_t* xrgb, int pitch, int width, int height, uint8_t* rgb);
