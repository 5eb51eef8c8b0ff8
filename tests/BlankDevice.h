#pragma once

// Every method of the Direct3D 9 interfaces the extension library touches, answering "not
// implemented". Test doubles derive from these and override what they need, so that a test
// notices when the library starts relying on something new.

#include <d3d9.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"

template <class Interface> class BlankUnknown : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObj) override {
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references;
        if (left == 0) {
            delete this;
        }
        return left;
    }
    ULONG references = 1;

protected:
    virtual ~BlankUnknown() = default;
};

class BlankDevice : public BlankUnknown<IDirect3DDevice9> {
public:
    HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override { return E_NOTIMPL; }
    UINT STDMETHODCALLTYPE GetAvailableTextureMem() override { return {}; }
    HRESULT STDMETHODCALLTYPE EvictManagedResources() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDirect3D(IDirect3D9** ppD3D9) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(D3DCAPS9* pCaps) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDisplayMode(UINT iSwapChain, D3DDISPLAYMODE* pMode) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE
    GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* pParameters) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetCursorProperties(UINT XHotSpot, UINT YHotSpot,
                                                  IDirect3DSurface9* pCursorBitmap) override {
        return E_NOTIMPL;
    }
    void STDMETHODCALLTYPE SetCursorPosition(int X, int Y, DWORD Flags) override {}
    BOOL STDMETHODCALLTYPE ShowCursor(BOOL bShow) override { return {}; }
    HRESULT STDMETHODCALLTYPE CreateAdditionalSwapChain(
        D3DPRESENT_PARAMETERS* pPresentationParameters, IDirect3DSwapChain9** pSwapChain) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetSwapChain(UINT iSwapChain,
                                           IDirect3DSwapChain9** pSwapChain) override {
        return E_NOTIMPL;
    }
    UINT STDMETHODCALLTYPE GetNumberOfSwapChains() override { return {}; }
    HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS* pPresentationParameters) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Present(const RECT* pSourceRect, const RECT* pDestRect,
                                      HWND hDestWindowOverride,
                                      const RGNDATA* pDirtyRegion) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetBackBuffer(UINT iSwapChain, UINT iBackBuffer,
                                            D3DBACKBUFFER_TYPE Type,
                                            IDirect3DSurface9** ppBackBuffer) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetRasterStatus(UINT iSwapChain,
                                              D3DRASTER_STATUS* pRasterStatus) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetDialogBoxMode(BOOL bEnableDialogs) override { return E_NOTIMPL; }
    void STDMETHODCALLTYPE SetGammaRamp(UINT iSwapChain, DWORD Flags,
                                        const D3DGAMMARAMP* pRamp) override {}
    void STDMETHODCALLTYPE GetGammaRamp(UINT iSwapChain, D3DGAMMARAMP* pRamp) override {}
    HRESULT STDMETHODCALLTYPE CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage,
                                            D3DFORMAT Format, D3DPOOL Pool,
                                            IDirect3DTexture9** ppTexture,
                                            HANDLE* pSharedHandle) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateVolumeTexture(UINT Width, UINT Height, UINT Depth, UINT Levels,
                                                  DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                                  IDirect3DVolumeTexture9** ppVolumeTexture,
                                                  HANDLE* pSharedHandle) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateCubeTexture(UINT EdgeLength, UINT Levels, DWORD Usage,
                                                D3DFORMAT Format, D3DPOOL Pool,
                                                IDirect3DCubeTexture9** ppCubeTexture,
                                                HANDLE* pSharedHandle) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                                 IDirect3DVertexBuffer9** ppVertexBuffer,
                                                 HANDLE* pSharedHandle) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format,
                                                D3DPOOL Pool, IDirect3DIndexBuffer9** ppIndexBuffer,
                                                HANDLE* pSharedHandle) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateRenderTarget(UINT Width, UINT Height, D3DFORMAT Format,
                                                 D3DMULTISAMPLE_TYPE MultiSample,
                                                 DWORD MultisampleQuality, BOOL Lockable,
                                                 IDirect3DSurface9** ppSurface,
                                                 HANDLE* pSharedHandle) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateDepthStencilSurface(UINT Width, UINT Height, D3DFORMAT Format,
                                                        D3DMULTISAMPLE_TYPE MultiSample,
                                                        DWORD MultisampleQuality, BOOL Discard,
                                                        IDirect3DSurface9** ppSurface,
                                                        HANDLE* pSharedHandle) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE UpdateSurface(IDirect3DSurface9* pSourceSurface,
                                            const RECT* pSourceRect,
                                            IDirect3DSurface9* pDestinationSurface,
                                            const POINT* pDestPoint) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE UpdateTexture(IDirect3DBaseTexture9* pSourceTexture,
                                            IDirect3DBaseTexture9* pDestinationTexture) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetRenderTargetData(IDirect3DSurface9* pRenderTarget,
                                                  IDirect3DSurface9* pDestSurface) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetFrontBufferData(UINT iSwapChain,
                                                 IDirect3DSurface9* pDestSurface) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE StretchRect(IDirect3DSurface9* pSourceSurface,
                                          const RECT* pSourceRect, IDirect3DSurface9* pDestSurface,
                                          const RECT* pDestRect,
                                          D3DTEXTUREFILTERTYPE Filter) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ColorFill(IDirect3DSurface9* pSurface, const RECT* pRect,
                                        D3DCOLOR color) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateOffscreenPlainSurface(UINT Width, UINT Height, D3DFORMAT Format,
                                                          D3DPOOL Pool,
                                                          IDirect3DSurface9** ppSurface,
                                                          HANDLE* pSharedHandle) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetRenderTarget(DWORD RenderTargetIndex,
                                              IDirect3DSurface9* pRenderTarget) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetRenderTarget(DWORD RenderTargetIndex,
                                              IDirect3DSurface9** ppRenderTarget) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetDepthStencilSurface(IDirect3DSurface9* pNewZStencil) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE
    GetDepthStencilSurface(IDirect3DSurface9** ppZStencilSurface) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE BeginScene() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EndScene() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color,
                                    float Z, DWORD Stencil) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE State,
                                           const D3DMATRIX* pMatrix) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetTransform(D3DTRANSFORMSTATETYPE State,
                                           D3DMATRIX* pMatrix) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE MultiplyTransform(D3DTRANSFORMSTATETYPE State,
                                                const D3DMATRIX* pMatrix) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetViewport(const D3DVIEWPORT9* pViewport) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetViewport(D3DVIEWPORT9* pViewport) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMaterial(const D3DMATERIAL9* pMaterial) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetMaterial(D3DMATERIAL9* pMaterial) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetLight(DWORD Index, const D3DLIGHT9* pLight) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetLight(DWORD Index, D3DLIGHT9* pLight) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE LightEnable(DWORD Index, BOOL Enable) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetLightEnable(DWORD Index, BOOL* pEnable) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetClipPlane(DWORD Index, const float* pPlane) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetClipPlane(DWORD Index, float* pPlane) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateStateBlock(D3DSTATEBLOCKTYPE Type,
                                               IDirect3DStateBlock9** ppSB) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE BeginStateBlock() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EndStateBlock(IDirect3DStateBlock9** ppSB) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetClipStatus(const D3DCLIPSTATUS9* pClipStatus) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetClipStatus(D3DCLIPSTATUS9* pClipStatus) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetTexture(DWORD Stage, IDirect3DBaseTexture9** ppTexture) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                                   DWORD* pValue) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                                   DWORD Value) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type,
                                              DWORD* pValue) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type,
                                              DWORD Value) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ValidateDevice(DWORD* pNumPasses) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPaletteEntries(UINT PaletteNumber,
                                                const PALETTEENTRY* pEntries) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetPaletteEntries(UINT PaletteNumber,
                                                PALETTEENTRY* pEntries) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetCurrentTexturePalette(UINT PaletteNumber) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetCurrentTexturePalette(UINT* PaletteNumber) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetScissorRect(const RECT* pRect) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetScissorRect(RECT* pRect) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSoftwareVertexProcessing(BOOL bSoftware) override {
        return E_NOTIMPL;
    }
    BOOL STDMETHODCALLTYPE GetSoftwareVertexProcessing() override { return {}; }
    HRESULT STDMETHODCALLTYPE SetNPatchMode(float nSegments) override { return E_NOTIMPL; }
    float STDMETHODCALLTYPE GetNPatchMode() override { return {}; }
    HRESULT STDMETHODCALLTYPE DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex,
                                            UINT PrimitiveCount) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType,
                                                   INT BaseVertexIndex, UINT MinVertexIndex,
                                                   UINT NumVertices, UINT startIndex,
                                                   UINT primCount) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DrawPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT PrimitiveCount,
                                              const void* pVertexStreamZeroData,
                                              UINT VertexStreamZeroStride) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType,
                                                     UINT MinVertexIndex, UINT NumVertices,
                                                     UINT PrimitiveCount, const void* pIndexData,
                                                     D3DFORMAT IndexDataFormat,
                                                     const void* pVertexStreamZeroData,
                                                     UINT VertexStreamZeroStride) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ProcessVertices(UINT SrcStartIndex, UINT DestIndex, UINT VertexCount,
                                              IDirect3DVertexBuffer9* pDestBuffer,
                                              IDirect3DVertexDeclaration9* pVertexDecl,
                                              DWORD Flags) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateVertexDeclaration(
        const D3DVERTEXELEMENT9* pVertexElements, IDirect3DVertexDeclaration9** ppDecl) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetVertexDeclaration(IDirect3DVertexDeclaration9* pDecl) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetVertexDeclaration(IDirect3DVertexDeclaration9** ppDecl) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetFVF(DWORD FVF) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFVF(DWORD* pFVF) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateVertexShader(const DWORD* pFunction,
                                                 IDirect3DVertexShader9** ppShader) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetVertexShader(IDirect3DVertexShader9* pShader) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetVertexShader(IDirect3DVertexShader9** ppShader) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetVertexShaderConstantF(UINT StartRegister,
                                                       const float* pConstantData,
                                                       UINT Vector4fCount) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetVertexShaderConstantF(UINT StartRegister, float* pConstantData,
                                                       UINT Vector4fCount) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetVertexShaderConstantI(UINT StartRegister, const int* pConstantData,
                                                       UINT Vector4iCount) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetVertexShaderConstantI(UINT StartRegister, int* pConstantData,
                                                       UINT Vector4iCount) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetVertexShaderConstantB(UINT StartRegister,
                                                       const BOOL* pConstantData,
                                                       UINT BoolCount) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetVertexShaderConstantB(UINT StartRegister, BOOL* pConstantData,
                                                       UINT BoolCount) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetStreamSource(UINT StreamNumber,
                                              IDirect3DVertexBuffer9* pStreamData,
                                              UINT OffsetInBytes, UINT Stride) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetStreamSource(UINT StreamNumber,
                                              IDirect3DVertexBuffer9** ppStreamData,
                                              UINT* pOffsetInBytes, UINT* pStride) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetStreamSourceFreq(UINT StreamNumber, UINT Setting) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetStreamSourceFreq(UINT StreamNumber, UINT* pSetting) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetIndices(IDirect3DIndexBuffer9* pIndexData) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIndices(IDirect3DIndexBuffer9** ppIndexData) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreatePixelShader(const DWORD* pFunction,
                                                IDirect3DPixelShader9** ppShader) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetPixelShader(IDirect3DPixelShader9* pShader) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetPixelShader(IDirect3DPixelShader9** ppShader) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetPixelShaderConstantF(UINT StartRegister,
                                                      const float* pConstantData,
                                                      UINT Vector4fCount) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetPixelShaderConstantF(UINT StartRegister, float* pConstantData,
                                                      UINT Vector4fCount) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetPixelShaderConstantI(UINT StartRegister, const int* pConstantData,
                                                      UINT Vector4iCount) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetPixelShaderConstantI(UINT StartRegister, int* pConstantData,
                                                      UINT Vector4iCount) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetPixelShaderConstantB(UINT StartRegister, const BOOL* pConstantData,
                                                      UINT BoolCount) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetPixelShaderConstantB(UINT StartRegister, BOOL* pConstantData,
                                                      UINT BoolCount) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DrawRectPatch(UINT Handle, const float* pNumSegs,
                                            const D3DRECTPATCH_INFO* pRectPatchInfo) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DrawTriPatch(UINT Handle, const float* pNumSegs,
                                           const D3DTRIPATCH_INFO* pTriPatchInfo) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DeletePatch(UINT Handle) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateQuery(D3DQUERYTYPE Type, IDirect3DQuery9** ppQuery) override {
        return E_NOTIMPL;
    }
};

class BlankTexture : public BlankUnknown<IDirect3DTexture9> {
public:
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** ppDevice) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID refguid, const void* pData, DWORD SizeOfData,
                                             DWORD Flags) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID refguid, void* pData,
                                             DWORD* pSizeOfData) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FreePrivateData(REFGUID refguid) override { return E_NOTIMPL; }
    DWORD STDMETHODCALLTYPE SetPriority(DWORD PriorityNew) override { return {}; }
    DWORD STDMETHODCALLTYPE GetPriority() override { return {}; }
    void STDMETHODCALLTYPE PreLoad() override {}
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_SURFACE; }
    DWORD STDMETHODCALLTYPE SetLOD(DWORD LODNew) override { return {}; }
    DWORD STDMETHODCALLTYPE GetLOD() override { return {}; }
    DWORD STDMETHODCALLTYPE GetLevelCount() override { return {}; }
    HRESULT STDMETHODCALLTYPE SetAutoGenFilterType(D3DTEXTUREFILTERTYPE FilterType) override {
        return E_NOTIMPL;
    }
    D3DTEXTUREFILTERTYPE STDMETHODCALLTYPE GetAutoGenFilterType() override { return D3DTEXF_NONE; }
    void STDMETHODCALLTYPE GenerateMipSubLevels() override {}
    HRESULT STDMETHODCALLTYPE GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetSurfaceLevel(UINT Level,
                                              IDirect3DSurface9** ppSurfaceLevel) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect,
                                       DWORD Flags) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE UnlockRect(UINT Level) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddDirtyRect(const RECT* pDirtyRect) override { return E_NOTIMPL; }
};

class BlankVertexBuffer : public BlankUnknown<IDirect3DVertexBuffer9> {
public:
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** ppDevice) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID refguid, const void* pData, DWORD SizeOfData,
                                             DWORD Flags) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID refguid, void* pData,
                                             DWORD* pSizeOfData) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FreePrivateData(REFGUID refguid) override { return E_NOTIMPL; }
    DWORD STDMETHODCALLTYPE SetPriority(DWORD PriorityNew) override { return {}; }
    DWORD STDMETHODCALLTYPE GetPriority() override { return {}; }
    void STDMETHODCALLTYPE PreLoad() override {}
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_SURFACE; }
    HRESULT STDMETHODCALLTYPE Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData,
                                   DWORD Flags) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Unlock() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDesc(D3DVERTEXBUFFER_DESC* pDesc) override { return E_NOTIMPL; }
};

class BlankIndexBuffer : public BlankUnknown<IDirect3DIndexBuffer9> {
public:
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** ppDevice) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID refguid, const void* pData, DWORD SizeOfData,
                                             DWORD Flags) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID refguid, void* pData,
                                             DWORD* pSizeOfData) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FreePrivateData(REFGUID refguid) override { return E_NOTIMPL; }
    DWORD STDMETHODCALLTYPE SetPriority(DWORD PriorityNew) override { return {}; }
    DWORD STDMETHODCALLTYPE GetPriority() override { return {}; }
    void STDMETHODCALLTYPE PreLoad() override {}
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_SURFACE; }
    HRESULT STDMETHODCALLTYPE Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData,
                                   DWORD Flags) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Unlock() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDesc(D3DINDEXBUFFER_DESC* pDesc) override { return E_NOTIMPL; }
};

class BlankVertexDeclaration : public BlankUnknown<IDirect3DVertexDeclaration9> {
public:
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** ppDevice) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDeclaration(D3DVERTEXELEMENT9* pElement,
                                             UINT* pNumElements) override {
        return E_NOTIMPL;
    }
};

class BlankVertexShader : public BlankUnknown<IDirect3DVertexShader9> {
public:
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** ppDevice) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFunction(void* pData, UINT* pSizeOfData) override {
        return E_NOTIMPL;
    }
};

class BlankPixelShader : public BlankUnknown<IDirect3DPixelShader9> {
public:
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** ppDevice) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFunction(void* pData, UINT* pSizeOfData) override {
        return E_NOTIMPL;
    }
};

#pragma GCC diagnostic pop
