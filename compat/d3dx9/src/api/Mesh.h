#pragma once

#include <d3dx9.h>

#include <cstdint>
#include <vector>

namespace tarnelix::d3dx {

// The vertex layout of a mesh: the declaration (up to D3DDECL_END) and its stream-0 stride.
struct VertexLayout {
    std::vector<D3DVERTEXELEMENT9> elements;
    UINT stride = 0;

    // Reads a declaration; false for one without D3DDECL_END within MAXD3DDECLLENGTH elements,
    // with unknown types, or with no stream-0 elements.
    bool read(const D3DVERTEXELEMENT9* declaration);
    const D3DVERTEXELEMENT9* find(BYTE usage, BYTE usageIndex) const;
};

// Byte size of one element of a declaration type (0 for unknown types).
UINT declTypeSize(BYTE type);

class Mesh;

// Creates a mesh and its device buffers; refuses counts the index size cannot address.
HRESULT createMesh(DWORD faces, DWORD vertices, DWORD options, const VertexLayout& layout,
                   LPDIRECT3DDEVICE9 device, Mesh** mesh);

// The library's meshes are all of this class; the tangent computation reaches their data
// through it.
Mesh* asMesh(ID3DXMesh* mesh);

const VertexLayout& meshLayout(const Mesh& mesh);
bool meshIs32Bit(const Mesh& mesh);

// Locked views of a mesh's data that unlock on destruction; reuses a lock the caller holds.
class MeshData {
public:
    MeshData(Mesh& mesh, DWORD flags);
    ~MeshData();
    MeshData(const MeshData&) = delete;
    MeshData& operator=(const MeshData&) = delete;

    bool ok() const { return m_vertices != nullptr && m_indices != nullptr; }
    uint8_t* vertices() const { return m_vertices; }
    void* indices() const { return m_indices; }

private:
    Mesh& m_mesh;
    uint8_t* m_vertices = nullptr;
    void* m_indices = nullptr;
    bool m_lockedVertices = false;
    bool m_lockedIndices = false;
};

} // namespace tarnelix::d3dx
