#pragma once

#include "engine/core/Vec4.h"

// Row-major 4x4 matrix in Direct3D's row-vector convention: a point p transforms as p * M,
// translation sits in the fourth row and A * B applies A first, then B.
struct Matrix4 {
    float m[4][4];

    // Identity on construction.
    Matrix4();

    static Matrix4 identity() { return Matrix4(); }

    void setIdentity();

    Matrix4 operator*(const Matrix4& b) const;

    // Row vector times matrix, all four components, no division by w.
    Vec4 transform(const Vec4& v) const;

    // (m[0][c], m[1][c], m[2][c], m[3][c]).
    Vec4 column(int c) const;

    // Replaces the matrix by its inverse (adjugate over determinant). Fails, leaving the matrix
    // unchanged, when |determinant| < 0.0005.
    bool invert();

    const float* data() const { return &m[0][0]; }
};
