#pragma once

#include <d3d9.h>

// The scene meshes' 56-byte vertex and its declaration, as the extension library's tests feed
// them to the mesh functions (the engine's own copy lives above the library, out of reach).
struct SceneVertex {
    float position[3];
    float normal[3];
    float uv[2];
    float tangent[3];
    float binormal[3];
};
static_assert(sizeof(SceneVertex) == 56, "the scene's vertex layout");

inline const D3DVERTEXELEMENT9 kSceneVertexDeclaration[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
    {0, 24, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    {0, 32, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TANGENT, 0},
    {0, 44, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_BINORMAL, 0},
    D3DDECL_END()};
