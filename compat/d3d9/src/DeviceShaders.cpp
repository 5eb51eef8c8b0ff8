// Vertex and pixel programs and their constant registers.

#include "Device.h"

#include "ProgramCache.h"
#include "Shader.h"

#include <cstring>

namespace tarnelix::d3d9 {

namespace {

// Copies `count` registers of `width` elements into a register file, refusing ranges past its
// end; true when a value changed.
template <class T>
HRESULT setRegisters(T* file, UINT fileSize, UINT start, const T* data, UINT count, bool& changed) {
    if (!data || start > fileSize || count > fileSize - start) {
        return D3DERR_INVALIDCALL;
    }
    if (std::memcmp(file + start, data, count * sizeof(T)) != 0) {
        std::memcpy(file + start, data, count * sizeof(T));
        changed = true;
    }
    return D3D_OK;
}

template <class T>
HRESULT getRegisters(const T* file, UINT fileSize, UINT start, T* data, UINT count) {
    if (!data || start > fileSize || count > fileSize - start) {
        return D3DERR_INVALIDCALL;
    }
    std::memcpy(data, file + start, count * sizeof(T));
    return D3D_OK;
}

} // namespace

void Device::forgetShader(GLuint shader) {
    if (shader && programs_) {
        programs_->forgetShader(shader);
        draw_.program = nullptr;
        draw_.dirty |= kDirtyProgram;
        glUseProgram(0);
    }
}

size_t Device::fixedShaderCount() const {
    return programs_ ? programs_->fixedShaderCount() : 0;
}

HRESULT Device::CreateVertexShader(const DWORD* function, IDirect3DVertexShader9** shader) {
    if (!function || !shader) {
        return D3DERR_INVALIDCALL;
    }
    *shader = nullptr;
    makeCurrent();
    auto* created = new VertexShader(this);
    if (!created->code.create(function, ShaderStage::Vertex)) {
        created->Release();
        return D3DERR_INVALIDCALL;
    }
    *shader = created;
    return D3D_OK;
}

HRESULT Device::CreatePixelShader(const DWORD* function, IDirect3DPixelShader9** shader) {
    if (!function || !shader) {
        return D3DERR_INVALIDCALL;
    }
    *shader = nullptr;
    makeCurrent();
    auto* created = new PixelShader(this);
    if (!created->code.create(function, ShaderStage::Pixel)) {
        created->Release();
        return D3DERR_INVALIDCALL;
    }
    *shader = created;
    return D3D_OK;
}

HRESULT Device::SetVertexShader(IDirect3DVertexShader9* shader) {
    auto* vertexShader = static_cast<VertexShader*>(shader);
    if (vertexShader != vertexShader_) {
        assign(vertexShader_, vertexShader);
        draw_.dirty |= kDirtyProgram;
    }
    return D3D_OK;
}

HRESULT Device::GetVertexShader(IDirect3DVertexShader9** shader) {
    if (!shader) {
        return D3DERR_INVALIDCALL;
    }
    *shader = vertexShader_;
    if (vertexShader_) {
        vertexShader_->AddRef();
    }
    return D3D_OK;
}

HRESULT Device::SetPixelShader(IDirect3DPixelShader9* shader) {
    auto* pixelShader = static_cast<PixelShader*>(shader);
    if (pixelShader != pixelShader_) {
        assign(pixelShader_, pixelShader);
        draw_.dirty |= kDirtyProgram;
    }
    return D3D_OK;
}

HRESULT Device::GetPixelShader(IDirect3DPixelShader9** shader) {
    if (!shader) {
        return D3DERR_INVALIDCALL;
    }
    *shader = pixelShader_;
    if (pixelShader_) {
        pixelShader_->AddRef();
    }
    return D3D_OK;
}

HRESULT Device::SetVertexShaderConstantF(UINT start, const float* data, UINT count) {
    bool changed = false;
    HRESULT result = setRegisters(&vsFloat_[0][0], kVertexFloatRegisters * 4, start * 4, data,
                                  count * 4, changed);
    draw_.vsConstantVersion += changed ? 1 : 0;
    return result;
}

HRESULT Device::GetVertexShaderConstantF(UINT start, float* data, UINT count) {
    return getRegisters(&vsFloat_[0][0], kVertexFloatRegisters * 4, start * 4, data, count * 4);
}

HRESULT Device::SetVertexShaderConstantI(UINT start, const int* data, UINT count) {
    bool changed = false;
    HRESULT result =
        setRegisters(&vsInt_[0][0], kIntRegisters * 4, start * 4, data, count * 4, changed);
    draw_.vsConstantVersion += changed ? 1 : 0;
    return result;
}

HRESULT Device::GetVertexShaderConstantI(UINT start, int* data, UINT count) {
    return getRegisters(&vsInt_[0][0], kIntRegisters * 4, start * 4, data, count * 4);
}

HRESULT Device::SetVertexShaderConstantB(UINT start, const BOOL* data, UINT count) {
    bool changed = false;
    HRESULT result = setRegisters(vsBool_, kBoolRegisters, start, data, count, changed);
    draw_.vsConstantVersion += changed ? 1 : 0;
    return result;
}

HRESULT Device::GetVertexShaderConstantB(UINT start, BOOL* data, UINT count) {
    return getRegisters(vsBool_, kBoolRegisters, start, data, count);
}

HRESULT Device::SetPixelShaderConstantF(UINT start, const float* data, UINT count) {
    bool changed = false;
    HRESULT result = setRegisters(&psFloat_[0][0], kPixelFloatRegisters * 4, start * 4, data,
                                  count * 4, changed);
    draw_.psConstantVersion += changed ? 1 : 0;
    return result;
}

HRESULT Device::GetPixelShaderConstantF(UINT start, float* data, UINT count) {
    return getRegisters(&psFloat_[0][0], kPixelFloatRegisters * 4, start * 4, data, count * 4);
}

HRESULT Device::SetPixelShaderConstantI(UINT start, const int* data, UINT count) {
    bool changed = false;
    HRESULT result =
        setRegisters(&psInt_[0][0], kIntRegisters * 4, start * 4, data, count * 4, changed);
    draw_.psConstantVersion += changed ? 1 : 0;
    return result;
}

HRESULT Device::GetPixelShaderConstantI(UINT start, int* data, UINT count) {
    return getRegisters(&psInt_[0][0], kIntRegisters * 4, start * 4, data, count * 4);
}

HRESULT Device::SetPixelShaderConstantB(UINT start, const BOOL* data, UINT count) {
    bool changed = false;
    HRESULT result = setRegisters(psBool_, kBoolRegisters, start, data, count, changed);
    draw_.psConstantVersion += changed ? 1 : 0;
    return result;
}

HRESULT Device::GetPixelShaderConstantB(UINT start, BOOL* data, UINT count) {
    return getRegisters(psBool_, kBoolRegisters, start, data, count);
}

} // namespace tarnelix::d3d9
