#include "engine/render/ScreenQuad.h"

void fillScreenQuad(ScreenQuadVertex (&quad)[kScreenQuadVertexCount]) {
    static const float kCorners[kScreenQuadVertexCount][2] = {{-1, -1}, {-1, 1}, {1, -1},
                                                              {1, -1},  {-1, 1}, {1, 1}};
    for (int i = 0; i < kScreenQuadVertexCount; ++i) {
        const float x = kCorners[i][0];
        const float y = kCorners[i][1];
        quad[i] = ScreenQuadVertex{x, y, 0.0f, (x + 1.0f) / 2.0f, (y + 1.0f) / 2.0f};
    }
}
