#pragma once

#include "engine/core/Matrix4.h"

#include <d3d9.h>

#include <cstring>

// Matrix4 and D3DMATRIX share one layout (16 row-major floats); copying keeps the two types
// from aliasing each other.
inline D3DMATRIX toDeviceMatrix(const Matrix4& matrix) {
    static_assert(sizeof(D3DMATRIX) == sizeof(matrix.m), "both are 16 row-major floats");
    D3DMATRIX result;
    std::memcpy(&result, matrix.m, sizeof matrix.m);
    return result;
}
