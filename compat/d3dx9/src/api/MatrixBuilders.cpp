#include <d3dx9math.h>

#include <cmath>

namespace {

D3DXVECTOR3 subtract(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return D3DXVECTOR3(a.x - b.x, a.y - b.y, a.z - b.z);
}

D3DXMATRIX* setZero(D3DXMATRIX* pOut) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            pOut->m[r][c] = 0.0f;
        }
    }
    return pOut;
}

// (x, y, z, w) x M.
D3DXVECTOR4 transform(const D3DXVECTOR3& v, float w, const D3DXMATRIX& m) {
    float out[4];
    for (int c = 0; c < 4; ++c) {
        out[c] = v.x * m.m[0][c] + v.y * m.m[1][c] + v.z * m.m[2][c] + w * m.m[3][c];
    }
    return D3DXVECTOR4(out);
}

// Rotation about a unit axis; with a coordinate axis the zero terms come out exactly zero.
D3DXMATRIX* rotation(D3DXMATRIX* pOut, const D3DXVECTOR3& axis, float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float t = 1.0f - c;
    const float x = axis.x, y = axis.y, z = axis.z;
    D3DXMatrixIdentity(pOut);
    pOut->m[0][0] = t * x * x + c;
    pOut->m[0][1] = t * x * y + s * z;
    pOut->m[0][2] = t * x * z - s * y;
    pOut->m[1][0] = t * x * y - s * z;
    pOut->m[1][1] = t * y * y + c;
    pOut->m[1][2] = t * y * z + s * x;
    pOut->m[2][0] = t * x * z + s * y;
    pOut->m[2][1] = t * y * z - s * x;
    pOut->m[2][2] = t * z * z + c;
    return pOut;
}

// The view matrix of both handednesses: only the direction of the view z axis differs.
D3DXMATRIX* view(D3DXMATRIX* pOut, const D3DXVECTOR3& eye, const D3DXVECTOR3& forward,
                 const D3DXVECTOR3& up) {
    D3DXVECTOR3 xAxis, yAxis, zAxis;
    D3DXVec3Normalize(&zAxis, &forward);
    D3DXVec3Cross(&xAxis, &up, &zAxis);
    D3DXVec3Normalize(&xAxis, &xAxis);
    D3DXVec3Cross(&yAxis, &zAxis, &xAxis);
    const D3DXVECTOR3 axes[3] = {xAxis, yAxis, zAxis};
    for (int c = 0; c < 3; ++c) {
        pOut->m[0][c] = axes[c].x;
        pOut->m[1][c] = axes[c].y;
        pOut->m[2][c] = axes[c].z;
        pOut->m[3][c] = -D3DXVec3Dot(&axes[c], &eye);
    }
    pOut->m[0][3] = pOut->m[1][3] = pOut->m[2][3] = 0.0f;
    pOut->m[3][3] = 1.0f;
    return pOut;
}

// handedness is +1 for left-handed (view z forward), -1 for right-handed.
D3DXMATRIX* perspective(D3DXMATRIX* pOut, float fovy, float aspect, float zn, float zf,
                        float handedness) {
    const float yScale = 1.0f / std::tan(fovy / 2.0f);
    setZero(pOut);
    pOut->m[0][0] = yScale / aspect;
    pOut->m[1][1] = yScale;
    pOut->m[2][2] = handedness * zf / (zf - zn);
    pOut->m[2][3] = handedness;
    pOut->m[3][2] = -zn * zf / (zf - zn);
    return pOut;
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

D3DXVECTOR3* WINAPI D3DXVec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV) {
    const float length = D3DXVec3Length(pV);
    if (!(length > 0.0f)) {
        *pOut = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
        return pOut;
    }
    *pOut = D3DXVECTOR3(pV->x / length, pV->y / length, pV->z / length);
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV,
                                           const D3DXMATRIX* pM) {
    const D3DXVECTOR4 row = transform(*pV, 1.0f, *pM);
    *pOut = D3DXVECTOR3(row.x / row.w, row.y / row.w, row.z / row.w);
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3TransformNormal(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV,
                                            const D3DXMATRIX* pM) {
    const D3DXVECTOR4 row = transform(*pV, 0.0f, *pM);
    *pOut = D3DXVECTOR3(row.x, row.y, row.z);
    return pOut;
}

D3DXVECTOR4* WINAPI D3DXVec3Transform(D3DXVECTOR4* pOut, const D3DXVECTOR3* pV,
                                      const D3DXMATRIX* pM) {
    *pOut = transform(*pV, 1.0f, *pM);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixIdentity(D3DXMATRIX* pOut) {
    setZero(pOut);
    for (int i = 0; i < 4; ++i) {
        pOut->m[i][i] = 1.0f;
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

// The adjugate over the determinant, both from the 2x2 minors of the upper and lower row pairs;
// in double so that well-conditioned matrices come back to float accuracy.
D3DXMATRIX* WINAPI D3DXMatrixInverse(D3DXMATRIX* pOut, FLOAT* pDeterminant, const D3DXMATRIX* pM) {
    double a[4][4];
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            a[r][c] = pM->m[r][c];
        }
    }
    const double s0 = a[0][0] * a[1][1] - a[1][0] * a[0][1];
    const double s1 = a[0][0] * a[1][2] - a[1][0] * a[0][2];
    const double s2 = a[0][0] * a[1][3] - a[1][0] * a[0][3];
    const double s3 = a[0][1] * a[1][2] - a[1][1] * a[0][2];
    const double s4 = a[0][1] * a[1][3] - a[1][1] * a[0][3];
    const double s5 = a[0][2] * a[1][3] - a[1][2] * a[0][3];
    const double c5 = a[2][2] * a[3][3] - a[3][2] * a[2][3];
    const double c4 = a[2][1] * a[3][3] - a[3][1] * a[2][3];
    const double c3 = a[2][1] * a[3][2] - a[3][1] * a[2][2];
    const double c2 = a[2][0] * a[3][3] - a[3][0] * a[2][3];
    const double c1 = a[2][0] * a[3][2] - a[3][0] * a[2][2];
    const double c0 = a[2][0] * a[3][1] - a[3][0] * a[2][1];
    const double det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    if (pDeterminant) {
        *pDeterminant = static_cast<float>(det);
    }
    if (det == 0.0 || !std::isfinite(det)) {
        return nullptr;
    }
    const double adjugate[4][4] = {
        {a[1][1] * c5 - a[1][2] * c4 + a[1][3] * c3, -a[0][1] * c5 + a[0][2] * c4 - a[0][3] * c3,
         a[3][1] * s5 - a[3][2] * s4 + a[3][3] * s3, -a[2][1] * s5 + a[2][2] * s4 - a[2][3] * s3},
        {-a[1][0] * c5 + a[1][2] * c2 - a[1][3] * c1, a[0][0] * c5 - a[0][2] * c2 + a[0][3] * c1,
         -a[3][0] * s5 + a[3][2] * s2 - a[3][3] * s1, a[2][0] * s5 - a[2][2] * s2 + a[2][3] * s1},
        {a[1][0] * c4 - a[1][1] * c2 + a[1][3] * c0, -a[0][0] * c4 + a[0][1] * c2 - a[0][3] * c0,
         a[3][0] * s4 - a[3][1] * s2 + a[3][3] * s0, -a[2][0] * s4 + a[2][1] * s2 - a[2][3] * s0},
        {-a[1][0] * c3 + a[1][1] * c1 - a[1][2] * c0, a[0][0] * c3 - a[0][1] * c1 + a[0][2] * c0,
         -a[3][0] * s3 + a[3][1] * s1 - a[3][2] * s0, a[2][0] * s3 - a[2][1] * s1 + a[2][2] * s0}};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            pOut->m[r][c] = static_cast<float>(adjugate[r][c] / det);
        }
    }
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z) {
    D3DXMatrixIdentity(pOut);
    pOut->m[3][0] = x;
    pOut->m[3][1] = y;
    pOut->m[3][2] = z;
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy, FLOAT sz) {
    D3DXMatrixIdentity(pOut);
    pOut->m[0][0] = sx;
    pOut->m[1][1] = sy;
    pOut->m[2][2] = sz;
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationX(D3DXMATRIX* pOut, FLOAT Angle) {
    return rotation(pOut, D3DXVECTOR3(1.0f, 0.0f, 0.0f), Angle);
}

D3DXMATRIX* WINAPI D3DXMatrixRotationY(D3DXMATRIX* pOut, FLOAT Angle) {
    return rotation(pOut, D3DXVECTOR3(0.0f, 1.0f, 0.0f), Angle);
}

D3DXMATRIX* WINAPI D3DXMatrixRotationZ(D3DXMATRIX* pOut, FLOAT Angle) {
    return rotation(pOut, D3DXVECTOR3(0.0f, 0.0f, 1.0f), Angle);
}

D3DXMATRIX* WINAPI D3DXMatrixRotationAxis(D3DXMATRIX* pOut, const D3DXVECTOR3* pV, FLOAT Angle) {
    D3DXVECTOR3 axis;
    return rotation(pOut, *D3DXVec3Normalize(&axis, pV), Angle);
}

D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye,
                                      const D3DXVECTOR3* pAt, const D3DXVECTOR3* pUp) {
    return view(pOut, *pEye, subtract(*pAt, *pEye), *pUp);
}

D3DXMATRIX* WINAPI D3DXMatrixLookAtRH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye,
                                      const D3DXVECTOR3* pAt, const D3DXVECTOR3* pUp) {
    return view(pOut, *pEye, subtract(*pEye, *pAt), *pUp);
}

D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT Aspect, FLOAT zn,
                                              FLOAT zf) {
    return perspective(pOut, fovy, Aspect, zn, zf, 1.0f);
}

D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovRH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT Aspect, FLOAT zn,
                                              FLOAT zf) {
    return perspective(pOut, fovy, Aspect, zn, zf, -1.0f);
}

D3DXMATRIX* WINAPI D3DXMatrixOrthoLH(D3DXMATRIX* pOut, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf) {
    D3DXMatrixIdentity(pOut);
    pOut->m[0][0] = 2.0f / w;
    pOut->m[1][1] = 2.0f / h;
    pOut->m[2][2] = 1.0f / (zf - zn);
    pOut->m[3][2] = zn / (zn - zf);
    return pOut;
}
