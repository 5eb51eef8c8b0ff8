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

// Two triangles covering clip space, u = (x + 1) / 2 and v = (y + 1) / 2: v grows up the
// screen, against the texture's rows, so every pass through this quad turns its source upside
// down. The glow's two blurs between its targets cancel out that way.
void fillScreenQuad(ScreenQuadVertex (&quad)[kScreenQuadVertexCount]);
// The same with v = (1 - y) / 2, keeping its source upright: for a third pass.
void fillUprightScreenQuad(ScreenQuadVertex (&quad)[kScreenQuadVertexCount]);
