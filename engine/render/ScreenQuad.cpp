#include "engine/render/ScreenQuad.h"

namespace {

void fillQuad(ScreenQuadVertex (&quad)[kScreenQuadVertexCount], bool upright) {
    static const float kCorners[kScreenQuadVertexCount][2] = {{-1, -1}, {-1, 1}, {1, -1},
                                                              {1, -1},  {-1, 1}, {1, 1}};
    for (int i = 0; i < kScreenQuadVertexCount; ++i) {
        const float x = kCorners[i][0];
        const float y = kCorners[i][1];
        const float v = upright ? (1.0f - y) / 2.0f : (y + 1.0f) / 2.0f;
        quad[i] = ScreenQuadVertex{x, y, 0.0f, (x + 1.0f) / 2.0f, v};
    }
}

} // namespace

void fillScreenQuad(ScreenQuadVertex (&quad)[kScreenQuadVertexCount]) {
    fillQuad(quad, false);
}

void fillUprightScreenQuad(ScreenQuadVertex (&quad)[kScreenQuadVertexCount]) {
    fillQuad(quad, true);
}
