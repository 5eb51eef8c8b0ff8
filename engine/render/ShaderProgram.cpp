#include "engine/render/ShaderProgram.h"

#include "engine/resources/ProgramDevice.h"

#include <d3dx9.h>

#include <cstdio>
#include <cstring>

ShaderProgram::~ShaderProgram() {
    releaseConstantTable();
}

ID3DXBuffer* ShaderProgram::compile(const char* file, const char* profile) {
    releaseConstantTable();
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* messages = nullptr;
    const HRESULT hr = D3DXCompileShaderFromFileA(file, nullptr, nullptr, "main", profile, 0, &code,
                                                  &messages, &m_constantTable);
    if (FAILED(hr)) {
        // The show has no place to report this; a developer running it sees why a pass is dark.
        // The buffer's size bounds the text: not every compiler ends it with a NUL.
        const char* text =
            messages != nullptr ? static_cast<const char*>(messages->GetBufferPointer()) : "";
        const size_t size = messages != nullptr ? messages->GetBufferSize() : 0;
        std::fprintf(stderr, "%s: shader not built\n%.*s", file,
                     static_cast<int>(strnlen(text, size)), text);
    }
    if (messages != nullptr) {
        messages->Release();
    }
    if (FAILED(hr) && code != nullptr) {
        code->Release();
        code = nullptr;
    }
    return code;
}

D3DXHANDLE ShaderProgram::handle(const char* name) const {
    return m_constantTable != nullptr ? m_constantTable->GetConstantByName(nullptr, name) : nullptr;
}

void ShaderProgram::releaseConstantTable() {
    if (m_constantTable != nullptr) {
        m_constantTable->Release();
        m_constantTable = nullptr;
    }
}

void ShaderProgram::setMatrix(D3DXHANDLE handle, const Matrix4& value) const {
    if (handle != nullptr) {
        D3DXMATRIX matrix;
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c) {
                matrix.m[r][c] = value.m[r][c];
            }
        }
        m_constantTable->SetMatrix(programDevice(), handle, &matrix);
    }
}

void ShaderProgram::setVector(D3DXHANDLE handle, const Vec4& value) const {
    if (handle != nullptr) {
        const D3DXVECTOR4 vector(value.x, value.y, value.z, value.w);
        m_constantTable->SetVector(programDevice(), handle, &vector);
    }
}

void ShaderProgram::setFloat(D3DXHANDLE handle, float value) const {
    if (handle != nullptr) {
        m_constantTable->SetFloat(programDevice(), handle, value);
    }
}

void ShaderProgram::setBool(D3DXHANDLE handle, bool value) const {
    if (handle != nullptr) {
        m_constantTable->SetBool(programDevice(), handle, value ? TRUE : FALSE);
    }
}

VertexShaderProgram::~VertexShaderProgram() {
    release();
}

void VertexShaderProgram::bind() const {
    if (IDirect3DDevice9* device = programDevice()) {
        device->SetVertexShader(m_shader);
    }
}

void VertexShaderProgram::release() {
    if (m_shader != nullptr) {
        m_shader->Release();
        m_shader = nullptr;
    }
    releaseConstantTable();
}

bool VertexShaderProgram::build(const char* file, const char* profile) {
    release();
    ID3DXBuffer* code = compile(file, profile);
    IDirect3DDevice9* device = programDevice();
    if (code != nullptr && device != nullptr &&
        FAILED(device->CreateVertexShader(static_cast<const DWORD*>(code->GetBufferPointer()),
                                          &m_shader))) {
        std::fprintf(stderr, "%s: the device refused the vertex shader\n", file);
        m_shader = nullptr;
    }
    if (code != nullptr) {
        code->Release();
    }
    return m_shader != nullptr;
}

PixelShaderProgram::~PixelShaderProgram() {
    release();
}

void PixelShaderProgram::bind() const {
    if (IDirect3DDevice9* device = programDevice()) {
        device->SetPixelShader(m_shader);
    }
}

void PixelShaderProgram::release() {
    if (m_shader != nullptr) {
        m_shader->Release();
        m_shader = nullptr;
    }
    releaseConstantTable();
}

bool PixelShaderProgram::build(const char* file, const char* profile) {
    release();
    ID3DXBuffer* code = compile(file, profile);
    IDirect3DDevice9* device = programDevice();
    if (code != nullptr && device != nullptr &&
        FAILED(device->CreatePixelShader(static_cast<const DWORD*>(code->GetBufferPointer()),
                                         &m_shader))) {
        std::fprintf(stderr, "%s: the device refused the pixel shader\n", file);
        m_shader = nullptr;
    }
    if (code != nullptr) {
        code->Release();
    }
    return m_shader != nullptr;
}
