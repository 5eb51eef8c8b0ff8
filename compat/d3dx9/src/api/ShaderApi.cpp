#include "api/Buffer.h"
#include "api/ConstantTable.h"
#include "shader/ShaderCompiler.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace tarnelix;

bool readWholeFile(const char* path, std::string& text) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    char chunk[16384];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        text.append(chunk, n);
    }
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

std::string withDefines(const D3DXMACRO* defines, const std::string& source) {
    std::string text;
    for (const D3DXMACRO* d = defines; d != nullptr && d->Name != nullptr; ++d) {
        text +=
            std::string("#define ") + d->Name + " " + (d->Definition ? d->Definition : "") + "\n";
    }
    if (!text.empty()) {
        text += "#line 1\n";
    }
    return text + source;
}

HRESULT fail(HRESULT code, const std::string& messages, LPD3DXBUFFER* ppErrorMsgs) {
    if (ppErrorMsgs != nullptr) {
        *ppErrorMsgs = d3dx::makeTextBuffer(messages);
    }
    return code;
}

HRESULT compile(const std::string& source, const std::string& name, const D3DXMACRO* pDefines,
                LPD3DXINCLUDE pInclude, LPCSTR pFunctionName, LPCSTR pProfile,
                LPD3DXBUFFER* ppShader, LPD3DXBUFFER* ppErrorMsgs,
                LPD3DXCONSTANTTABLE* ppConstantTable) {
    if (ppShader != nullptr) {
        *ppShader = nullptr;
    }
    if (ppErrorMsgs != nullptr) {
        *ppErrorMsgs = nullptr;
    }
    if (ppConstantTable != nullptr) {
        *ppConstantTable = nullptr;
    }
    d3dx::ShaderProfile profile;
    if (pProfile == nullptr || !d3dx::parseShaderProfile(pProfile, profile)) {
        return fail(D3DERR_INVALIDCALL,
                    name + ": error: unknown profile '" + (pProfile ? pProfile : "") + "'\n",
                    ppErrorMsgs);
    }
    if (pInclude != nullptr) {
        return fail(E_NOTIMPL, name + ": error: include handlers are not supported\n", ppErrorMsgs);
    }
    ShaderBlob blob;
    std::string messages;
    const std::string entry = pFunctionName != nullptr ? pFunctionName : "main";
    if (!d3dx::compileHlsl(withDefines(pDefines, source), name, entry, profile, blob, messages)) {
        return fail(E_FAIL, messages, ppErrorMsgs);
    }
    if (ppShader != nullptr) {
        const std::vector<uint32_t> words = serializeShaderBlob(blob);
        *ppShader = d3dx::makeBuffer(words.data(), words.size() * sizeof(uint32_t));
    }
    if (ppErrorMsgs != nullptr && !messages.empty()) {
        *ppErrorMsgs = d3dx::makeTextBuffer(messages); // warnings
    }
    if (ppConstantTable != nullptr) {
        *ppConstantTable = d3dx::makeConstantTable(blob);
    }
    return D3D_OK;
}

} // namespace

HRESULT WINAPI D3DXCompileShaderFromFileA(LPCSTR pSrcFile, const D3DXMACRO* pDefines,
                                          LPD3DXINCLUDE pInclude, LPCSTR pFunctionName,
                                          LPCSTR pProfile, DWORD /*Flags*/, LPD3DXBUFFER* ppShader,
                                          LPD3DXBUFFER* ppErrorMsgs,
                                          LPD3DXCONSTANTTABLE* ppConstantTable) {
    std::string source;
    const std::string name = pSrcFile != nullptr ? pSrcFile : "";
    if (pSrcFile == nullptr || !readWholeFile(pSrcFile, source)) {
        if (ppShader != nullptr) {
            *ppShader = nullptr;
        }
        if (ppConstantTable != nullptr) {
            *ppConstantTable = nullptr;
        }
        return fail(D3DERR_NOTFOUND, name + ": error: cannot open the file\n", ppErrorMsgs);
    }
    return compile(source, name, pDefines, pInclude, pFunctionName, pProfile, ppShader, ppErrorMsgs,
                   ppConstantTable);
}

HRESULT WINAPI D3DXCompileShader(LPCSTR pSrcData, UINT SrcDataLen, const D3DXMACRO* pDefines,
                                 LPD3DXINCLUDE pInclude, LPCSTR pFunctionName, LPCSTR pProfile,
                                 DWORD /*Flags*/, LPD3DXBUFFER* ppShader, LPD3DXBUFFER* ppErrorMsgs,
                                 LPD3DXCONSTANTTABLE* ppConstantTable) {
    if (pSrcData == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    return compile(std::string(pSrcData, SrcDataLen), "memory", pDefines, pInclude, pFunctionName,
                   pProfile, ppShader, ppErrorMsgs, ppConstantTable);
}

HRESULT WINAPI D3DXGetShaderConstantTable(const DWORD* pFunction,
                                          LPD3DXCONSTANTTABLE* ppConstantTable) {
    if (ppConstantTable == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *ppConstantTable = nullptr;
    ShaderBlob blob;
    if (pFunction == nullptr ||
        !parseShaderBlob(reinterpret_cast<const uint32_t*>(pFunction), blob)) {
        return D3DXERR_INVALIDDATA;
    }
    *ppConstantTable = d3dx::makeConstantTable(blob);
    return D3D_OK;
}
