#include "api/Buffer.h"
#include "api/Mesh.h"
#include "mesh/MeshCore.h"

#include <cstring>
#include <numeric>

namespace {

using namespace tarnelix::d3dx;

// A float element of the given usage, or null when the mesh lacks it or it has another type.
const D3DVERTEXELEMENT9* floatElement(const VertexLayout& layout, DWORD usage, DWORD index,
                                      BYTE type) {
    if (usage > 0xFF || index > 0xFF) {
        return nullptr;
    }
    const D3DVERTEXELEMENT9* e = layout.find(BYTE(usage), BYTE(index));
    return e != nullptr && e->Type == type ? e : nullptr;
}

} // namespace

HRESULT WINAPI D3DXComputeTangentFrameEx(
    ID3DXMesh* pMesh, DWORD dwTextureInSemantic, DWORD dwTextureInIndex,
    DWORD dwUPartialOutSemantic, DWORD dwUPartialOutIndex, DWORD dwVPartialOutSemantic,
    DWORD dwVPartialOutIndex, DWORD /*dwNormalOutSemantic*/, DWORD /*dwNormalOutIndex*/,
    DWORD /*dwOptions*/, const DWORD* /*pdwAdjacency*/, FLOAT /*fPartialEdgeThreshold*/,
    FLOAT /*fSingularPointThreshold*/, FLOAT /*fNormalEdgeThreshold*/, ID3DXMesh** ppMeshOut,
    ID3DXBuffer** ppVertexMapping) {
    if (pMesh == nullptr || dwTextureInSemantic != D3DDECLUSAGE_TEXCOORD) {
        return D3DERR_INVALIDCALL;
    }
    ID3DXMesh* target = pMesh;
    if (ppMeshOut != nullptr) {
        D3DVERTEXELEMENT9 declaration[MAX_FVF_DECL_SIZE];
        LPDIRECT3DDEVICE9 device = nullptr;
        pMesh->GetDeclaration(declaration);
        pMesh->GetDevice(&device);
        const HRESULT hr = pMesh->CloneMesh(pMesh->GetOptions(), declaration, device, &target);
        device->Release();
        if (FAILED(hr)) {
            return hr;
        }
    }
    Mesh& mesh = *asMesh(target);
    const VertexLayout& layout = meshLayout(mesh);
    const D3DVERTEXELEMENT9* position =
        floatElement(layout, D3DDECLUSAGE_POSITION, 0, D3DDECLTYPE_FLOAT3);
    const D3DVERTEXELEMENT9* normal =
        floatElement(layout, D3DDECLUSAGE_NORMAL, 0, D3DDECLTYPE_FLOAT3);
    const D3DVERTEXELEMENT9* texcoord =
        floatElement(layout, dwTextureInSemantic, dwTextureInIndex, D3DDECLTYPE_FLOAT2);
    const D3DVERTEXELEMENT9* tangent =
        floatElement(layout, dwUPartialOutSemantic, dwUPartialOutIndex, D3DDECLTYPE_FLOAT3);
    const D3DVERTEXELEMENT9* binormal =
        floatElement(layout, dwVPartialOutSemantic, dwVPartialOutIndex, D3DDECLTYPE_FLOAT3);
    const bool wantsTangent = dwUPartialOutSemantic != D3DX_DEFAULT;
    const bool wantsBinormal = dwVPartialOutSemantic != D3DX_DEFAULT;
    if (position == nullptr || normal == nullptr || texcoord == nullptr ||
        (wantsTangent && tangent == nullptr) || (wantsBinormal && binormal == nullptr)) {
        if (target != pMesh) {
            target->Release();
        }
        return D3DERR_INVALIDCALL;
    }
    {
        MeshData data(mesh, 0);
        if (!data.ok()) {
            if (target != pMesh) {
                target->Release();
            }
            return D3DERR_INVALIDCALL;
        }
        MeshView view{data.vertices(), target->GetNumVertices(), layout.stride,
                      data.indices(),  meshIs32Bit(mesh),        target->GetNumFaces()};
        // Outputs not asked for are written to a scratch copy so that the mesh keeps them.
        const UINT stride = layout.stride;
        std::vector<uint8_t> scratch;
        TangentLayout offsets{position->Offset, normal->Offset, texcoord->Offset,
                              wantsTangent ? tangent->Offset : stride,
                              wantsBinormal ? binormal->Offset : stride};
        if (!wantsTangent || !wantsBinormal) {
            const size_t bytes = size_t(view.vertexCount) * (stride + 24);
            scratch.assign(bytes, 0);
            for (uint32_t v = 0; v < view.vertexCount; ++v) {
                std::memcpy(&scratch[v * size_t(stride + 24)], data.vertices() + size_t(v) * stride,
                            stride);
            }
            view.vertices = scratch.data();
            view.stride = stride + 24;
            offsets.tangent = wantsTangent ? tangent->Offset : stride;
            offsets.binormal = wantsBinormal ? binormal->Offset : stride + 12;
        }
        computeTangentFrame(view, offsets);
        if (!scratch.empty()) {
            for (uint32_t v = 0; v < view.vertexCount; ++v) {
                std::memcpy(data.vertices() + size_t(v) * stride, &scratch[v * size_t(stride + 24)],
                            stride);
            }
        }
    }
    if (ppVertexMapping != nullptr) {
        std::vector<uint32_t> identity(target->GetNumVertices());
        std::iota(identity.begin(), identity.end(), 0u);
        *ppVertexMapping = makeBuffer(identity.data(), identity.size() * sizeof(uint32_t));
    }
    if (ppMeshOut != nullptr) {
        *ppMeshOut = target;
    }
    return D3D_OK;
}

HRESULT WINAPI D3DXComputeBoundingBox(const D3DXVECTOR3* pFirstPosition, DWORD NumVertices,
                                      DWORD dwStride, D3DXVECTOR3* pMin, D3DXVECTOR3* pMax) {
    if (pMin == nullptr || pMax == nullptr || dwStride < sizeof(float) * 3) {
        return D3DERR_INVALIDCALL;
    }
    float min[3], max[3];
    if (!computeBoundingBox(reinterpret_cast<const uint8_t*>(pFirstPosition), NumVertices, dwStride,
                            min, max)) {
        return D3DERR_INVALIDCALL;
    }
    *pMin = D3DXVECTOR3(min[0], min[1], min[2]);
    *pMax = D3DXVECTOR3(max[0], max[1], max[2]);
    return D3D_OK;
}
