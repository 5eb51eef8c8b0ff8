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

    // The optimiser reorders whole faces but may rotate a face's indices; recover which old
    // face each new one is by matching its corner set, rotating to the original order.
    faceOrder.assign(mesh.faceCount, 0);
    {
        std::vector<std::pair<uint64_t, uint32_t>> keys(mesh.faceCount);
        auto key = [](const uint32_t* f) {
            uint32_t a = f[0], b = f[1], c = f[2];
            if (a > b)
                std::swap(a, b);
            if (b > c)
                std::swap(b, c);
            if (a > b)
                std::swap(a, b);
            // Exact for up to 2^21 vertices; beyond that equal keys are compared in full below.
            return (uint64_t(a) << 42) ^ (uint64_t(b) << 21) ^ uint64_t(c);
        };
        for (uint32_t f = 0; f < mesh.faceCount; ++f) {
            keys[f] = {key(&indices[3 * size_t(f)]), f};
        }
        std::sort(keys.begin(), keys.end());
        std::vector<bool> used(mesh.faceCount, false);
        for (uint32_t f = 0; f < mesh.faceCount; ++f) {
            const uint32_t* face = &optimised[3 * size_t(f)];
            auto it =
                std::lower_bound(keys.begin(), keys.end(), std::make_pair(key(face), uint32_t(0)));
            for (; it != keys.end() && it->first == key(face); ++it) {
                const uint32_t* old = &indices[3 * size_t(it->second)];
                const bool same = std::is_permutation(old, old + 3, face);
                if (!used[it->second] && same) {
                    break;
                }
            }
            if (it == keys.end() || it->first != key(face)) {
                return false; // cannot happen: the optimiser only permutes faces
            }
            used[it->second] = true;
            faceOrder[f] = it->second;
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
