#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarnelix::d3dx {

// A view of a mesh in plain memory: interleaved vertices and a triangle list of 16- or 32-bit
// indices. The algorithms below never read outside `vertexCount` vertices: faces that name a
// vertex beyond it are skipped.
struct MeshView {
    uint8_t* vertices = nullptr;
    uint32_t vertexCount = 0;
    uint32_t stride = 0;
    const void* indices = nullptr;
    bool indices32 = false;
    uint32_t faceCount = 0;

    uint32_t index(size_t i) const {
        return indices32 ? static_cast<const uint32_t*>(indices)[i]
                         : static_cast<const uint16_t*>(indices)[i];
    }
};

// Byte offsets of the vertex elements the tangent frame reads and writes.
struct TangentLayout {
    uint32_t position = 0;
    uint32_t normal = 0;
    uint32_t texcoord = 0;
    uint32_t tangent = 0;
    uint32_t binormal = 0;
};

// Tangent and binormal from the texture coordinates: the per-triangle derivatives of position
// by u and v, accumulated per vertex, made orthogonal to the normal and normalised. Mirrored
// coordinates keep their flipped binormal; degenerate coordinates give a finite frame
// perpendicular to the normal.
void computeTangentFrame(const MeshView& mesh, const TangentLayout& layout);

// Axis-aligned box of `count` positions (three floats) spaced `stride` bytes apart.
bool computeBoundingBox(const uint8_t* positions, uint32_t count, uint32_t stride, float min[3],
                        float max[3]);

// New orders for the vertex cache: `faceOrder[i]` is the old face drawn at position i, and
// `vertexOrder[i]` the old vertex stored at position i (first use of the reordered faces, then
// any unreferenced vertices, so none is lost). `newIndices` are the reordered faces with
// renumbered vertices. Faces naming out-of-range vertices are refused (false).
bool optimizeForVertexCache(const MeshView& mesh, std::vector<uint32_t>& faceOrder,
                            std::vector<uint32_t>& vertexOrder, std::vector<uint32_t>& newIndices);

} // namespace tarnelix::d3dx
