// Vertex and pixel programs and their constant registers.

#include "Device.h"

#include "ProgramCache.h"
#include "Refusal.h"
#include "Shader.h"
#include "StateBlock.h"

#include <cstring>

namespace tarnelix::d3d9 {

namespace {

// Copies `count` registers into a register file (registers of four elements, or single BOOLs),
// refusing ranges past its end, counted in registers so that no huge start or count can wrap
// around; a change moves `version` on so that the program's constant block is rewritten.
template <class Register, size_t Size, class T>
HRESULT setRegisters(Register (&file)[Size], UINT start, const T* data, UINT count,
                     uint32_t& version) {
    if (!data || start > Size || count > Size - start) {
        return D3DERR_INVALIDCALL;
    }
    void* first = &file[start];
    if (std::memcmp(first, data, count * sizeof(Register)) != 0) {
        std::memcpy(first, data, count * sizeof(Register));
        ++version;
    }
    return D3D_OK;
}

template <class Register, size_t Size, class T>
HRESULT getRegisters(const Register (&file)[Size], UINT start, T* data, UINT count) {
    if (!data || start > Size || count > Size - start) {
        return D3DERR_INVALIDCALL;
    }
    std::memcpy(data, &file[start], count * sizeof(Register));
    return D3D_OK;
}

// Direct3D's own shader bytecode, as the offline compiler writes it: the first token is the
// version, 0xFFFE for vertex and 0xFFFF for pixel programs in its high word. The device runs
// only this system's compiled programs, so such code is a feature it does not have.
bool isTokenStream(const DWORD* function) {
    DWORD kind = function[0] & 0xFFFF0000u;
    return kind == 0xFFFE0000u || kind == 0xFFFF0000u;
}

HRESULT refuseTokenStream(const DWORD* function) {
    refuseOnce("shader bytecode (a token stream), version token", function[0]);
    return D3DERR_NOTAVAILABLE;
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
    TARNELIX_D3D9_CALL();
    if (!function || !shader) {
        return D3DERR_INVALIDCALL;
    }
    *shader = nullptr;
    if (isTokenStream(function)) {
        return refuseTokenStream(function);
    }
    makeCurrent();
    auto* created = new VertexShader(this);
    if (!created->code.create(function, ShaderStage::Vertex, !draw_.clipControl)) {
        created->Release();
        return D3DERR_INVALIDCALL;
    }
    *shader = created;
    return D3D_OK;
}

HRESULT Device::CreatePixelShader(const DWORD* function, IDirect3DPixelShader9** shader) {
    TARNELIX_D3D9_CALL();
    if (!function || !shader) {
        return D3DERR_INVALIDCALL;
    }
    *shader = nullptr;
    if (isTokenStream(function)) {
        return refuseTokenStream(function);
    }
    makeCurrent();
    auto* created = new PixelShader(this);
    if (!created->code.create(function, ShaderStage::Pixel, !draw_.clipControl)) {
        created->Release();
        return D3DERR_INVALIDCALL;
    }
    *shader = created;
    return D3D_OK;
}

HRESULT Device::SetVertexShader(IDirect3DVertexShader9* shader) {
    TARNELIX_D3D9_CALL();
    if (recording_) {
        recordObject(recording_->held().vertexShader, shader);
        return D3D_OK;
    }
    auto* vertexShader = static_cast<VertexShader*>(shader);
    if (vertexShader != vertexShader_) {
        assign(vertexShader_, vertexShader);
        draw_.dirty |= kDirtyProgram;
    }
    return D3D_OK;
}

HRESULT Device::GetVertexShader(IDirect3DVertexShader9** shader) {
    TARNELIX_D3D9_CALL();
    if (!shader) {
        return D3DERR_INVALIDCALL;
    }
    handOut(vertexShader_, shader);
    return D3D_OK;
}

HRESULT Device::SetPixelShader(IDirect3DPixelShader9* shader) {
    TARNELIX_D3D9_CALL();
    if (recording_) {
        recordObject(recording_->held().pixelShader, shader);
        return D3D_OK;
    }
    auto* pixelShader = static_cast<PixelShader*>(shader);
    if (pixelShader != pixelShader_) {
        assign(pixelShader_, pixelShader);
        draw_.dirty |= kDirtyProgram;
    }
    return D3D_OK;
}

HRESULT Device::GetPixelShader(IDirect3DPixelShader9** shader) {
    TARNELIX_D3D9_CALL();
    if (!shader) {
        return D3DERR_INVALIDCALL;
    }
    handOut(pixelShader_, shader);
    return D3D_OK;
}

HRESULT Device::SetVertexShaderConstantF(UINT start, const float* data, UINT count) {
    TARNELIX_D3D9_CALL();
    if (recording_) {
        return recording_->held().vsFloat.recordRange(start, data, count);
    }
    return setRegisters(vsFloat_, start, data, count, draw_.vsConstantVersion);
}

HRESULT Device::GetVertexShaderConstantF(UINT start, float* data, UINT count) {
    TARNELIX_D3D9_CALL();
    return getRegisters(vsFloat_, start, data, count);
}

HRESULT Device::SetVertexShaderConstantI(UINT start, const int* data, UINT count) {
    TARNELIX_D3D9_CALL();
    if (recording_) {
        return recording_->held().vsInt.recordRange(start, data, count);
    }
    return setRegisters(vsInt_, start, data, count, draw_.vsConstantVersion);
}

HRESULT Device::GetVertexShaderConstantI(UINT start, int* data, UINT count) {
    TARNELIX_D3D9_CALL();
    return getRegisters(vsInt_, start, data, count);
}

HRESULT Device::SetVertexShaderConstantB(UINT start, const BOOL* data, UINT count) {
    TARNELIX_D3D9_CALL();
    if (recording_) {
        return recording_->held().vsBool.recordRange(start, data, count);
    }
    return setRegisters(vsBool_, start, data, count, draw_.vsConstantVersion);
}

HRESULT Device::GetVertexShaderConstantB(UINT start, BOOL* data, UINT count) {
    TARNELIX_D3D9_CALL();
    return getRegisters(vsBool_, start, data, count);
}

HRESULT Device::SetPixelShaderConstantF(UINT start, const float* data, UINT count) {
    TARNELIX_D3D9_CALL();
    if (recording_) {
        return recording_->held().psFloat.recordRange(start, data, count);
    }
    return setRegisters(psFloat_, start, data, count, draw_.psConstantVersion);
}

HRESULT Device::GetPixelShaderConstantF(UINT start, float* data, UINT count) {
    TARNELIX_D3D9_CALL();
    return getRegisters(psFloat_, start, data, count);
}

HRESULT Device::SetPixelShaderConstantI(UINT start, const int* data, UINT count) {
    TARNELIX_D3D9_CALL();
    if (recording_) {
        return recording_->held().psInt.recordRange(start, data, count);
    }
    return setRegisters(psInt_, start, data, count, draw_.psConstantVersion);
}

HRESULT Device::GetPixelShaderConstantI(UINT start, int* data, UINT count) {
    TARNELIX_D3D9_CALL();
    return getRegisters(psInt_, start, data, count);
}

HRESULT Device::SetPixelShaderConstantB(UINT start, const BOOL* data, UINT count) {
    TARNELIX_D3D9_CALL();
    if (recording_) {
        return recording_->held().psBool.recordRange(start, data, count);
    }
    return setRegisters(psBool_, start, data, count, draw_.psConstantVersion);
}

HRESULT Device::GetPixelShaderConstantB(UINT start, BOOL* data, UINT count) {
    TARNELIX_D3D9_CALL();
    return getRegisters(psBool_, start, data, count);
}

} // namespace tarnelix::d3d9
