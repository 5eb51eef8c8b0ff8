#pragma once

// The values behind the generated programs' lighting, fog, point and clip-plane uniforms,
// worked out on the CPU from Direct3D's state once per change rather than per vertex.

#include "FixedFunction.h"

namespace tarnelix::d3d9 {

// A D3DCOLOR as red, green, blue and alpha from 0 to 1.
void colourOf(D3DCOLOR color, float out[4]);

// a x b, Direct3D's row-vector order.
void multiplyMatrices(const D3DMATRIX& a, const D3DMATRIX& b, D3DMATRIX& out);

// The inverse transpose of the upper 3 x 3 of a matrix, row by row (what normals are
// transformed by); zero where the matrix has no inverse.
void normalMatrix(const D3DMATRIX& m, float out[9]);

// One light as the programs read it, in camera space: position, direction (normalised, from the
// light), diffuse, specular, ambient, (attenuation 0, 1, 2, range), (cos theta/2, cos phi/2,
// falloff, 0).
void lightUniforms(const D3DLIGHT9& light, const D3DMATRIX& view, float out[kLightVectors][4]);

// A world-space plane as the plane of the same points in the space the world matrix maps from.
void objectSpacePlane(const D3DMATRIX& world, const float plane[4], float out[4]);

// A clip-space plane for positions that have had `position.xy = position.xy * fixup.xy +
// fixup.zw * position.w` applied (fixup.x and .y are +-1).
void fixedUpPlane(const float plane[4], const float fixup[4], float out[4]);

// start, end, density and 1 / (end - start) (0 where start and end meet).
void fogUniform(const DWORD* renderStates, float out[4]);

} // namespace tarnelix::d3d9
