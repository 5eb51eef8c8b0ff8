#pragma once

#include <cstdint>

// A vertex of the full-screen quad: clip-space position and one texture coordinate pair
// (XYZ | TEX1).
struct ScreenQuadVertex {
    float x, y, z;
    float u, v;
};
static_assert(sizeof(ScreenQuadVertex) == 20, "the screen quad vertex is 20 bytes");

constexpr int kScreenQuadVertexCount = 6;
constexpr uint32_t kScreenQuadFvf = 0x102;

// Two triangles covering clip space, u = (x + 1) / 2 and v = (y + 1) / 2.
void fillScreenQuad(ScreenQuadVertex (&quad)[kScreenQuadVertexCount]);
