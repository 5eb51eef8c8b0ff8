#include "engine/scene/SceneObject.h"

#include "engine/core/Log.h"
#include "engine/resources/ResourceStream.h"
#include "engine/scene/MeshVertex.h"

#include <d3dx9.h>

#include <cstring>

const D3DVERTEXELEMENT9 kMeshVertexDeclaration[6] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
    {0, 24, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    {0, 32, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TANGENT, 0},
    {0, 44, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_BINORMAL, 0},
    D3DDECL_END(),
};

namespace {

// Every index must name a vertex of the block.
bool indicesValid(const uint8_t* indices, uint32_t count, uint32_t vertexCount) {
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t index;
        std::memcpy(&index, indices + 4 * static_cast<size_t>(i), 4);
        if (index >= vertexCount) {
            return false;
        }
    }
    return true;
}

// Keeps `next` in place of `mesh` when a step produced one.
void replaceWith(ID3DXMesh*& mesh, ID3DXMesh* next) {
    if (next != nullptr && next != mesh) {
        mesh->Release();
        mesh = next;
    }
}

} // namespace

bool SceneObject::buildMesh(ResourceStream& stream, IDirect3DDevice9* device) {
    Log::write(1, "mesh load:");
    const uint32_t start = stream.position();
    uint32_t counts[2] = {};
    if (!stream.read(counts, sizeof counts)) {
        return false;
    }
    const uint32_t vertexCount = counts[0];
    const uint32_t indexCount = counts[1];
    Log::write(1, "\tvertices: %d", static_cast<int>(vertexCount));
    Log::write(1, "\tfaces: %d", static_cast<int>(indexCount / 3));

    const uint64_t vertexBytes = uint64_t(sizeof(MeshVertex)) * vertexCount;
    const uint64_t indexBytes = uint64_t(4) * indexCount;
    const uint8_t* block = stream.data() + stream.position();
    if (vertexBytes + indexBytes > stream.remaining() || indexCount % 3 != 0 ||
        !indicesValid(block + vertexBytes, indexCount, vertexCount)) {
        stream.seek(start);
        return false;
    }
    stream.seek(stream.position() + static_cast<uint32_t>(vertexBytes + indexBytes));

    releaseMesh();
    // A block with no faces makes no mesh; its data has been stepped over.
    if (indexCount == 0 || vertexCount == 0 ||
        FAILED(D3DXCreateMesh(indexCount / 3, vertexCount, D3DXMESH_32BIT | D3DXMESH_SYSTEMMEM,
                              kMeshVertexDeclaration, device, &mesh))) {
        mesh = nullptr;
        return true;
    }

    void* vertices = nullptr;
    void* indices = nullptr;
    if (SUCCEEDED(mesh->LockVertexBuffer(0, &vertices)) &&
        SUCCEEDED(mesh->LockIndexBuffer(0, &indices))) {
        std::memcpy(vertices, block, static_cast<size_t>(vertexBytes));
        std::memcpy(indices, block + vertexBytes, static_cast<size_t>(indexBytes));
        mesh->UnlockIndexBuffer();
        mesh->UnlockVertexBuffer();
    }
    D3DXComputeTangentFrameEx(mesh, D3DDECLUSAGE_TEXCOORD, 0, D3DDECLUSAGE_TANGENT, 0,
                              D3DDECLUSAGE_BINORMAL, 0, D3DX_DEFAULT, 0, 0, nullptr, -1.01f, -0.01f,
                              -1.01f, nullptr, nullptr);

    if (SUCCEEDED(mesh->LockVertexBuffer(D3DLOCK_READONLY, &vertices))) {
        D3DXVECTOR3 low, high;
        D3DXComputeBoundingBox(static_cast<const D3DXVECTOR3*>(vertices), vertexCount,
                               sizeof(MeshVertex), &low, &high);
        boundsMin = Vec4(low.x, low.y, low.z, 1.0f);
        boundsMax = Vec4(high.x, high.y, high.z, 1.0f);
        mesh->UnlockVertexBuffer();
    }

    ID3DXMesh* optimised = nullptr;
    mesh->Optimize(D3DXMESHOPT_VERTEXCACHE | D3DXMESH_SYSTEMMEM, nullptr, nullptr, nullptr, nullptr,
                   &optimised);
    replaceWith(mesh, optimised);

    // Meshes too large for 16-bit indices stay in system memory with 32-bit indices.
    ID3DXMesh* clone = nullptr;
    mesh->CloneMesh(D3DXMESH_WRITEONLY, kMeshVertexDeclaration, device, &clone);
    replaceWith(mesh, clone);
    return true;
}
