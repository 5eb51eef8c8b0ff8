#pragma once

#include "engine/core/GrowArray.h"
#include "engine/core/Vec4.h"

#include <cstdint>

class Texture;

// A flat textured rectangle drawn in screen space. Owned by whoever queues it; it must stay
// valid until the frame it was queued for has been drawn.
struct Sprite {
    Texture* texture = nullptr; // null draws with whatever stage 0 already holds
    int32_t blendMode = 0;      // see BlendMode.h
    Vec4 colour;
    Vec4 topLeft;     // x, y as fractions of the screen width and height
    Vec4 bottomRight; // likewise
};

// A pre-transformed vertex in screen pixels (XYZRHW | DIFFUSE | TEX1).
struct SpriteVertex {
    float x, y, z, rhw;
    uint32_t colour;
    float u, v;
};
static_assert(sizeof(SpriteVertex) == 28, "the sprite vertex is 28 bytes");

constexpr uint32_t kSpriteFvf = 0x144;
constexpr int kVerticesPerQuad = 6;

// Appends the six vertices of `sprite` on a screen of width x height pixels. Fractions map onto
// pixels 0 .. size - 1, so a sprite from 0 to 1 spans the first to the last pixel.
void appendSpriteVertices(GrowArray<SpriteVertex>& vertices, const Sprite& sprite, int width,
                          int height);
