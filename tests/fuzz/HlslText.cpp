#include "FuzzInputs.h"

#include <d3dx9.h>

#include <string>

namespace {

// A failed compile must say why; a successful one must hand over a program whose constant
// table can be read back from the code alone.
const char* compileAs(const std::string& source, const char* profile) {
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* messages = nullptr;
    ID3DXConstantTable* table = nullptr;
    const HRESULT hr = D3DXCompileShader(source.data(), static_cast<UINT>(source.size()), nullptr,
                                         nullptr, "main", profile, 0, &code, &messages, &table);
    const char* broken = nullptr;
    if (FAILED(hr)) {
        const bool explained = messages != nullptr && messages->GetBufferSize() > 1 &&
                               *static_cast<const char*>(messages->GetBufferPointer()) != 0;
        if (code != nullptr || table != nullptr) {
            broken = "a failed compile hands out a program";
        } else if (!explained) {
            broken = "a failed compile gives no message";
        }
    } else if (code == nullptr || table == nullptr) {
        broken = "a successful compile hands out no program";
    } else {
        ID3DXConstantTable* again = nullptr;
        D3DXCONSTANTTABLE_DESC desc{};
        if (FAILED(D3DXGetShaderConstantTable(static_cast<const DWORD*>(code->GetBufferPointer()),
                                              &again)) ||
            FAILED(again->GetDesc(&desc))) {
            broken = "the compiled program's constant table cannot be read back";
        }
        for (UINT i = 0; broken == nullptr && i < desc.Constants; ++i) {
            D3DXCONSTANT_DESC constant;
            UINT count = 1;
            if (FAILED(again->GetConstantDesc(again->GetConstant(nullptr, i), &constant, &count))) {
                broken = "a listed constant has no description";
            }
        }
        if (again != nullptr) {
            again->Release();
        }
    }
    for (IUnknown* object : {static_cast<IUnknown*>(code), static_cast<IUnknown*>(messages),
                             static_cast<IUnknown*>(table)}) {
        if (object != nullptr) {
            object->Release();
        }
    }
    return broken;
}

} // namespace

const char* compileHlslText(const uint8_t* data, size_t size) {
    const std::string source(reinterpret_cast<const char*>(data), size);
    for (const char* profile : {"vs_1_1", "ps_2_0"}) {
        if (const char* broken = compileAs(source, profile)) {
            return broken;
        }
    }
    return nullptr;
}
