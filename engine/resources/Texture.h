#pragma once

#include <cstdint>

struct IDirect3DTexture9;

// A 2D texture made from an image file, or empty when the file was missing or not an image.
// Binding an empty texture clears the stage, so drawing carries on without it.
class Texture {
public:
    Texture() = default;
    ~Texture() = default; // the owner releases the image: see release()
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Reads the file through the resource reader and creates the texture on the program's
    // device: sides rounded up to powers of two, a full mip chain, the image's own format
    // (with alpha only when the image has transparency), managed pool. Null when the texture
    // was made, else why not; the texture is empty then.
    const char* load(const char* fileName);

    // Puts the texture on a stage with its address modes (0 stands for wrap), then lets the
    // sampler filter settings reach the device if they changed.
    void bind(uint32_t stage, uint32_t addressU, uint32_t addressV) const;

    // Gives back the image; the texture is empty afterwards.
    void release();

    // Takes over one reference to an existing texture, replacing any image held.
    void adopt(IDirect3DTexture9* texture);

    IDirect3DTexture9* d3dTexture() const { return m_texture; }
    bool empty() const { return m_texture == nullptr; }

private:
    IDirect3DTexture9* m_texture = nullptr;
};
