#pragma once

#include "d3dx9core.h"

typedef LPCSTR D3DXHANDLE;
typedef D3DXHANDLE* LPD3DXHANDLE;

#define D3DXSHADER_DEBUG (1 << 0)
#define D3DXSHADER_SKIPVALIDATION (1 << 1)
#define D3DXSHADER_SKIPOPTIMIZATION (1 << 2)
#define D3DXSHADER_PACKMATRIX_ROWMAJOR (1 << 3)
#define D3DXSHADER_PACKMATRIX_COLUMNMAJOR (1 << 4)
#define D3DXSHADER_PARTIALPRECISION (1 << 5)
#define D3DXSHADER_AVOID_FLOW_CONTROL (1 << 9)
#define D3DXSHADER_PREFER_FLOW_CONTROL (1 << 10)
#define D3DXSHADER_ENABLE_BACKWARDS_COMPATIBILITY (1 << 12)
#define D3DXSHADER_IEEE_STRICTNESS (1 << 13)

typedef struct _D3DXMACRO {
    LPCSTR Name;
    LPCSTR Definition;
} D3DXMACRO, *LPD3DXMACRO;

typedef enum _D3DXINCLUDE_TYPE {
    D3DXINC_LOCAL,
    D3DXINC_SYSTEM,
    D3DXINC_FORCE_DWORD = 0x7fffffff
} D3DXINCLUDE_TYPE;

struct ID3DXInclude {
    virtual HRESULT STDMETHODCALLTYPE Open(D3DXINCLUDE_TYPE IncludeType, LPCSTR pFileName,
                                           LPCVOID pParentData, LPCVOID* ppData, UINT* pBytes) = 0;
    virtual HRESULT STDMETHODCALLTYPE Close(LPCVOID pData) = 0;

protected:
    ~ID3DXInclude() = default;
};
typedef ID3DXInclude* LPD3DXINCLUDE;

typedef enum _D3DXREGISTER_SET {
    D3DXRS_BOOL,
    D3DXRS_INT4,
    D3DXRS_FLOAT4,
    D3DXRS_SAMPLER,
    D3DXRS_FORCE_DWORD = 0x7fffffff
} D3DXREGISTER_SET;

typedef enum _D3DXPARAMETER_CLASS {
    D3DXPC_SCALAR,
    D3DXPC_VECTOR,
    D3DXPC_MATRIX_ROWS,
    D3DXPC_MATRIX_COLUMNS,
    D3DXPC_OBJECT,
    D3DXPC_STRUCT,
    D3DXPC_FORCE_DWORD = 0x7fffffff
} D3DXPARAMETER_CLASS;

typedef enum _D3DXPARAMETER_TYPE {
    D3DXPT_VOID,
    D3DXPT_BOOL,
    D3DXPT_INT,
    D3DXPT_FLOAT,
    D3DXPT_STRING,
    D3DXPT_TEXTURE,
    D3DXPT_TEXTURE1D,
    D3DXPT_TEXTURE2D,
    D3DXPT_TEXTURE3D,
    D3DXPT_TEXTURECUBE,
    D3DXPT_SAMPLER,
    D3DXPT_SAMPLER1D,
    D3DXPT_SAMPLER2D,
    D3DXPT_SAMPLER3D,
    D3DXPT_SAMPLERCUBE,
    D3DXPT_FORCE_DWORD = 0x7fffffff
} D3DXPARAMETER_TYPE;

typedef struct _D3DXCONSTANTTABLE_DESC {
    LPCSTR Creator;
    DWORD Version;
    UINT Constants;
} D3DXCONSTANTTABLE_DESC, *LPD3DXCONSTANTTABLE_DESC;

typedef struct _D3DXCONSTANT_DESC {
    LPCSTR Name;
    D3DXREGISTER_SET RegisterSet;
    UINT RegisterIndex;
    UINT RegisterCount;
    D3DXPARAMETER_CLASS Class;
    D3DXPARAMETER_TYPE Type;
    UINT Rows;
    UINT Columns;
    UINT Elements;
    UINT StructMembers;
    UINT Bytes;
    LPCVOID DefaultValue;
} D3DXCONSTANT_DESC, *LPD3DXCONSTANT_DESC;

struct D3DXMATRIX;
struct D3DXVECTOR4;

// The constants of one compiled program: handles by name, and setters that write the device's
// constant registers the way the program's uniform layout expects them. A null handle, a null
// device or a type mismatch is refused with D3DERR_INVALIDCALL and writes nothing.
struct ID3DXConstantTable : public ID3DXBuffer {
    virtual HRESULT STDMETHODCALLTYPE GetDesc(D3DXCONSTANTTABLE_DESC* pDesc) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetConstantDesc(D3DXHANDLE hConstant,
                                                      D3DXCONSTANT_DESC* pConstantDesc,
                                                      UINT* pCount) = 0;
    virtual UINT STDMETHODCALLTYPE GetSamplerIndex(D3DXHANDLE hConstant) = 0;
    virtual D3DXHANDLE STDMETHODCALLTYPE GetConstant(D3DXHANDLE hConstant, UINT Index) = 0;
    virtual D3DXHANDLE STDMETHODCALLTYPE GetConstantByName(D3DXHANDLE hConstant, LPCSTR pName) = 0;
    virtual D3DXHANDLE STDMETHODCALLTYPE GetConstantElement(D3DXHANDLE hConstant, UINT Index) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDefaults(LPDIRECT3DDEVICE9 pDevice) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetValue(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                               LPCVOID pData, UINT Bytes) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetBool(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                              BOOL b) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetBoolArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                                   const BOOL* pb, UINT Count) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetInt(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                             INT n) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetIntArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                                  const INT* pn, UINT Count) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFloat(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                               FLOAT f) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFloatArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                                    const FLOAT* pf, UINT Count) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetVector(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                                const D3DXVECTOR4* pVector) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetVectorArray(LPDIRECT3DDEVICE9 pDevice,
                                                     D3DXHANDLE hConstant,
                                                     const D3DXVECTOR4* pVector, UINT Count) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMatrix(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                                const D3DXMATRIX* pMatrix) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMatrixArray(LPDIRECT3DDEVICE9 pDevice,
                                                     D3DXHANDLE hConstant,
                                                     const D3DXMATRIX* pMatrix, UINT Count) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMatrixPointerArray(LPDIRECT3DDEVICE9 pDevice,
                                                            D3DXHANDLE hConstant,
                                                            const D3DXMATRIX** ppMatrix,
                                                            UINT Count) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMatrixTranspose(LPDIRECT3DDEVICE9 pDevice,
                                                         D3DXHANDLE hConstant,
                                                         const D3DXMATRIX* pMatrix) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMatrixTransposeArray(LPDIRECT3DDEVICE9 pDevice,
                                                              D3DXHANDLE hConstant,
                                                              const D3DXMATRIX* pMatrix,
                                                              UINT Count) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMatrixTransposePointerArray(LPDIRECT3DDEVICE9 pDevice,
                                                                     D3DXHANDLE hConstant,
                                                                     const D3DXMATRIX** ppMatrix,
                                                                     UINT Count) = 0;
};
typedef ID3DXConstantTable *LPD3DXCONSTANTTABLE, *PD3DXCONSTANTTABLE;

// Compiles Direct3D 9 era HLSL into the program format that CreateVertexShader and
// CreatePixelShader take. Include handlers are not supported (pInclude must be null).
HRESULT WINAPI D3DXCompileShaderFromFileA(LPCSTR pSrcFile, const D3DXMACRO* pDefines,
                                          LPD3DXINCLUDE pInclude, LPCSTR pFunctionName,
                                          LPCSTR pProfile, DWORD Flags, LPD3DXBUFFER* ppShader,
                                          LPD3DXBUFFER* ppErrorMsgs,
                                          LPD3DXCONSTANTTABLE* ppConstantTable);
#define D3DXCompileShaderFromFile D3DXCompileShaderFromFileA

HRESULT WINAPI D3DXCompileShader(LPCSTR pSrcData, UINT SrcDataLen, const D3DXMACRO* pDefines,
                                 LPD3DXINCLUDE pInclude, LPCSTR pFunctionName, LPCSTR pProfile,
                                 DWORD Flags, LPD3DXBUFFER* ppShader, LPD3DXBUFFER* ppErrorMsgs,
                                 LPD3DXCONSTANTTABLE* ppConstantTable);

HRESULT WINAPI D3DXGetShaderConstantTable(const DWORD* pFunction,
                                          LPD3DXCONSTANTTABLE* ppConstantTable);
