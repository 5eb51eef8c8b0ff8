#include <d3dx9math.h>

#include <cmath>

namespace {

D3DXVECTOR3 subtract(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return D3DXVECTOR3(a.x - b.x, a.y - b.y, a.z - b.z);
}

D3DXVECTOR3 cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return D3DXVECTOR3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

float dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// A zero vector stays zero rather than turning into NaNs.
D3DXVECTOR3 normalise(const D3DXVECTOR3& v) {
    const float length = std::sqrt(dot(v, v));
    if (!(length > 0.0f)) {
        return D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    }
    return D3DXVECTOR3(v.x / length, v.y / length, v.z / length);
}

} // namespace

D3DXMATRIX::D3DXMATRIX(const FLOAT* f) {
    for (int i = 0; i < 16; ++i) {
        m[i / 4][i % 4] = f[i];
    }
}

D3DXMATRIX D3DXMATRIX::operator*(const D3DXMATRIX& other) const {
    D3DXMATRIX out;
    D3DXMatrixMultiply(&out, this, &other);
    return out;
}

D3DXMATRIX* WINAPI D3DXMatrixIdentity(D3DXMATRIX* pOut) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            pOut->m[r][c] = r == c ? 1.0f : 0.0f;
        }
    }
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1,
                                      const D3DXMATRIX* pM2) {
    D3DXMATRIX product;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += pM1->m[r][k] * pM2->m[k][c];
            }
            product.m[r][c] = sum;
        }
    }
    *pOut = product; // pOut may alias an input
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM) {
    D3DXMATRIX t;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            t.m[r][c] = pM->m[c][r];
        }
    }
    *pOut = t;
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye,
                                      const D3DXVECTOR3* pAt, const D3DXVECTOR3* pUp) {
    const D3DXVECTOR3 zAxis = normalise(subtract(*pAt, *pEye));
    const D3DXVECTOR3 xAxis = normalise(cross(*pUp, zAxis));
    const D3DXVECTOR3 yAxis = cross(zAxis, xAxis);
    const D3DXVECTOR3 axes[3] = {xAxis, yAxis, zAxis};
    for (int c = 0; c < 3; ++c) {
        pOut->m[0][c] = axes[c].x;
        pOut->m[1][c] = axes[c].y;
        pOut->m[2][c] = axes[c].z;
        pOut->m[3][c] = -dot(axes[c], *pEye);
    }
    pOut->m[0][3] = pOut->m[1][3] = pOut->m[2][3] = 0.0f;
    pOut->m[3][3] = 1.0f;
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT Aspect, FLOAT zn,
                                              FLOAT zf) {
    const float yScale = 1.0f / std::tan(fovy / 2.0f);
    const float xScale = yScale / Aspect;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            pOut->m[r][c] = 0.0f;
        }
    }
    pOut->m[0][0] = xScale;
    pOut->m[1][1] = yScale;
    pOut->m[2][2] = zf / (zf - zn);
    pOut->m[2][3] = 1.0f;
    pOut->m[3][2] = -zn * zf / (zf - zn);
    return pOut;
}
