#pragma once

struct ImDrawData;
struct IDirect3DDevice9;
struct IDirect3DTexture9;

// Draws Dear ImGui's output with the Direct3D 9 device, on top of whatever the back buffer
// holds: pre-transformed vertices, the font as a texture, one scissored draw per command.
// The states it changes are put back afterwards, so the next frame of the show starts from
// the device as the show left it.
class OverlayRenderer {
public:
    OverlayRenderer() = default;
    ~OverlayRenderer() { release(); }
    OverlayRenderer(const OverlayRenderer&) = delete;
    OverlayRenderer& operator=(const OverlayRenderer&) = delete;

    // Makes the font texture from the current ImGui context's atlas. False when the device
    // refuses it.
    bool init(IDirect3DDevice9* device);
    void release();
    void render(const ImDrawData& drawData);

private:
    IDirect3DDevice9* m_device = nullptr;
    IDirect3DTexture9* m_font = nullptr;
};
