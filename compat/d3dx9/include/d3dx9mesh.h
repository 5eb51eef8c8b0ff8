#pragma once

#include "d3dx9core.h"
#include "d3dx9math.h"

enum _MAX_FVF_DECL_SIZE { MAX_FVF_DECL_SIZE = MAXD3DDECLLENGTH + 1 };

enum _D3DXMESH {
    D3DXMESH_32BIT = 0x001,
    D3DXMESH_DONOTCLIP = 0x002,
    D3DXMESH_POINTS = 0x004,
    D3DXMESH_RTPATCHES = 0x008,
    D3DXMESH_NPATCHES = 0x4000,
    D3DXMESH_VB_SYSTEMMEM = 0x010,
    D3DXMESH_VB_MANAGED = 0x020,
    D3DXMESH_VB_WRITEONLY = 0x040,
    D3DXMESH_VB_DYNAMIC = 0x080,
    D3DXMESH_VB_SOFTWAREPROCESSING = 0x8000,
    D3DXMESH_IB_SYSTEMMEM = 0x100,
    D3DXMESH_IB_MANAGED = 0x200,
    D3DXMESH_IB_WRITEONLY = 0x400,
    D3DXMESH_IB_DYNAMIC = 0x800,
    D3DXMESH_IB_SOFTWAREPROCESSING = 0x10000,
    D3DXMESH_VB_SHARE = 0x1000,
    D3DXMESH_USEHWONLY = 0x2000,
    D3DXMESH_SYSTEMMEM = 0x110,
    D3DXMESH_MANAGED = 0x220,
    D3DXMESH_WRITEONLY = 0x440,
    D3DXMESH_DYNAMIC = 0x880,
    D3DXMESH_SOFTWAREPROCESSING = 0x18000,
};

enum _D3DXMESHOPT {
    D3DXMESHOPT_COMPACT = 0x01000000,
    D3DXMESHOPT_ATTRSORT = 0x02000000,
    D3DXMESHOPT_VERTEXCACHE = 0x04000000,
    D3DXMESHOPT_STRIPREORDER = 0x08000000,
    D3DXMESHOPT_IGNOREVERTS = 0x10000000,
    D3DXMESHOPT_DONOTSPLIT = 0x20000000,
    D3DXMESHOPT_DEVICEINDEPENDENT = 0x00400000,
};

enum _D3DXTANGENT {
    D3DXTANGENT_WRAP_U = 0x01,
    D3DXTANGENT_WRAP_V = 0x02,
    D3DXTANGENT_WRAP_UV = 0x03,
    D3DXTANGENT_DONT_NORMALIZE_PARTIALS = 0x04,
    D3DXTANGENT_DONT_ORTHOGONALIZE = 0x08,
    D3DXTANGENT_ORTHOGONALIZE_FROM_V = 0x010,
    D3DXTANGENT_ORTHOGONALIZE_FROM_U = 0x020,
    D3DXTANGENT_WEIGHT_BY_AREA = 0x040,
    D3DXTANGENT_WEIGHT_EQUAL = 0x080,
    D3DXTANGENT_WIND_CW = 0x0100,
    D3DXTANGENT_CALCULATE_NORMALS = 0x0200,
    D3DXTANGENT_GENERATE_IN_PLACE = 0x0400,
};

typedef struct _D3DXATTRIBUTERANGE {
    DWORD AttribId;
    DWORD FaceStart;
    DWORD FaceCount;
    DWORD VertexStart;
    DWORD VertexCount;
} D3DXATTRIBUTERANGE, *LPD3DXATTRIBUTERANGE;

struct ID3DXMesh;
typedef ID3DXMesh *LPD3DXMESH, *PD3DXMESH;

struct ID3DXBaseMesh : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE DrawSubset(DWORD AttribId) = 0;
    virtual DWORD STDMETHODCALLTYPE GetNumFaces() = 0;
    virtual DWORD STDMETHODCALLTYPE GetNumVertices() = 0;
    virtual DWORD STDMETHODCALLTYPE GetFVF() = 0;
    virtual HRESULT STDMETHODCALLTYPE
    GetDeclaration(D3DVERTEXELEMENT9 Declaration[MAX_FVF_DECL_SIZE]) = 0;
    virtual DWORD STDMETHODCALLTYPE GetNumBytesPerVertex() = 0;
    virtual DWORD STDMETHODCALLTYPE GetOptions() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDevice(LPDIRECT3DDEVICE9* ppDevice) = 0;
    virtual HRESULT STDMETHODCALLTYPE CloneMeshFVF(DWORD Options, DWORD FVF,
                                                   LPDIRECT3DDEVICE9 pD3DDevice,
                                                   LPD3DXMESH* ppCloneMesh) = 0;
    virtual HRESULT STDMETHODCALLTYPE CloneMesh(DWORD Options,
                                                const D3DVERTEXELEMENT9* pDeclaration,
                                                LPDIRECT3DDEVICE9 pD3DDevice,
                                                LPD3DXMESH* ppCloneMesh) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVertexBuffer(LPDIRECT3DVERTEXBUFFER9* ppVB) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetIndexBuffer(LPDIRECT3DINDEXBUFFER9* ppIB) = 0;
    virtual HRESULT STDMETHODCALLTYPE LockVertexBuffer(DWORD Flags, LPVOID* ppData) = 0;
    virtual HRESULT STDMETHODCALLTYPE UnlockVertexBuffer() = 0;
    virtual HRESULT STDMETHODCALLTYPE LockIndexBuffer(DWORD Flags, LPVOID* ppData) = 0;
    virtual HRESULT STDMETHODCALLTYPE UnlockIndexBuffer() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAttributeTable(D3DXATTRIBUTERANGE* pAttribTable,
                                                        DWORD* pAttribTableSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE ConvertPointRepsToAdjacency(const DWORD* pPRep,
                                                                  DWORD* pAdjacency) = 0;
    virtual HRESULT STDMETHODCALLTYPE ConvertAdjacencyToPointReps(const DWORD* pAdjacency,
                                                                  DWORD* pPRep) = 0;
    virtual HRESULT STDMETHODCALLTYPE GenerateAdjacency(FLOAT Epsilon, DWORD* pAdjacency) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    UpdateSemantics(D3DVERTEXELEMENT9 Declaration[MAX_FVF_DECL_SIZE]) = 0;
};

// An indexed triangle list with one attribute (subset id) per face. Meshes whose buffers live
// in system memory can be read back and are drawn from client memory; 16-bit meshes hold at
// most 65,535 vertices and 65,535 faces.
struct ID3DXMesh : public ID3DXBaseMesh {
    virtual HRESULT STDMETHODCALLTYPE LockAttributeBuffer(DWORD Flags, DWORD** ppData) = 0;
    virtual HRESULT STDMETHODCALLTYPE UnlockAttributeBuffer() = 0;
    virtual HRESULT STDMETHODCALLTYPE Optimize(DWORD Flags, const DWORD* pAdjacencyIn,
                                               DWORD* pAdjacencyOut, DWORD* pFaceRemap,
                                               LPD3DXBUFFER* ppVertexRemap,
                                               LPD3DXMESH* ppOptMesh) = 0;
    virtual HRESULT STDMETHODCALLTYPE OptimizeInplace(DWORD Flags, const DWORD* pAdjacencyIn,
                                                      DWORD* pAdjacencyOut, DWORD* pFaceRemap,
                                                      LPD3DXBUFFER* ppVertexRemap) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetAttributeTable(const D3DXATTRIBUTERANGE* pAttribTable,
                                                        DWORD cAttribTableSize) = 0;
};

HRESULT WINAPI D3DXCreateMesh(DWORD NumFaces, DWORD NumVertices, DWORD Options,
                              const D3DVERTEXELEMENT9* pDeclaration, LPDIRECT3DDEVICE9 pD3DDevice,
                              LPD3DXMESH* ppMesh);

// Tangents and binormals from one texture-coordinate set, written into the mesh in place
// (ppMeshOut null) or into a copy. Adjacency and wrapping are not used.
HRESULT WINAPI D3DXComputeTangentFrameEx(ID3DXMesh* pMesh, DWORD dwTextureInSemantic,
                                         DWORD dwTextureInIndex, DWORD dwUPartialOutSemantic,
                                         DWORD dwUPartialOutIndex, DWORD dwVPartialOutSemantic,
                                         DWORD dwVPartialOutIndex, DWORD dwNormalOutSemantic,
                                         DWORD dwNormalOutIndex, DWORD dwOptions,
                                         const DWORD* pdwAdjacency, FLOAT fPartialEdgeThreshold,
                                         FLOAT fSingularPointThreshold, FLOAT fNormalEdgeThreshold,
                                         ID3DXMesh** ppMeshOut, ID3DXBuffer** ppVertexMapping);

HRESULT WINAPI D3DXComputeBoundingBox(const D3DXVECTOR3* pFirstPosition, DWORD NumVertices,
                                      DWORD dwStride, D3DXVECTOR3* pMin, D3DXVECTOR3* pMax);

UINT WINAPI D3DXGetDeclVertexSize(const D3DVERTEXELEMENT9* pDecl, DWORD Stream);
