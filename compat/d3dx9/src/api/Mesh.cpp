#include "api/Mesh.h"

#include "api/Buffer.h"
#include "api/RefCounted.h"
#include "mesh/MeshCore.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace tarnelix::d3dx {

UINT declTypeSize(BYTE type) {
    static const UINT sizes[] = {4, 8, 12, 16, 4, 4, 4, 8, 4, 4, 8, 4, 8, 4, 4, 4, 8};
    return type < sizeof sizes / sizeof sizes[0] ? sizes[type] : 0;
}

bool VertexLayout::read(const D3DVERTEXELEMENT9* declaration) {
    elements.clear();
    stride = 0;
    if (declaration == nullptr) {
        return false;
    }
    for (UINT i = 0; i < MAXD3DDECLLENGTH; ++i) {
        const D3DVERTEXELEMENT9& e = declaration[i];
        if (e.Stream == 0xFF) {
            return stride > 0;
        }
        const UINT size = declTypeSize(e.Type);
        if (size == 0 || e.Stream != 0) {
            return false;
        }
        elements.push_back(e);
        stride = std::max<UINT>(stride, e.Offset + size);
    }
    return false;
}

const D3DVERTEXELEMENT9* VertexLayout::find(BYTE usage, BYTE usageIndex) const {
    for (const D3DVERTEXELEMENT9& e : elements) {
        if (e.Usage == usage && e.UsageIndex == usageIndex) {
            return &e;
        }
    }
    return nullptr;
}

class Mesh : public RefCounted<ID3DXMesh> {
public:
    Mesh(DWORD faces, DWORD vertices, DWORD options, const VertexLayout& layout,
         LPDIRECT3DDEVICE9 device)
        : m_faces(faces), m_vertices(vertices), m_options(options), m_layout(layout),
          m_device(device), m_attributes(faces, 0) {}

    HRESULT createBuffers() {
        const uint64_t vertexBytes = uint64_t(m_vertices) * m_layout.stride;
        const uint64_t indexBytes = uint64_t(m_faces) * 3 * (is32Bit() ? 4 : 2);
        if (vertexBytes > UINT32_MAX || indexBytes > UINT32_MAX) {
            return E_OUTOFMEMORY;
        }
        HRESULT hr = m_device->CreateVertexBuffer(
            UINT(vertexBytes),
            usage(D3DXMESH_VB_WRITEONLY, D3DXMESH_VB_DYNAMIC, D3DXMESH_VB_SOFTWAREPROCESSING), 0,
            pool(D3DXMESH_VB_SYSTEMMEM, D3DXMESH_VB_MANAGED), &m_vertexBuffer, nullptr);
        if (FAILED(hr) || m_vertexBuffer == nullptr) {
            return FAILED(hr) ? hr : E_FAIL;
        }
        hr = m_device->CreateIndexBuffer(
            UINT(indexBytes),
            usage(D3DXMESH_IB_WRITEONLY, D3DXMESH_IB_DYNAMIC, D3DXMESH_IB_SOFTWAREPROCESSING),
            is32Bit() ? D3DFMT_INDEX32 : D3DFMT_INDEX16,
            pool(D3DXMESH_IB_SYSTEMMEM, D3DXMESH_IB_MANAGED), &m_indexBuffer, nullptr);
        if (FAILED(hr) || m_indexBuffer == nullptr) {
            return FAILED(hr) ? hr : E_FAIL;
        }
        std::vector<D3DVERTEXELEMENT9> declaration = m_layout.elements;
        declaration.push_back(D3DVERTEXELEMENT9 D3DDECL_END());
        hr = m_device->CreateVertexDeclaration(declaration.data(), &m_declaration);
        return FAILED(hr) ? hr : (m_declaration == nullptr ? E_FAIL : D3D_OK);
    }

    bool is32Bit() const { return (m_options & D3DXMESH_32BIT) != 0; }
    const VertexLayout& layout() const { return m_layout; }

    // --- ID3DXBaseMesh ---

    HRESULT STDMETHODCALLTYPE DrawSubset(DWORD AttribId) override {
        const std::vector<D3DXATTRIBUTERANGE>& runs = drawRuns();
        if (std::none_of(runs.begin(), runs.end(),
                         [&](const D3DXATTRIBUTERANGE& r) { return drawn(r, AttribId); })) {
            return D3D_OK;
        }
        m_device->SetVertexDeclaration(m_declaration);
        if (drawsFromMemory()) {
            return drawFromMemory(runs, AttribId);
        }
        m_device->SetStreamSource(0, m_vertexBuffer, 0, m_layout.stride);
        m_device->SetIndices(m_indexBuffer);
        HRESULT result = D3D_OK;
        for (const D3DXATTRIBUTERANGE& run : runs) {
            if (!drawn(run, AttribId)) {
                continue;
            }
            const HRESULT hr =
                m_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, run.VertexStart,
                                               run.VertexCount, run.FaceStart * 3, run.FaceCount);
            result = FAILED(hr) ? hr : result;
        }
        return result;
    }

    DWORD STDMETHODCALLTYPE GetNumFaces() override { return m_faces; }
    DWORD STDMETHODCALLTYPE GetNumVertices() override { return m_vertices; }
    DWORD STDMETHODCALLTYPE GetFVF() override { return 0; }
    HRESULT STDMETHODCALLTYPE
    GetDeclaration(D3DVERTEXELEMENT9 Declaration[MAX_FVF_DECL_SIZE]) override {
        if (Declaration == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        std::copy(m_layout.elements.begin(), m_layout.elements.end(), Declaration);
        Declaration[m_layout.elements.size()] = D3DVERTEXELEMENT9 D3DDECL_END();
        return D3D_OK;
    }
    DWORD STDMETHODCALLTYPE GetNumBytesPerVertex() override { return m_layout.stride; }
    DWORD STDMETHODCALLTYPE GetOptions() override { return m_options; }
    HRESULT STDMETHODCALLTYPE GetDevice(LPDIRECT3DDEVICE9* ppDevice) override {
        if (ppDevice == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        m_device->AddRef();
        *ppDevice = m_device;
        return D3D_OK;
    }

    HRESULT STDMETHODCALLTYPE CloneMeshFVF(DWORD, DWORD, LPDIRECT3DDEVICE9, LPD3DXMESH*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE CloneMesh(DWORD Options, const D3DVERTEXELEMENT9* pDeclaration,
                                        LPDIRECT3DDEVICE9 pD3DDevice,
                                        LPD3DXMESH* ppCloneMesh) override {
        VertexLayout layout;
        if (ppCloneMesh == nullptr || pD3DDevice == nullptr || !layout.read(pDeclaration)) {
            return D3DERR_INVALIDCALL;
        }
        std::vector<uint32_t> faceOrder(m_faces), vertexOrder(m_vertices);
        std::iota(faceOrder.begin(), faceOrder.end(), 0u);
        std::iota(vertexOrder.begin(), vertexOrder.end(), 0u);
        Mesh* clone = nullptr;
        const HRESULT hr = copyInto(Options, layout, pD3DDevice, faceOrder, vertexOrder, &clone);
        if (SUCCEEDED(hr)) {
            *ppCloneMesh = clone;
        }
        return hr;
    }

    HRESULT STDMETHODCALLTYPE GetVertexBuffer(LPDIRECT3DVERTEXBUFFER9* ppVB) override {
        if (ppVB == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        m_vertexBuffer->AddRef();
        *ppVB = m_vertexBuffer;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIndexBuffer(LPDIRECT3DINDEXBUFFER9* ppIB) override {
        if (ppIB == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        m_indexBuffer->AddRef();
        *ppIB = m_indexBuffer;
        return D3D_OK;
    }

    // Locks are counted so that the library's own work can run inside a caller's lock.
    HRESULT STDMETHODCALLTYPE LockVertexBuffer(DWORD Flags, LPVOID* ppData) override {
        if (ppData == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        if (m_vertexLocks == 0) {
            const HRESULT hr =
                m_vertexBuffer->Lock(0, 0, &m_vertexPointer, Flags & ~D3DLOCK_READONLY);
            if (FAILED(hr)) {
                return hr;
            }
        }
        ++m_vertexLocks;
        *ppData = m_vertexPointer;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE UnlockVertexBuffer() override {
        if (m_vertexLocks == 0) {
            return D3DERR_INVALIDCALL;
        }
        if (--m_vertexLocks == 0) {
            m_vertexPointer = nullptr;
            return m_vertexBuffer->Unlock();
        }
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE LockIndexBuffer(DWORD Flags, LPVOID* ppData) override {
        if (ppData == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        if (m_indexLocks == 0) {
            const HRESULT hr =
                m_indexBuffer->Lock(0, 0, &m_indexPointer, Flags & ~D3DLOCK_READONLY);
            if (FAILED(hr)) {
                return hr;
            }
        }
        ++m_indexLocks;
        *ppData = m_indexPointer;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE UnlockIndexBuffer() override {
        if (m_indexLocks == 0) {
            return D3DERR_INVALIDCALL;
        }
        if (--m_indexLocks == 0) {
            m_indexPointer = nullptr;
            return m_indexBuffer->Unlock();
        }
        return D3D_OK;
    }

    HRESULT STDMETHODCALLTYPE GetAttributeTable(D3DXATTRIBUTERANGE* pAttribTable,
                                                DWORD* pAttribTableSize) override {
        if (pAttribTableSize == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        *pAttribTableSize = static_cast<DWORD>(m_table.size());
        if (pAttribTable != nullptr) {
            std::copy(m_table.begin(), m_table.end(), pAttribTable);
        }
        return D3D_OK;
    }

    HRESULT STDMETHODCALLTYPE ConvertPointRepsToAdjacency(const DWORD*, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ConvertAdjacencyToPointReps(const DWORD*, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GenerateAdjacency(FLOAT, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE
    UpdateSemantics(D3DVERTEXELEMENT9 Declaration[MAX_FVF_DECL_SIZE]) override {
        VertexLayout layout;
        if (!layout.read(Declaration) || layout.stride != m_layout.stride) {
            return D3DERR_INVALIDCALL;
        }
        std::vector<D3DVERTEXELEMENT9> declaration = layout.elements;
        declaration.push_back(D3DVERTEXELEMENT9 D3DDECL_END());
        IDirect3DVertexDeclaration9* created = nullptr;
        const HRESULT hr = m_device->CreateVertexDeclaration(declaration.data(), &created);
        if (FAILED(hr) || created == nullptr) {
            return FAILED(hr) ? hr : E_FAIL;
        }
        m_declaration->Release();
        m_declaration = created;
        m_layout = layout;
        return D3D_OK;
    }

    // --- ID3DXMesh ---

    HRESULT STDMETHODCALLTYPE LockAttributeBuffer(DWORD, DWORD** ppData) override {
        if (ppData == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        *ppData = m_attributes.data();
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE UnlockAttributeBuffer() override {
        m_table.clear(); // ranges are recomputed from the attributes at the next draw
        m_scannedRunsValid = false;
        return D3D_OK;
    }

    HRESULT STDMETHODCALLTYPE Optimize(DWORD Flags, const DWORD*, DWORD* pAdjacencyOut,
                                       DWORD* pFaceRemap, LPD3DXBUFFER* ppVertexRemap,
                                       LPD3DXMESH* ppOptMesh) override {
        if (ppOptMesh == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        std::vector<uint32_t> faceOrder, vertexOrder;
        HRESULT hr = planOptimisation(Flags, faceOrder, vertexOrder);
        if (FAILED(hr)) {
            return hr;
        }
        // The index size stays the source's; the other mesh options come from the flags.
        const DWORD options =
            (Flags & 0x000FFFFFu & ~DWORD(D3DXMESH_32BIT)) | (m_options & D3DXMESH_32BIT);
        Mesh* result = nullptr;
        hr = copyInto(options, m_layout, m_device, faceOrder, vertexOrder, &result);
        if (FAILED(hr)) {
            return hr;
        }
        result->m_table = tableFor(result->m_attributes, result->m_faces, result->m_vertices);
        reportRemaps(faceOrder, vertexOrder, pAdjacencyOut, pFaceRemap, ppVertexRemap);
        *ppOptMesh = result;
        return D3D_OK;
    }

    HRESULT STDMETHODCALLTYPE OptimizeInplace(DWORD Flags, const DWORD*, DWORD* pAdjacencyOut,
                                              DWORD* pFaceRemap,
                                              LPD3DXBUFFER* ppVertexRemap) override {
        std::vector<uint32_t> faceOrder, vertexOrder;
        HRESULT hr = planOptimisation(Flags, faceOrder, vertexOrder);
        if (FAILED(hr)) {
            return hr;
        }
        hr = rewriteInPlace(faceOrder, vertexOrder);
        if (FAILED(hr)) {
            return hr;
        }
        m_table = tableFor(m_attributes, m_faces, m_vertices);
        reportRemaps(faceOrder, vertexOrder, pAdjacencyOut, pFaceRemap, ppVertexRemap);
        return D3D_OK;
    }

    HRESULT STDMETHODCALLTYPE SetAttributeTable(const D3DXATTRIBUTERANGE* pAttribTable,
                                                DWORD cAttribTableSize) override {
        if (pAttribTable == nullptr && cAttribTableSize > 0) {
            return D3DERR_INVALIDCALL;
        }
        for (DWORD i = 0; i < cAttribTableSize; ++i) {
            const D3DXATTRIBUTERANGE& r = pAttribTable[i];
            if (uint64_t(r.FaceStart) + r.FaceCount > m_faces ||
                uint64_t(r.VertexStart) + r.VertexCount > m_vertices) {
                return D3DERR_INVALIDCALL;
            }
        }
        m_table.assign(pAttribTable, pAttribTable + cAttribTableSize);
        return D3D_OK;
    }

private:
    friend class MeshData;

    ~Mesh() override {
        if (m_vertexLocks > 0) {
            m_vertexBuffer->Unlock();
        }
        if (m_indexLocks > 0) {
            m_indexBuffer->Unlock();
        }
        if (m_declaration != nullptr) {
            m_declaration->Release();
        }
        if (m_indexBuffer != nullptr) {
            m_indexBuffer->Release();
        }
        if (m_vertexBuffer != nullptr) {
            m_vertexBuffer->Release();
        }
    }

    DWORD usage(DWORD writeOnly, DWORD dynamic, DWORD software) const {
        DWORD u = 0;
        u |= (m_options & writeOnly) ? D3DUSAGE_WRITEONLY : 0;
        u |= (m_options & dynamic) ? D3DUSAGE_DYNAMIC : 0;
        u |= (m_options & software) ? D3DUSAGE_SOFTWAREPROCESSING : 0;
        return u;
    }

    D3DPOOL pool(DWORD systemMemory, DWORD managed) const {
        return (m_options & systemMemory) ? D3DPOOL_SYSTEMMEM
               : (m_options & managed)    ? D3DPOOL_MANAGED
                                          : D3DPOOL_DEFAULT;
    }

    // Buffers in system memory cannot be bound for drawing on Direct3D 9; such meshes (the
    // 32-bit fallback of large meshes among them) are drawn from client memory instead.
    bool drawsFromMemory() const {
        return (m_options & (D3DXMESH_VB_SYSTEMMEM | D3DXMESH_IB_SYSTEMMEM)) != 0;
    }

    HRESULT drawFromMemory(const std::vector<D3DXATTRIBUTERANGE>& runs, DWORD attribute) {
        MeshData data(*this, D3DLOCK_READONLY);
        if (!data.ok()) {
            return D3DERR_INVALIDCALL;
        }
        const UINT indexSize = is32Bit() ? 4 : 2;
        HRESULT result = D3D_OK;
        for (const D3DXATTRIBUTERANGE& run : runs) {
            if (!drawn(run, attribute)) {
                continue;
            }
            const HRESULT hr = m_device->DrawIndexedPrimitiveUP(
                D3DPT_TRIANGLELIST, 0, m_vertices, run.FaceCount,
                static_cast<const uint8_t*>(data.indices()) + size_t(run.FaceStart) * 3 * indexSize,
                is32Bit() ? D3DFMT_INDEX32 : D3DFMT_INDEX16, data.vertices(), m_layout.stride);
            result = FAILED(hr) ? hr : result;
        }
        return result;
    }

    static bool drawn(const D3DXATTRIBUTERANGE& run, DWORD attribute) {
        return run.AttribId == attribute && run.FaceCount > 0;
    }

    // The runs of consecutive faces that drawing walks: the attribute table when one was set or
    // computed, else runs found in the attribute buffer. Kept between draws until the table or
    // the attributes change, so a steady frame neither scans the faces nor allocates.
    const std::vector<D3DXATTRIBUTERANGE>& drawRuns() {
        if (!m_table.empty()) {
            return m_table;
        }
        if (!m_scannedRunsValid) {
            m_scannedRuns = tableFor(m_attributes, m_faces, m_vertices);
            m_scannedRunsValid = true;
        }
        return m_scannedRuns;
    }

    static std::vector<D3DXATTRIBUTERANGE> tableFor(const std::vector<DWORD>& attributes,
                                                    DWORD faces, DWORD vertices) {
        std::vector<D3DXATTRIBUTERANGE> table;
        for (DWORD f = 0; f < faces; ++f) {
            if (table.empty() || table.back().AttribId != attributes[f]) {
                table.push_back({attributes[f], f, 0, 0, vertices});
            }
            ++table.back().FaceCount;
        }
        return table;
    }

    HRESULT planOptimisation(DWORD flags, std::vector<uint32_t>& faceOrder,
                             std::vector<uint32_t>& vertexOrder) {
        MeshData data(*this, D3DLOCK_READONLY);
        if (!data.ok()) {
            return D3DERR_INVALIDCALL;
        }
        MeshView view{data.vertices(), m_vertices, m_layout.stride,
                      data.indices(),  is32Bit(),  m_faces};
        faceOrder.resize(m_faces);
        std::iota(faceOrder.begin(), faceOrder.end(), 0u);
        vertexOrder.resize(m_vertices);
        std::iota(vertexOrder.begin(), vertexOrder.end(), 0u);
        const bool uniform = std::all_of(m_attributes.begin(), m_attributes.end(),
                                         [&](DWORD a) { return a == m_attributes.front(); });
        if ((flags & (D3DXMESHOPT_VERTEXCACHE | D3DXMESHOPT_STRIPREORDER)) != 0 && uniform) {
            std::vector<uint32_t> newIndices;
            if (!optimizeForVertexCache(view, faceOrder, vertexOrder, newIndices)) {
                return D3DXERR_INVALIDMESH;
            }
        } else if (!uniform) {
            // Several subsets: faces are grouped by attribute, each group in its old order.
            std::stable_sort(faceOrder.begin(), faceOrder.end(), [&](uint32_t a, uint32_t b) {
                return m_attributes[a] < m_attributes[b];
            });
        }
        if ((flags & D3DXMESHOPT_IGNOREVERTS) != 0) {
            std::iota(vertexOrder.begin(), vertexOrder.end(), 0u);
        }
        return D3D_OK;
    }

    void reportRemaps(const std::vector<uint32_t>& faceOrder,
                      const std::vector<uint32_t>& vertexOrder, DWORD* adjacencyOut,
                      DWORD* faceRemap, LPD3DXBUFFER* vertexRemap) const {
        if (faceRemap != nullptr) {
            std::copy(faceOrder.begin(), faceOrder.end(), faceRemap);
        }
        if (adjacencyOut != nullptr) {
            std::fill(adjacencyOut, adjacencyOut + size_t(m_faces) * 3, 0xFFFFFFFFu);
        }
        if (vertexRemap != nullptr) {
            *vertexRemap = makeBuffer(vertexOrder.data(), vertexOrder.size() * sizeof(uint32_t));
        }
    }

    // A new mesh with the faces and vertices in the given orders, converted to `layout`.
    HRESULT copyInto(DWORD options, const VertexLayout& layout, LPDIRECT3DDEVICE9 device,
                     const std::vector<uint32_t>& faceOrder,
                     const std::vector<uint32_t>& vertexOrder, Mesh** out) {
        MeshData source(*this, D3DLOCK_READONLY);
        if (!source.ok()) {
            return D3DERR_INVALIDCALL;
        }
        Mesh* target = nullptr;
        HRESULT hr = createMesh(m_faces, m_vertices, options, layout, device, &target);
        if (FAILED(hr)) {
            return hr;
        }
        {
            MeshData destination(*target, 0);
            if (!destination.ok()) {
                target->Release();
                return D3DERR_INVALIDCALL;
            }
            copyVertices(source.vertices(), layout, destination.vertices(), vertexOrder);
            copyIndices(source.indices(), destination.indices(), target->is32Bit(), faceOrder,
                        vertexOrder);
        }
        for (DWORD f = 0; f < m_faces; ++f) {
            target->m_attributes[f] = m_attributes[faceOrder[f]];
        }
        *out = target;
        return D3D_OK;
    }

    HRESULT rewriteInPlace(const std::vector<uint32_t>& faceOrder,
                           const std::vector<uint32_t>& vertexOrder) {
        MeshData data(*this, 0);
        if (!data.ok()) {
            return D3DERR_INVALIDCALL;
        }
        const size_t vertexBytes = size_t(m_vertices) * m_layout.stride;
        const size_t indexBytes = size_t(m_faces) * 3 * (is32Bit() ? 4 : 2);
        std::vector<uint8_t> vertices(data.vertices(), data.vertices() + vertexBytes);
        std::vector<uint8_t> indices(static_cast<uint8_t*>(data.indices()),
                                     static_cast<uint8_t*>(data.indices()) + indexBytes);
        copyVertices(vertices.data(), m_layout, data.vertices(), vertexOrder);
        copyIndices(indices.data(), data.indices(), is32Bit(), faceOrder, vertexOrder);
        std::vector<DWORD> attributes = m_attributes;
        for (DWORD f = 0; f < m_faces; ++f) {
            m_attributes[f] = attributes[faceOrder[f]];
        }
        m_scannedRunsValid = false;
        return D3D_OK;
    }

    // Vertex i of the target is vertex vertexOrder[i] of this mesh; elements are matched by
    // usage and index, copied when their types agree and zeroed otherwise.
    void copyVertices(const uint8_t* source, const VertexLayout& layout, uint8_t* target,
                      const std::vector<uint32_t>& vertexOrder) const {
        const bool same =
            layout.stride == m_layout.stride &&
            layout.elements.size() == m_layout.elements.size() &&
            std::equal(layout.elements.begin(), layout.elements.end(), m_layout.elements.begin(),
                       [](const D3DVERTEXELEMENT9& a, const D3DVERTEXELEMENT9& b) {
                           return std::memcmp(&a, &b, sizeof a) == 0;
                       });
        for (size_t i = 0; i < vertexOrder.size(); ++i) {
            const uint8_t* from = source + size_t(vertexOrder[i]) * m_layout.stride;
            uint8_t* to = target + i * layout.stride;
            if (same) {
                std::memcpy(to, from, layout.stride);
                continue;
            }
            std::memset(to, 0, layout.stride);
            for (const D3DVERTEXELEMENT9& e : layout.elements) {
                const D3DVERTEXELEMENT9* match = m_layout.find(e.Usage, e.UsageIndex);
                if (match != nullptr && match->Type == e.Type) {
                    std::memcpy(to + e.Offset, from + match->Offset, declTypeSize(e.Type));
                }
            }
        }
    }

    void copyIndices(const void* source, void* target, bool target32,
                     const std::vector<uint32_t>& faceOrder,
                     const std::vector<uint32_t>& vertexOrder) const {
        std::vector<uint32_t> newNumber(m_vertices);
        for (uint32_t i = 0; i < vertexOrder.size(); ++i) {
            newNumber[vertexOrder[i]] = i;
        }
        for (size_t f = 0; f < faceOrder.size(); ++f) {
            for (size_t k = 0; k < 3; ++k) {
                const size_t from = size_t(faceOrder[f]) * 3 + k;
                uint32_t index = is32Bit() ? static_cast<const uint32_t*>(source)[from]
                                           : static_cast<const uint16_t*>(source)[from];
                index = index < m_vertices ? newNumber[index] : index;
                if (target32) {
                    static_cast<uint32_t*>(target)[f * 3 + k] = index;
                } else {
                    static_cast<uint16_t*>(target)[f * 3 + k] = static_cast<uint16_t>(index);
                }
            }
        }
    }

    DWORD m_faces;
    DWORD m_vertices;
    DWORD m_options;
    VertexLayout m_layout;
    // Not a counted reference: like the device's own objects, a mesh does not keep the device
    // alive, since at process end the display lets the device go before the scene's meshes.
    LPDIRECT3DDEVICE9 m_device;
    IDirect3DVertexBuffer9* m_vertexBuffer = nullptr;
    IDirect3DIndexBuffer9* m_indexBuffer = nullptr;
    IDirect3DVertexDeclaration9* m_declaration = nullptr;
    std::vector<DWORD> m_attributes;
    std::vector<D3DXATTRIBUTERANGE> m_table;
    std::vector<D3DXATTRIBUTERANGE> m_scannedRuns; // drawRuns() when there is no table
    bool m_scannedRunsValid = false;
    void* m_vertexPointer = nullptr;
    void* m_indexPointer = nullptr;
    UINT m_vertexLocks = 0;
    UINT m_indexLocks = 0;
};

HRESULT createMesh(DWORD faces, DWORD vertices, DWORD options, const VertexLayout& layout,
                   LPDIRECT3DDEVICE9 device, Mesh** mesh) {
    if (device == nullptr || mesh == nullptr || faces == 0 || vertices == 0) {
        return D3DERR_INVALIDCALL;
    }
    // 16-bit meshes: every vertex must be addressable and the face count fits 16 bits.
    if ((options & D3DXMESH_32BIT) == 0 && (vertices > 0xFFFF || faces > 0xFFFF)) {
        return D3DERR_INVALIDCALL;
    }
    Mesh* created = new Mesh(faces, vertices, options, layout, device);
    const HRESULT hr = created->createBuffers();
    if (FAILED(hr)) {
        created->Release();
        return hr;
    }
    *mesh = created;
    return D3D_OK;
}

Mesh* asMesh(ID3DXMesh* mesh) {
    return static_cast<Mesh*>(mesh);
}

const VertexLayout& meshLayout(const Mesh& mesh) {
    return mesh.layout();
}

bool meshIs32Bit(const Mesh& mesh) {
    return mesh.is32Bit();
}

MeshData::MeshData(Mesh& mesh, DWORD flags) : m_mesh(mesh) {
    void* vertices = nullptr;
    void* indices = nullptr;
    m_lockedVertices = SUCCEEDED(mesh.LockVertexBuffer(flags, &vertices));
    m_lockedIndices = SUCCEEDED(mesh.LockIndexBuffer(flags, &indices));
    if (m_lockedVertices && m_lockedIndices) {
        m_vertices = static_cast<uint8_t*>(vertices);
        m_indices = indices;
    }
}

MeshData::~MeshData() {
    if (m_lockedVertices) {
        m_mesh.UnlockVertexBuffer();
    }
    if (m_lockedIndices) {
        m_mesh.UnlockIndexBuffer();
    }
}

} // namespace tarnelix::d3dx

using namespace tarnelix::d3dx;

HRESULT WINAPI D3DXCreateMesh(DWORD NumFaces, DWORD NumVertices, DWORD Options,
                              const D3DVERTEXELEMENT9* pDeclaration, LPDIRECT3DDEVICE9 pD3DDevice,
                              LPD3DXMESH* ppMesh) {
    VertexLayout layout;
    if (ppMesh == nullptr || !layout.read(pDeclaration)) {
        return D3DERR_INVALIDCALL;
    }
    Mesh* mesh = nullptr;
    const HRESULT hr = createMesh(NumFaces, NumVertices, Options, layout, pD3DDevice, &mesh);
    if (SUCCEEDED(hr)) {
        *ppMesh = mesh;
    }
    return hr;
}

UINT WINAPI D3DXGetDeclVertexSize(const D3DVERTEXELEMENT9* pDecl, DWORD Stream) {
    UINT size = 0;
    for (UINT i = 0; pDecl != nullptr && i < MAXD3DDECLLENGTH && pDecl[i].Stream != 0xFF; ++i) {
        if (pDecl[i].Stream == Stream) {
            size = std::max<UINT>(size, pDecl[i].Offset + declTypeSize(pDecl[i].Type));
        }
    }
    return size;
}
