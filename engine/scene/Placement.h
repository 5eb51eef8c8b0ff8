#pragma once

#include "engine/core/Matrix4.h"

// Placement operations in the row-vector convention: both premultiply, so the operation applied
// last acts first on a vertex.

// M <- T(v) * M, where T(v) is the identity with its fourth row set to v.
void translate(Matrix4& m, const Vec4& v);

// M <- R(angle, axis) * M, with R the left-handed rotation about the normalised axis.
void rotateAxis(Matrix4& m, float angle, const Vec4& axis);

// R(angle, axis) * T(position) * start: rotate about the object's origin, move it to position,
// then apply start. The rotation is skipped for an axis of exactly (0, 0, 0).
Matrix4 placement(const Vec4& position, const Vec4& axis, float angle, const Matrix4& start);
