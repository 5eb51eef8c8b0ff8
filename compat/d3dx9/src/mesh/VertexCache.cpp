#include "mesh/MeshCore.h"

#include <meshoptimizer.h>

#include <algorithm>

namespace tarnelix::d3dx {

bool optimizeForVertexCache(const MeshView& mesh, std::vector<uint32_t>& faceOrder,
                            std::vector<uint32_t>& vertexOrder, std::vector<uint32_t>& newIndices) {
    const size_t indexCount = size_t(mesh.faceCount) * 3;
    std::vector<uint32_t> indices(indexCount);
    for (size_t i = 0; i < indexCount; ++i) {
        indices[i] = mesh.index(i);
        if (indices[i] >= mesh.vertexCount) {
            return false;
        }
    }
    std::vector<uint32_t> optimised(indexCount);
    meshopt_optimizeVertexCache(optimised.data(), indices.data(), indexCount, mesh.vertexCount);

    // The optimiser emits whole faces with their corners in the original order; recover which
    // old face each new one is through the faces listed by their first corner.
    std::vector<uint32_t> firstOffset(size_t(mesh.vertexCount) + 1, 0);
    for (uint32_t f = 0; f < mesh.faceCount; ++f) {
        ++firstOffset[indices[3 * size_t(f)] + 1];
    }
    for (size_t v = 0; v < mesh.vertexCount; ++v) {
        firstOffset[v + 1] += firstOffset[v];
    }
    std::vector<uint32_t> byFirst(mesh.faceCount);
    {
        std::vector<uint32_t> fill(firstOffset.begin(), firstOffset.end() - 1);
        for (uint32_t f = 0; f < mesh.faceCount; ++f) {
            byFirst[fill[indices[3 * size_t(f)]]++] = f;
        }
    }
    std::vector<bool> used(mesh.faceCount, false);
    faceOrder.assign(mesh.faceCount, 0);
    for (uint32_t f = 0; f < mesh.faceCount; ++f) {
        const uint32_t* face = &optimised[3 * size_t(f)];
        bool found = false;
        for (uint32_t k = firstOffset[face[0]]; k < firstOffset[face[0] + 1] && !found; ++k) {
            const uint32_t candidate = byFirst[k];
            const uint32_t* old = &indices[3 * size_t(candidate)];
            if (!used[candidate] && old[1] == face[1] && old[2] == face[2]) {
                used[candidate] = true;
                faceOrder[f] = candidate;
                found = true;
            }
        }
        if (!found) {
            return false; // the optimiser changed a face: refuse rather than guess
        }
    }

    // Vertices in order of first use by the reordered faces; unreferenced ones follow.
    std::vector<uint32_t> newNumber(mesh.vertexCount, UINT32_MAX);
    vertexOrder.clear();
    vertexOrder.reserve(mesh.vertexCount);
    newIndices.resize(indexCount);
    for (uint32_t f = 0; f < mesh.faceCount; ++f) {
        const uint32_t* old = &indices[3 * size_t(faceOrder[f])];
        for (int k = 0; k < 3; ++k) {
            uint32_t& n = newNumber[old[k]];
            if (n == UINT32_MAX) {
                n = static_cast<uint32_t>(vertexOrder.size());
                vertexOrder.push_back(old[k]);
            }
            newIndices[3 * size_t(f) + k] = n;
        }
    }
    for (uint32_t v = 0; v < mesh.vertexCount; ++v) {
        if (newNumber[v] == UINT32_MAX) {
            newNumber[v] = static_cast<uint32_t>(vertexOrder.size());
            vertexOrder.push_back(v);
        }
    }
    return true;
}

} // namespace tarnelix::d3dx
