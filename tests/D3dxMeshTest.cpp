#include "MemoryDevice.h"
#include "SceneVertex.h"

#include <d3dx9.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <set>

namespace {

using Vertex = SceneVertex;
const D3DVERTEXELEMENT9* const kDeclaration = kSceneVertexDeclaration;

// A side x side grid of quads in the z = 0 plane, two triangles each, u along x, v along -y.
struct Grid {
    std::vector<Vertex> vertices;
    std::vector<uint32_t> indices;
};

Grid grid(uint32_t side) {
    Grid g;
    for (uint32_t y = 0; y <= side; ++y) {
        for (uint32_t x = 0; x <= side; ++x) {
            Vertex v{};
            v.position[0] = float(x);
            v.position[1] = float(y);
            v.normal[2] = -1.0f;
            v.uv[0] = float(x) / side;
            v.uv[1] = 1.0f - float(y) / side;
            v.tangent[0] = 42.0f; // stale file bytes
            g.vertices.push_back(v);
        }
    }
    for (uint32_t y = 0; y < side; ++y) {
        for (uint32_t x = 0; x < side; ++x) {
            const uint32_t a = y * (side + 1) + x, b = a + 1, c = a + side + 1, d = c + 1;
            g.indices.insert(g.indices.end(), {a, c, b, b, c, d});
        }
    }
    return g;
}

class Meshes : public ::testing::Test {
protected:
    ~Meshes() override { device->Release(); }

    // Steps 4 to 7 of building an object's mesh: a 32-bit system-memory mesh filled from the
    // file's bytes, tangents computed while both buffers are locked.
    ID3DXMesh* build(const Grid& g) {
        ID3DXMesh* mesh = nullptr;
        EXPECT_EQ(D3DXCreateMesh(DWORD(g.indices.size() / 3), DWORD(g.vertices.size()),
                                 D3DXMESH_32BIT | D3DXMESH_SYSTEMMEM, kDeclaration, device, &mesh),
                  D3D_OK);
        void* vertices = nullptr;
        void* indices = nullptr;
        EXPECT_EQ(mesh->LockVertexBuffer(0, &vertices), D3D_OK);
        std::memcpy(vertices, g.vertices.data(), g.vertices.size() * sizeof(Vertex));
        EXPECT_EQ(mesh->LockIndexBuffer(0, &indices), D3D_OK);
        std::memcpy(indices, g.indices.data(), g.indices.size() * 4);
        EXPECT_EQ(D3DXComputeTangentFrameEx(mesh, D3DDECLUSAGE_TEXCOORD, 0, D3DDECLUSAGE_TANGENT, 0,
                                            D3DDECLUSAGE_BINORMAL, 0, D3DX_DEFAULT, 0, 0, nullptr,
                                            -1.01f, -0.01f, -1.01f, nullptr, nullptr),
                  D3D_OK);
        mesh->UnlockVertexBuffer();
        mesh->UnlockIndexBuffer();
        return mesh;
    }

    // Every face as its three vertex positions, in winding order from the smallest position.
    std::multiset<std::array<float, 9>> faces(ID3DXMesh* mesh) {
        std::multiset<std::array<float, 9>> result;
        void* vertices = nullptr;
        void* indices = nullptr;
        mesh->LockVertexBuffer(D3DLOCK_READONLY, &vertices);
        mesh->LockIndexBuffer(D3DLOCK_READONLY, &indices);
        const bool wide = (mesh->GetOptions() & D3DXMESH_32BIT) != 0;
        for (DWORD f = 0; f < mesh->GetNumFaces(); ++f) {
            std::array<uint32_t, 3> corner;
            for (int k = 0; k < 3; ++k) {
                corner[k] = wide ? static_cast<uint32_t*>(indices)[f * 3 + k]
                                 : static_cast<uint16_t*>(indices)[f * 3 + k];
            }
            std::array<std::array<float, 3>, 3> corners;
            for (int k = 0; k < 3; ++k) {
                const Vertex& v = static_cast<Vertex*>(vertices)[corner[k]];
                corners[k] = {v.position[0], v.position[1], v.position[2]};
            }
            std::rotate(corners.begin(), std::min_element(corners.begin(), corners.end()),
                        corners.end());
            std::array<float, 9> face;
            for (int k = 0; k < 3; ++k) {
                std::copy(corners[k].begin(), corners[k].end(), face.begin() + 3 * k);
            }
            result.insert(face);
        }
        mesh->UnlockVertexBuffer();
        mesh->UnlockIndexBuffer();
        return result;
    }

    MemoryDevice* device = new MemoryDevice;
};

} // namespace

TEST_F(Meshes, CreationRefusesEmptyOrUnaddressableMeshes) {
    ID3DXMesh* mesh = reinterpret_cast<ID3DXMesh*>(0x1);
    EXPECT_EQ(
        D3DXCreateMesh(0, 3, D3DXMESH_32BIT | D3DXMESH_SYSTEMMEM, kDeclaration, device, &mesh),
        D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateMesh(1, 70000, D3DXMESH_SYSTEMMEM, kDeclaration, device, &mesh),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateMesh(1, 3, D3DXMESH_SYSTEMMEM, kDeclaration, nullptr, &mesh),
              D3DERR_INVALIDCALL);
    const D3DVERTEXELEMENT9 unterminated[] = {
        {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
        {0, 0, D3DDECLTYPE_UNUSED, 0, 0, 0}};
    EXPECT_EQ(D3DXCreateMesh(1, 3, D3DXMESH_SYSTEMMEM, unterminated, device, &mesh),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(mesh, reinterpret_cast<ID3DXMesh*>(0x1));
}

TEST_F(Meshes, ASystemMemoryMeshHasTheAskedBuffersAndDeclaration) {
    ID3DXMesh* mesh = build(grid(1));
    EXPECT_EQ(mesh->GetNumFaces(), 2u);
    EXPECT_EQ(mesh->GetNumBytesPerVertex(), 56u);
    EXPECT_EQ(device->references, 1u); // the mesh does not keep the device alive
    ASSERT_EQ(device->vertexBuffers.size(), 1u);
    EXPECT_EQ(device->vertexBuffers[0]->pool, D3DPOOL_SYSTEMMEM);
    EXPECT_EQ(device->indexBuffers[0]->format, D3DFMT_INDEX32);
    EXPECT_EQ(device->indexBuffers[0]->bytes.size(), 24u);
    EXPECT_FALSE(device->vertexBuffers[0]->locked);
    mesh->Release();
}

TEST_F(Meshes, TangentFramesOverwriteTheFileBytes) {
    ID3DXMesh* mesh = build(grid(2));
    void* data = nullptr;
    mesh->LockVertexBuffer(D3DLOCK_READONLY, &data);
    for (DWORD i = 0; i < mesh->GetNumVertices(); ++i) {
        const Vertex& v = static_cast<Vertex*>(data)[i];
        EXPECT_NEAR(v.tangent[0], 1.0f, 1e-5f);
        EXPECT_NEAR(v.binormal[1], -1.0f, 1e-5f);
    }
    mesh->UnlockVertexBuffer();
    mesh->Release();
}

TEST_F(Meshes, OptimisationAndSixteenBitCloneKeepEveryTriangle) {
    ID3DXMesh* mesh = build(grid(12));
    const auto before = faces(mesh);

    ID3DXMesh* optimised = nullptr;
    std::vector<DWORD> faceRemap(mesh->GetNumFaces());
    ASSERT_EQ(mesh->Optimize(D3DXMESHOPT_VERTEXCACHE | D3DXMESH_SYSTEMMEM, nullptr, nullptr,
                             faceRemap.data(), nullptr, &optimised),
              D3D_OK);
    EXPECT_EQ(optimised->GetOptions() & D3DXMESH_32BIT, DWORD(D3DXMESH_32BIT));
    EXPECT_EQ(faces(optimised), before);
    std::vector<DWORD> sorted = faceRemap;
    std::sort(sorted.begin(), sorted.end());
    for (DWORD f = 0; f < sorted.size(); ++f) {
        EXPECT_EQ(sorted[f], f);
    }

    ID3DXMesh* clone = nullptr;
    ASSERT_EQ(optimised->CloneMesh(D3DXMESH_WRITEONLY, kDeclaration, device, &clone), D3D_OK);
    EXPECT_EQ(clone->GetOptions() & D3DXMESH_32BIT, 0u);
    MemoryIndexBuffer* indices = device->indexBuffers.back();
    EXPECT_EQ(indices->format, D3DFMT_INDEX16);
    EXPECT_EQ(indices->pool, D3DPOOL_DEFAULT);
    EXPECT_EQ(indices->usage & D3DUSAGE_WRITEONLY, DWORD(D3DUSAGE_WRITEONLY));
    EXPECT_EQ(device->vertexBuffers.back()->usage & D3DUSAGE_WRITEONLY, DWORD(D3DUSAGE_WRITEONLY));
    EXPECT_EQ(faces(clone), before);

    clone->DrawSubset(0);
    ASSERT_EQ(device->draws.size(), 1u);
    EXPECT_FALSE(device->draws[0].indexedFromMemory);
    EXPECT_EQ(device->draws[0].primitives, clone->GetNumFaces());
    EXPECT_EQ(device->draws[0].vertexCount, clone->GetNumVertices());
    EXPECT_EQ(device->draws[0].indices, indices);
    ASSERT_NE(device->draws[0].declaration, nullptr);
    EXPECT_EQ(static_cast<RecordedDeclaration*>(device->draws[0].declaration)->elements.size(), 5u);
    clone->DrawSubset(1); // no such subset: nothing drawn
    EXPECT_EQ(device->draws.size(), 1u);

    clone->Release();
    optimised->Release();
    mesh->Release();
}

TEST_F(Meshes, InPlaceOptimisationReordersTheSameMesh) {
    ID3DXMesh* mesh = build(grid(6));
    const auto before = faces(mesh);
    ID3DXBuffer* vertexRemap = nullptr;
    ASSERT_EQ(
        mesh->OptimizeInplace(D3DXMESHOPT_VERTEXCACHE, nullptr, nullptr, nullptr, &vertexRemap),
        D3D_OK);
    EXPECT_EQ(faces(mesh), before);
    ASSERT_NE(vertexRemap, nullptr);
    EXPECT_EQ(vertexRemap->GetBufferSize(), mesh->GetNumVertices() * 4);
    vertexRemap->Release();
    mesh->Release();
}

TEST_F(Meshes, ALargeMeshRefusesTheSixteenBitCloneAndStillDraws) {
    ID3DXMesh* mesh = build(grid(190)); // 36,481 vertices, 72,200 faces
    ID3DXMesh* clone = mesh;
    EXPECT_EQ(mesh->CloneMesh(D3DXMESH_WRITEONLY, kDeclaration, device, &clone),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(clone, mesh); // the caller's pointer is left alone
    device->draws.clear();
    mesh->DrawSubset(0);
    ASSERT_EQ(device->draws.size(), 1u);
    EXPECT_TRUE(device->draws[0].indexedFromMemory);
    EXPECT_EQ(device->draws[0].primitives, 72200u);
    mesh->Release();
}
