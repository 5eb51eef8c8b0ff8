#pragma once

// A device in memory for the extension library's tests: textures and buffers are plain bytes
// that tests read back, constant registers are kept, and draws are recorded.

#include "BlankDevice.h"

#include "tarnelix/ShaderBlob.h"

#include <cstdint>
#include <vector>

class MemoryTexture : public BlankTexture {
public:
    MemoryTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                  D3DPOOL pool);
    ~MemoryTexture() override;

    DWORD STDMETHODCALLTYPE GetLevelCount() override { return DWORD(levels.size()); }
    HRESULT STDMETHODCALLTYPE GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) override;
    HRESULT STDMETHODCALLTYPE LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect,
                                       DWORD Flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect(UINT Level) override;

    struct Level {
        UINT width;
        UINT height;
        UINT pitch; // wider than a row, so that a copy ignoring the pitch shows
        std::vector<uint8_t> bytes;
        bool locked = false;
    };
    // B, G, R, A of a texel.
    std::vector<int> texel(UINT level, UINT x, UINT y) const;

    std::vector<Level> levels;
    std::vector<int>* releaseLog = nullptr; // receives `id` when the last reference goes
    int id = 0;
    DWORD usage;
    D3DFORMAT format;
    D3DPOOL pool;
};

template <class Base> class MemoryBuffer : public Base {
public:
    MemoryBuffer(UINT length, DWORD usage_, D3DPOOL pool_)
        : bytes(length), usage(usage_), pool(pool_) {}
    HRESULT STDMETHODCALLTYPE Lock(UINT offset, UINT size, void** data, DWORD) override {
        if (locked || data == nullptr || offset > bytes.size()) {
            return D3DERR_INVALIDCALL;
        }
        locked = true;
        *data = bytes.data() + offset;
        (void)size;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE Unlock() override {
        if (!locked) {
            return D3DERR_INVALIDCALL;
        }
        locked = false;
        return D3D_OK;
    }
    std::vector<uint8_t> bytes;
    DWORD usage;
    D3DPOOL pool;
    bool locked = false;
};

class MemoryVertexBuffer : public MemoryBuffer<BlankVertexBuffer> {
public:
    using MemoryBuffer::MemoryBuffer;
};

class MemoryIndexBuffer : public MemoryBuffer<BlankIndexBuffer> {
public:
    MemoryIndexBuffer(UINT length, DWORD usage, D3DFORMAT format_, D3DPOOL pool)
        : MemoryBuffer(length, usage, pool), format(format_) {}
    D3DFORMAT format;
};

class RecordedDeclaration : public BlankVertexDeclaration {
public:
    explicit RecordedDeclaration(const D3DVERTEXELEMENT9* elements);
    std::vector<D3DVERTEXELEMENT9> elements;
};

// A shader made from the compiler's program, which it must be able to read back.
template <class Base> class ProgramShader : public Base {
public:
    explicit ProgramShader(tarnelix::ShaderBlob blob_) : blob(std::move(blob_)) {}
    tarnelix::ShaderBlob blob;
};
using MemoryVertexShader = ProgramShader<BlankVertexShader>;
using MemoryPixelShader = ProgramShader<BlankPixelShader>;

struct SamplerStateCall {
    DWORD sampler;
    D3DSAMPLERSTATETYPE type;
    DWORD value;
};

struct DrawCall {
    bool indexedFromMemory = false;
    UINT vertexCount = 0;
    UINT primitives = 0;
    IDirect3DIndexBuffer9* indices = nullptr;
    IDirect3DVertexDeclaration9* declaration = nullptr;
};

class MemoryDevice : public BlankDevice {
public:
    MemoryDevice();

    HRESULT STDMETHODCALLTYPE GetDeviceCaps(D3DCAPS9* pCaps) override;
    HRESULT STDMETHODCALLTYPE CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage,
                                            D3DFORMAT Format, D3DPOOL Pool,
                                            IDirect3DTexture9** ppTexture,
                                            HANDLE* pSharedHandle) override;
    HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                                 IDirect3DVertexBuffer9** ppVertexBuffer,
                                                 HANDLE* pSharedHandle) override;
    HRESULT STDMETHODCALLTYPE CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format,
                                                D3DPOOL Pool, IDirect3DIndexBuffer9** ppIndexBuffer,
                                                HANDLE* pSharedHandle) override;
    HRESULT STDMETHODCALLTYPE CreateVertexDeclaration(
        const D3DVERTEXELEMENT9* pVertexElements, IDirect3DVertexDeclaration9** ppDecl) override;
    HRESULT STDMETHODCALLTYPE SetVertexDeclaration(IDirect3DVertexDeclaration9* pDecl) override;
    HRESULT STDMETHODCALLTYPE SetStreamSource(UINT StreamNumber,
                                              IDirect3DVertexBuffer9* pStreamData,
                                              UINT OffsetInBytes, UINT Stride) override;
    HRESULT STDMETHODCALLTYPE SetIndices(IDirect3DIndexBuffer9* pIndexData) override;
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType,
                                                   INT BaseVertexIndex, UINT MinVertexIndex,
                                                   UINT NumVertices, UINT startIndex,
                                                   UINT primCount) override;
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType,
                                                     UINT MinVertexIndex, UINT NumVertices,
                                                     UINT PrimitiveCount, const void* pIndexData,
                                                     D3DFORMAT IndexDataFormat,
                                                     const void* pVertexStreamZeroData,
                                                     UINT VertexStreamZeroStride) override;
    HRESULT STDMETHODCALLTYPE SetVertexShaderConstantF(UINT StartRegister,
                                                       const float* pConstantData,
                                                       UINT Vector4fCount) override;
    HRESULT STDMETHODCALLTYPE SetVertexShaderConstantB(UINT StartRegister,
                                                       const BOOL* pConstantData,
                                                       UINT BoolCount) override;
    HRESULT STDMETHODCALLTYPE SetPixelShaderConstantF(UINT StartRegister,
                                                      const float* pConstantData,
                                                      UINT Vector4fCount) override;
    HRESULT STDMETHODCALLTYPE SetPixelShaderConstantB(UINT StartRegister, const BOOL* pConstantData,
                                                      UINT BoolCount) override;

    HRESULT STDMETHODCALLTYPE SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) override;
    HRESULT STDMETHODCALLTYPE SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type,
                                              DWORD Value) override;
    HRESULT STDMETHODCALLTYPE CreateVertexShader(const DWORD* pFunction,
                                                 IDirect3DVertexShader9** ppShader) override;
    HRESULT STDMETHODCALLTYPE CreatePixelShader(const DWORD* pFunction,
                                                IDirect3DPixelShader9** ppShader) override;
    HRESULT STDMETHODCALLTYPE SetVertexShader(IDirect3DVertexShader9* pShader) override;
    HRESULT STDMETHODCALLTYPE SetPixelShader(IDirect3DPixelShader9* pShader) override;

    IDirect3DBaseTexture9* textures[8] = {};
    std::vector<SamplerStateCall> samplerStates;
    IDirect3DVertexShader9* vertexShader = nullptr;
    IDirect3DPixelShader9* pixelShader = nullptr;
    int texturesCreated = 0;
    std::vector<int> textureReleases; // ids of textures whose last reference went, in order

    float vertexFloats[256][4] = {};
    BOOL vertexBools[16] = {};
    float pixelFloats[32][4] = {};
    BOOL pixelBools[16] = {};
    int constantWrites = 0;

    std::vector<DrawCall> draws;
    IDirect3DIndexBuffer9* indices = nullptr;
    IDirect3DVertexDeclaration9* declaration = nullptr;
    // The buffers the library created, in order, still referenced by the device for reading.
    std::vector<MemoryVertexBuffer*> vertexBuffers;
    std::vector<MemoryIndexBuffer*> indexBuffers;

protected:
    ~MemoryDevice() override;
};
