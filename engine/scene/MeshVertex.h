#pragma once

#include <d3d9.h>

// The vertex of every scene mesh, laid out exactly as in the 3DF file so that vertices go from
// the file image into the vertex buffer in one copy.
struct MeshVertex {
    float position[3];
    float normal[3];
    float u, v;
    float tangent[3];
    float binormal[3];
};
static_assert(sizeof(MeshVertex) == 56, "MeshVertex must match the file's 56-byte vertex");

// The vertex declaration describing MeshVertex (stream 0).
extern const D3DVERTEXELEMENT9 kMeshVertexDeclaration[6];
