#include "MemoryDevice.h"

#include <algorithm>
#include <cstring>

MemoryTexture::MemoryTexture(UINT width, UINT height, UINT levelCount, DWORD usage_,
                             D3DFORMAT format_, D3DPOOL pool_)
    : usage(usage_), format(format_), pool(pool_) {
    for (UINT l = 0; l < levelCount; ++l) {
        Level level;
        level.width = std::max(1u, width >> l);
        level.height = std::max(1u, height >> l);
        level.pitch = level.width * 4 + 16;
        level.bytes.assign(size_t(level.pitch) * level.height, 0xCD);
        levels.push_back(level);
    }
}

MemoryTexture::~MemoryTexture() {
    if (releaseLog != nullptr) {
        releaseLog->push_back(id);
    }
}

HRESULT MemoryTexture::GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) {
    if (Level >= levels.size() || pDesc == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    std::memset(pDesc, 0, sizeof *pDesc);
    pDesc->Format = format;
    pDesc->Type = D3DRTYPE_SURFACE;
    pDesc->Usage = usage;
    pDesc->Pool = pool;
    pDesc->Width = levels[Level].width;
    pDesc->Height = levels[Level].height;
    return D3D_OK;
}

HRESULT MemoryTexture::LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT*, DWORD) {
    if (Level >= levels.size() || pLockedRect == nullptr || levels[Level].locked) {
        return D3DERR_INVALIDCALL;
    }
    levels[Level].locked = true;
    pLockedRect->Pitch = INT(levels[Level].pitch);
    pLockedRect->pBits = levels[Level].bytes.data();
    return D3D_OK;
}

HRESULT MemoryTexture::UnlockRect(UINT Level) {
    if (Level >= levels.size() || !levels[Level].locked) {
        return D3DERR_INVALIDCALL;
    }
    levels[Level].locked = false;
    return D3D_OK;
}

std::vector<int> MemoryTexture::texel(UINT level, UINT x, UINT y) const {
    const Level& l = levels.at(level);
    const uint8_t* p = &l.bytes.at(size_t(y) * l.pitch + size_t(x) * 4);
    return {p[0], p[1], p[2], p[3]};
}

RecordedDeclaration::RecordedDeclaration(const D3DVERTEXELEMENT9* e) {
    for (; e->Stream != 0xFF; ++e) {
        elements.push_back(*e);
    }
}

MemoryDevice::MemoryDevice() = default;
MemoryDevice::~MemoryDevice() {
    for (MemoryVertexBuffer* buffer : vertexBuffers) {
        buffer->Release();
    }
    for (MemoryIndexBuffer* buffer : indexBuffers) {
        buffer->Release();
    }
}

HRESULT MemoryDevice::GetDeviceCaps(D3DCAPS9* pCaps) {
    std::memset(pCaps, 0, sizeof *pCaps);
    pCaps->MaxTextureWidth = 2048;
    pCaps->MaxTextureHeight = 2048;
    return D3D_OK;
}

HRESULT MemoryDevice::CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage,
                                    D3DFORMAT Format, D3DPOOL Pool, IDirect3DTexture9** ppTexture,
                                    HANDLE*) {
    if (ppTexture == nullptr || Width == 0 || Height == 0 || Levels == 0) {
        return D3DERR_INVALIDCALL;
    }
    auto* texture = new MemoryTexture(Width, Height, Levels, Usage, Format, Pool);
    texture->id = texturesCreated++;
    texture->releaseLog = &textureReleases;
    *ppTexture = texture;
    return D3D_OK;
}

HRESULT MemoryDevice::CreateVertexBuffer(UINT Length, DWORD Usage, DWORD, D3DPOOL Pool,
                                         IDirect3DVertexBuffer9** ppVertexBuffer, HANDLE*) {
    if (ppVertexBuffer == nullptr || Length == 0) {
        return D3DERR_INVALIDCALL;
    }
    auto* buffer = new MemoryVertexBuffer(Length, Usage, Pool);
    vertexBuffers.push_back(buffer);
    buffer->AddRef(); // the device's record keeps it readable after the library lets go
    *ppVertexBuffer = buffer;
    return D3D_OK;
}

HRESULT MemoryDevice::CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                        IDirect3DIndexBuffer9** ppIndexBuffer, HANDLE*) {
    if (ppIndexBuffer == nullptr || Length == 0) {
        return D3DERR_INVALIDCALL;
    }
    auto* buffer = new MemoryIndexBuffer(Length, Usage, Format, Pool);
    indexBuffers.push_back(buffer);
    buffer->AddRef();
    *ppIndexBuffer = buffer;
    return D3D_OK;
}

HRESULT MemoryDevice::CreateVertexDeclaration(const D3DVERTEXELEMENT9* pVertexElements,
                                              IDirect3DVertexDeclaration9** ppDecl) {
    if (pVertexElements == nullptr || ppDecl == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *ppDecl = new RecordedDeclaration(pVertexElements);
    return D3D_OK;
}

HRESULT MemoryDevice::SetVertexDeclaration(IDirect3DVertexDeclaration9* pDecl) {
    declaration = pDecl;
    return D3D_OK;
}

HRESULT MemoryDevice::SetStreamSource(UINT, IDirect3DVertexBuffer9*, UINT, UINT) {
    return D3D_OK;
}

HRESULT MemoryDevice::SetIndices(IDirect3DIndexBuffer9* pIndexData) {
    indices = pIndexData;
    return D3D_OK;
}

HRESULT MemoryDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE, INT, UINT, UINT NumVertices, UINT,
                                           UINT primCount) {
    DrawCall call;
    call.vertexCount = NumVertices;
    call.primitives = primCount;
    call.indices = indices;
    call.declaration = declaration;
    draws.push_back(call);
    return D3D_OK;
}

HRESULT MemoryDevice::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE, UINT, UINT NumVertices,
                                             UINT PrimitiveCount, const void*, D3DFORMAT,
                                             const void*, UINT) {
    DrawCall call;
    call.indexedFromMemory = true;
    call.vertexCount = NumVertices;
    call.primitives = PrimitiveCount;
    call.declaration = declaration;
    draws.push_back(call);
    return D3D_OK;
}

HRESULT MemoryDevice::SetVertexShaderConstantF(UINT start, const float* data, UINT count) {
    ++constantWrites;
    for (UINT i = 0; i < count && start + i < 256; ++i) {
        std::memcpy(vertexFloats[start + i], data + 4 * i, 16);
    }
    return D3D_OK;
}

HRESULT MemoryDevice::SetVertexShaderConstantB(UINT start, const BOOL* data, UINT count) {
    ++constantWrites;
    for (UINT i = 0; i < count && start + i < 16; ++i) {
        vertexBools[start + i] = data[i];
    }
    return D3D_OK;
}

HRESULT MemoryDevice::SetPixelShaderConstantF(UINT start, const float* data, UINT count) {
    ++constantWrites;
    for (UINT i = 0; i < count && start + i < 32; ++i) {
        std::memcpy(pixelFloats[start + i], data + 4 * i, 16);
    }
    return D3D_OK;
}

HRESULT MemoryDevice::SetPixelShaderConstantB(UINT start, const BOOL* data, UINT count) {
    ++constantWrites;
    for (UINT i = 0; i < count && start + i < 16; ++i) {
        pixelBools[start + i] = data[i];
    }
    return D3D_OK;
}

HRESULT MemoryDevice::SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) {
    if (Stage >= 8) {
        return D3DERR_INVALIDCALL;
    }
    textures[Stage] = pTexture;
    return D3D_OK;
}

HRESULT MemoryDevice::SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value) {
    samplerStates.push_back({Sampler, Type, Value});
    return D3D_OK;
}

HRESULT MemoryDevice::CreateVertexShader(const DWORD* pFunction,
                                         IDirect3DVertexShader9** ppShader) {
    tarnelix::ShaderBlob blob;
    if (ppShader == nullptr || pFunction == nullptr ||
        !tarnelix::parseShaderBlob(reinterpret_cast<const uint32_t*>(pFunction), blob) ||
        blob.stage != tarnelix::ShaderStage::Vertex) {
        return D3DERR_INVALIDCALL;
    }
    *ppShader = new MemoryVertexShader(blob);
    return D3D_OK;
}

HRESULT MemoryDevice::CreatePixelShader(const DWORD* pFunction, IDirect3DPixelShader9** ppShader) {
    tarnelix::ShaderBlob blob;
    if (ppShader == nullptr || pFunction == nullptr ||
        !tarnelix::parseShaderBlob(reinterpret_cast<const uint32_t*>(pFunction), blob) ||
        blob.stage != tarnelix::ShaderStage::Pixel) {
        return D3DERR_INVALIDCALL;
    }
    *ppShader = new MemoryPixelShader(blob);
    return D3D_OK;
}

HRESULT MemoryDevice::SetVertexShader(IDirect3DVertexShader9* pShader) {
    vertexShader = pShader;
    return D3D_OK;
}

HRESULT MemoryDevice::SetPixelShader(IDirect3DPixelShader9* pShader) {
    pixelShader = pShader;
    return D3D_OK;
}
