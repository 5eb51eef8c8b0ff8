#include "api/ConstantTable.h"

#include "api/RefCounted.h"
#include "api/ScratchArray.h"

#include <algorithm>
#include <cstring>

namespace tarnelix::d3dx {
namespace {

// Stack room of the setters' scratch arrays: 64 registers of floats, 16 matrices.
constexpr size_t kScratchFloats = 256;
constexpr size_t kScratchMatrices = 16;

constexpr uint32_t kClassMatrixRows = D3DXPC_MATRIX_ROWS;
constexpr uint32_t kClassMatrixColumns = D3DXPC_MATRIX_COLUMNS;

class ConstantTable : public RefCounted<ID3DXConstantTable> {
public:
    explicit ConstantTable(const ShaderBlob& blob)
        : m_blob(blob), m_words(serializeShaderBlob(blob)) {}

    LPVOID STDMETHODCALLTYPE GetBufferPointer() override { return m_words.data(); }
    DWORD STDMETHODCALLTYPE GetBufferSize() override {
        return static_cast<DWORD>(m_words.size() * sizeof(uint32_t));
    }

    HRESULT STDMETHODCALLTYPE GetDesc(D3DXCONSTANTTABLE_DESC* pDesc) override {
        if (pDesc == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        pDesc->Creator = "Tarnelix HLSL compiler";
        const DWORD type = m_blob.stage == ShaderStage::Vertex ? 0xFFFE0000u : 0xFFFF0000u;
        pDesc->Version = type | (m_blob.versionMajor << 8) | m_blob.versionMinor;
        pDesc->Constants = static_cast<UINT>(m_blob.constants.size());
        return D3D_OK;
    }

    HRESULT STDMETHODCALLTYPE GetConstantDesc(D3DXHANDLE hConstant, D3DXCONSTANT_DESC* pDesc,
                                              UINT* pCount) override {
        const ShaderConstant* c = resolve(hConstant);
        if (c == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        if (pDesc != nullptr && (pCount == nullptr || *pCount >= 1)) {
            pDesc->Name = c->name.c_str();
            pDesc->RegisterSet = static_cast<D3DXREGISTER_SET>(c->set);
            pDesc->RegisterIndex = c->registerIndex;
            pDesc->RegisterCount = c->registerCount;
            pDesc->Class = static_cast<D3DXPARAMETER_CLASS>(c->parameterClass);
            pDesc->Type = static_cast<D3DXPARAMETER_TYPE>(c->parameterType);
            pDesc->Rows = c->rows;
            pDesc->Columns = c->columns;
            pDesc->Elements = c->elements;
            pDesc->StructMembers = 0;
            pDesc->Bytes =
                c->set == RegisterSet::Sampler ? 4 : 4 * c->rows * c->columns * c->elements;
            pDesc->DefaultValue = nullptr;
        }
        if (pCount != nullptr) {
            *pCount = 1;
        }
        return D3D_OK;
    }

    UINT STDMETHODCALLTYPE GetSamplerIndex(D3DXHANDLE hConstant) override {
        const ShaderConstant* c = resolve(hConstant);
        return c != nullptr && c->set == RegisterSet::Sampler ? c->registerIndex : UINT(-1);
    }

    D3DXHANDLE STDMETHODCALLTYPE GetConstant(D3DXHANDLE hConstant, UINT Index) override {
        if (hConstant != nullptr || Index >= m_blob.constants.size()) {
            return nullptr; // constants have no members here
        }
        return handleOf(m_blob.constants[Index]);
    }

    D3DXHANDLE STDMETHODCALLTYPE GetConstantByName(D3DXHANDLE hConstant, LPCSTR pName) override {
        if (hConstant != nullptr || pName == nullptr) {
            return nullptr;
        }
        for (const ShaderConstant& c : m_blob.constants) {
            if (c.name == pName) {
                return handleOf(c);
            }
        }
        return nullptr;
    }

    D3DXHANDLE STDMETHODCALLTYPE GetConstantElement(D3DXHANDLE hConstant, UINT Index) override {
        const ShaderConstant* c = resolve(hConstant);
        return c != nullptr && c->elements == 1 && Index == 0 ? hConstant : nullptr;
    }

    HRESULT STDMETHODCALLTYPE SetDefaults(LPDIRECT3DDEVICE9 pDevice) override {
        return pDevice != nullptr ? D3D_OK : D3DERR_INVALIDCALL; // no initialisers are kept
    }

    HRESULT STDMETHODCALLTYPE SetValue(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                       LPCVOID pData, UINT Bytes) override {
        if (pData == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        ScratchArray<float, kScratchFloats> values(Bytes / sizeof(float));
        std::memcpy(values.data(), pData, values.size() * sizeof(float));
        return setFloats(pDevice, resolve(hConstant), values.data(),
                         static_cast<UINT>(values.size()), false);
    }

    HRESULT STDMETHODCALLTYPE SetBool(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                      BOOL b) override {
        return SetBoolArray(pDevice, hConstant, &b, 1);
    }
    HRESULT STDMETHODCALLTYPE SetBoolArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                           const BOOL* pb, UINT Count) override {
        if (pb == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        ScratchArray<float, kScratchFloats> values(Count);
        for (UINT i = 0; i < Count; ++i) {
            values[i] = pb[i] ? 1.0f : 0.0f;
        }
        return setFloats(pDevice, resolve(hConstant), values.data(), Count, true);
    }
    HRESULT STDMETHODCALLTYPE SetInt(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                     INT n) override {
        return SetIntArray(pDevice, hConstant, &n, 1);
    }
    HRESULT STDMETHODCALLTYPE SetIntArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                          const INT* pn, UINT Count) override {
        if (pn == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        ScratchArray<float, kScratchFloats> values(Count);
        for (UINT i = 0; i < Count; ++i) {
            values[i] = static_cast<float>(pn[i]);
        }
        return setFloats(pDevice, resolve(hConstant), values.data(), Count, true);
    }
    HRESULT STDMETHODCALLTYPE SetFloat(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                       FLOAT f) override {
        return SetFloatArray(pDevice, hConstant, &f, 1);
    }
    HRESULT STDMETHODCALLTYPE SetFloatArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                            const FLOAT* pf, UINT Count) override {
        if (pf == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        return setFloats(pDevice, resolve(hConstant), pf, Count, true);
    }
    HRESULT STDMETHODCALLTYPE SetVector(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                        const D3DXVECTOR4* pVector) override {
        return SetVectorArray(pDevice, hConstant, pVector, 1);
    }
    HRESULT STDMETHODCALLTYPE SetVectorArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                             const D3DXVECTOR4* pVector, UINT Count) override {
        if (pVector == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        return setVectors(pDevice, resolve(hConstant), &pVector->x, Count);
    }
    HRESULT STDMETHODCALLTYPE SetMatrix(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                        const D3DXMATRIX* pMatrix) override {
        return SetMatrixArray(pDevice, hConstant, pMatrix, 1);
    }
    HRESULT STDMETHODCALLTYPE SetMatrixArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                             const D3DXMATRIX* pMatrix, UINT Count) override {
        ScratchArray<const D3DXMATRIX*, kScratchMatrices> pointers(Count);
        for (UINT i = 0; pMatrix != nullptr && i < Count; ++i) {
            pointers[i] = pMatrix + i;
        }
        return setMatrices(pDevice, resolve(hConstant), pMatrix ? pointers.data() : nullptr, Count,
                           false);
    }
    HRESULT STDMETHODCALLTYPE SetMatrixPointerArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                                    const D3DXMATRIX** ppMatrix,
                                                    UINT Count) override {
        return setMatrices(pDevice, resolve(hConstant), ppMatrix, Count, false);
    }
    HRESULT STDMETHODCALLTYPE SetMatrixTranspose(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                                 const D3DXMATRIX* pMatrix) override {
        return SetMatrixTransposeArray(pDevice, hConstant, pMatrix, 1);
    }
    HRESULT STDMETHODCALLTYPE SetMatrixTransposeArray(LPDIRECT3DDEVICE9 pDevice,
                                                      D3DXHANDLE hConstant,
                                                      const D3DXMATRIX* pMatrix,
                                                      UINT Count) override {
        ScratchArray<const D3DXMATRIX*, kScratchMatrices> pointers(Count);
        for (UINT i = 0; pMatrix != nullptr && i < Count; ++i) {
            pointers[i] = pMatrix + i;
        }
        return setMatrices(pDevice, resolve(hConstant), pMatrix ? pointers.data() : nullptr, Count,
                           true);
    }
    HRESULT STDMETHODCALLTYPE SetMatrixTransposePointerArray(LPDIRECT3DDEVICE9 pDevice,
                                                             D3DXHANDLE hConstant,
                                                             const D3DXMATRIX** ppMatrix,
                                                             UINT Count) override {
        return setMatrices(pDevice, resolve(hConstant), ppMatrix, Count, true);
    }

private:
    D3DXHANDLE handleOf(const ShaderConstant& c) const { return reinterpret_cast<D3DXHANDLE>(&c); }

    // A handle is either one this table gave out or, as the real library allows, a name.
    const ShaderConstant* resolve(D3DXHANDLE handle) const {
        if (handle == nullptr) {
            return nullptr;
        }
        for (const ShaderConstant& c : m_blob.constants) {
            if (handle == handleOf(c)) {
                return &c;
            }
        }
        for (const ShaderConstant& c : m_blob.constants) {
            if (c.name == handle) {
                return &c;
            }
        }
        return nullptr;
    }

    bool vertex() const { return m_blob.stage == ShaderStage::Vertex; }

    HRESULT writeFloat4(LPDIRECT3DDEVICE9 device, UINT start, const float* data, UINT count) const {
        return vertex() ? device->SetVertexShaderConstantF(start, data, count)
                        : device->SetPixelShaderConstantF(start, data, count);
    }

    HRESULT writeBools(LPDIRECT3DDEVICE9 device, UINT start, const BOOL* data, UINT count) const {
        return vertex() ? device->SetVertexShaderConstantB(start, data, count)
                        : device->SetPixelShaderConstantB(start, data, count);
    }

    // Writes a run of values into the constant's registers. Packed (SetFloat and friends): the
    // values fill each register's `columns` components in turn, the rest stay zero. Unpacked
    // (vectors): four values per register.
    HRESULT setFloats(LPDIRECT3DDEVICE9 device, const ShaderConstant* c, const float* values,
                      UINT count, bool packed) const {
        if (device == nullptr || c == nullptr || c->set == RegisterSet::Sampler ||
            c->set == RegisterSet::Int4) {
            return D3DERR_INVALIDCALL;
        }
        if (c->set == RegisterSet::Bool) {
            const UINT n = std::min<UINT>(count, c->registerCount);
            ScratchArray<BOOL, kScratchFloats> bools(n);
            for (UINT i = 0; i < n; ++i) {
                bools[i] = values[i] != 0.0f ? TRUE : FALSE;
            }
            return n == 0 ? D3D_OK : writeBools(device, c->registerIndex, bools.data(), n);
        }
        const UINT perRegister = packed ? std::max<UINT>(1, std::min<UINT>(4, c->columns)) : 4;
        const UINT registers =
            std::min<UINT>(c->registerCount, (count + perRegister - 1) / perRegister);
        ScratchArray<float, kScratchFloats> data(size_t(registers) * 4);
        for (UINT r = 0; r < registers; ++r) {
            for (UINT k = 0; k < perRegister && r * perRegister + k < count; ++k) {
                data[r * 4 + k] = values[r * perRegister + k];
            }
        }
        return registers == 0 ? D3D_OK
                              : writeFloat4(device, c->registerIndex, data.data(), registers);
    }

    HRESULT setVectors(LPDIRECT3DDEVICE9 device, const ShaderConstant* c, const float* values,
                       UINT count) const {
        if (c != nullptr && c->set == RegisterSet::Bool) {
            ScratchArray<float, kScratchFloats> firsts(count);
            for (UINT i = 0; i < count; ++i) {
                firsts[i] = values[i * 4];
            }
            return setFloats(device, c, firsts.data(), count, true);
        }
        return setFloats(device, c, values, count * 4, false);
    }

    // A matrix constant declared column_major (the default) receives the transpose, so that each
    // register holds one column of the row-vector matrix; row_major receives the rows.
    HRESULT setMatrices(LPDIRECT3DDEVICE9 device, const ShaderConstant* c,
                        const D3DXMATRIX* const* matrices, UINT count, bool transposed) const {
        if (matrices == nullptr || c == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        if (c->parameterClass != kClassMatrixRows && c->parameterClass != kClassMatrixColumns) {
            // Vectors and scalars take the matrices' floats in order, one register per row.
            ScratchArray<float, kScratchFloats> values(size_t(count) * 16);
            for (UINT i = 0; i < count; ++i) {
                std::memcpy(values.data() + size_t(i) * 16, &matrices[i]->m[0][0],
                            16 * sizeof(float));
            }
            return setFloats(device, c, values.data(), static_cast<UINT>(values.size()), false);
        }
        const bool columns = (c->parameterClass == kClassMatrixColumns) != transposed;
        const UINT perMatrix = std::max<UINT>(1, c->registerCount / std::max<UINT>(1, c->elements));
        const UINT rows = std::min<UINT>(perMatrix, 4);
        const UINT used = std::min<UINT>(count, c->elements);
        ScratchArray<float, kScratchFloats> values(size_t(used) * rows * 4);
        size_t at = 0;
        for (UINT i = 0; i < used; ++i) {
            for (UINT r = 0; r < rows; ++r) {
                for (UINT k = 0; k < 4; ++k) {
                    values[at++] = columns ? matrices[i]->m[k][r] : matrices[i]->m[r][k];
                }
            }
        }
        return setFloats(device, c, values.data(), static_cast<UINT>(values.size()), false);
    }

    ShaderBlob m_blob;
    std::vector<uint32_t> m_words;
};

} // namespace

ID3DXConstantTable* makeConstantTable(const ShaderBlob& blob) {
    return new ConstantTable(blob);
}

} // namespace tarnelix::d3dx
