#include "FixedUniforms.h"

#include <cmath>

namespace tarnelix::d3d9 {

void colourOf(D3DCOLOR color, float out[4]) {
    out[0] = ((color >> 16) & 0xFF) / 255.0f;
    out[1] = ((color >> 8) & 0xFF) / 255.0f;
    out[2] = (color & 0xFF) / 255.0f;
    out[3] = ((color >> 24) & 0xFF) / 255.0f;
}

void multiplyMatrices(const D3DMATRIX& a, const D3DMATRIX& b, D3DMATRIX& out) {
    D3DMATRIX result;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            result.m[r][c] = a.m[r][0] * b.m[0][c] + a.m[r][1] * b.m[1][c] + a.m[r][2] * b.m[2][c] +
                             a.m[r][3] * b.m[3][c];
        }
    }
    out = result;
}

void normalMatrix(const D3DMATRIX& m, float out[9]) {
    // The inverse transpose is the cofactor matrix over the determinant.
    auto at = [&](int r, int c) { return static_cast<double>(m.m[r][c]); };
    double cofactor[3][3];
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            int r0 = (r + 1) % 3;
            int r1 = (r + 2) % 3;
            int c0 = (c + 1) % 3;
            int c1 = (c + 2) % 3;
            cofactor[r][c] = at(r0, c0) * at(r1, c1) - at(r0, c1) * at(r1, c0);
        }
    }
    double determinant =
        at(0, 0) * cofactor[0][0] + at(0, 1) * cofactor[0][1] + at(0, 2) * cofactor[0][2];
    double scale = determinant != 0.0 ? 1.0 / determinant : 0.0;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            out[r * 3 + c] = static_cast<float>(cofactor[r][c] * scale);
        }
    }
}

void lightUniforms(const D3DLIGHT9& light, const D3DMATRIX& view, float out[kLightVectors][4]) {
    const D3DVECTOR& p = light.Position;
    const D3DVECTOR& d = light.Direction;
    float direction[3];
    for (int c = 0; c < 3; ++c) {
        out[0][c] = p.x * view.m[0][c] + p.y * view.m[1][c] + p.z * view.m[2][c] + view.m[3][c];
        direction[c] = d.x * view.m[0][c] + d.y * view.m[1][c] + d.z * view.m[2][c];
    }
    out[0][3] = 1.0f;
    float length = std::sqrt(direction[0] * direction[0] + direction[1] * direction[1] +
                             direction[2] * direction[2]);
    for (int c = 0; c < 3; ++c) {
        out[1][c] = length > 0.0f ? direction[c] / length : 0.0f;
    }
    out[1][3] = 0.0f;
    const D3DCOLORVALUE* colours[3] = {&light.Diffuse, &light.Specular, &light.Ambient};
    for (int i = 0; i < 3; ++i) {
        out[2 + i][0] = colours[i]->r;
        out[2 + i][1] = colours[i]->g;
        out[2 + i][2] = colours[i]->b;
        out[2 + i][3] = colours[i]->a;
    }
    out[5][0] = light.Attenuation0;
    out[5][1] = light.Attenuation1;
    out[5][2] = light.Attenuation2;
    out[5][3] = light.Range;
    out[6][0] = std::cos(light.Theta * 0.5f);
    out[6][1] = std::cos(light.Phi * 0.5f);
    out[6][2] = light.Falloff;
    out[6][3] = 0.0f;
}

void objectSpacePlane(const D3DMATRIX& world, const float plane[4], float out[4]) {
    // (v W) . P = v . (W P) for a row vector v.
    for (int r = 0; r < 4; ++r) {
        out[r] = world.m[r][0] * plane[0] + world.m[r][1] * plane[1] + world.m[r][2] * plane[2] +
                 world.m[r][3] * plane[3];
    }
}

void fixedUpPlane(const float plane[4], const float fixup[4], float out[4]) {
    // x = (x' - fixup.z w) / fixup.x, and the same for y.
    out[0] = plane[0] / fixup[0];
    out[1] = plane[1] / fixup[1];
    out[2] = plane[2];
    out[3] = plane[3] - plane[0] * fixup[2] / fixup[0] - plane[1] * fixup[3] / fixup[1];
}

void fogUniform(const DWORD* renderStates, float out[4]) {
    float start = floatOf(renderStates[D3DRS_FOGSTART]);
    float end = floatOf(renderStates[D3DRS_FOGEND]);
    out[0] = start;
    out[1] = end;
    out[2] = floatOf(renderStates[D3DRS_FOGDENSITY]);
    out[3] = end != start ? 1.0f / (end - start) : 0.0f;
}

} // namespace tarnelix::d3d9
