#pragma once

#include "SilentDirect3D.h"

#include <map>
#include <string>
#include <vector>

// A Direct3D 9 device that draws nothing and writes down the calls it receives, one line per
// call, so that tests can compare a pass's calls and states with what it must issue. The
// objects it creates are reference counted and counted, so that a test can see every one of
// them given back.
class CallRecordingDevice : public SilentDevice {
public:
    CallRecordingDevice();
    ~CallRecordingDevice();

    // When false, only the counters move: nothing is allocated per call.
    bool recording = true;
    std::vector<std::string> calls;
    int drawCalls = 0;
    int stateChanges = 0;
    int liveObjects = 0;

    void clearCalls();
    // The recorded lines that start with `prefix`, in order.
    std::vector<std::string> callsStartingWith(const std::string& prefix) const;
    // Index of the first line equal to `call` at or after `from`; -1 when there is none.
    int find(const std::string& call, int from = 0) const;

    // Gives an object a name for the log (objects the device creates are named by kind and
    // creation number: "texture1", "surface2", "vs1", ...).
    void label(const void* object, const std::string& name);
    std::string nameOf(const void* object) const;
    void rename(const std::string& from, const std::string& to);
    void record(const std::string& call);

    // The vertices of the last DrawPrimitiveUP.
    std::vector<unsigned char> lastVertices;
    // The texels written into the last volume texture, 4 bytes each, x fastest.
    std::vector<unsigned char> volumeTexels;
    // The render states as last set.
    std::map<D3DRENDERSTATETYPE, DWORD> renderStates;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }

    HRESULT STDMETHODCALLTYPE CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage,
                                            D3DFORMAT Format, D3DPOOL Pool,
                                            IDirect3DTexture9** ppTexture,
                                            HANDLE* pSharedHandle) override;
    HRESULT STDMETHODCALLTYPE CreateVolumeTexture(UINT Width, UINT Height, UINT Depth, UINT Levels,
                                                  DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                                  IDirect3DVolumeTexture9** ppVolumeTexture,
                                                  HANDLE* pSharedHandle) override;
    HRESULT STDMETHODCALLTYPE GetBackBuffer(UINT iSwapChain, UINT iBackBuffer,
                                            D3DBACKBUFFER_TYPE Type,
                                            IDirect3DSurface9** ppBackBuffer) override;
    HRESULT STDMETHODCALLTYPE CreateVertexShader(const DWORD* pFunction,
                                                 IDirect3DVertexShader9** ppShader) override;
    HRESULT STDMETHODCALLTYPE CreatePixelShader(const DWORD* pFunction,
                                                IDirect3DPixelShader9** ppShader) override;

    HRESULT STDMETHODCALLTYPE Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color,
                                    float Z, DWORD Stencil) override;
    HRESULT STDMETHODCALLTYPE BeginScene() override;
    HRESULT STDMETHODCALLTYPE EndScene() override;
    HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE State,
                                           const D3DMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE SetRenderTarget(DWORD RenderTargetIndex,
                                              IDirect3DSurface9* pRenderTarget) override;
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) override;
    HRESULT STDMETHODCALLTYPE GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) override;
    HRESULT STDMETHODCALLTYPE SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) override;
    HRESULT STDMETHODCALLTYPE SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                                   DWORD Value) override;
    HRESULT STDMETHODCALLTYPE SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type,
                                              DWORD Value) override;
    HRESULT STDMETHODCALLTYPE SetFVF(DWORD FVF) override;
    HRESULT STDMETHODCALLTYPE SetVertexDeclaration(IDirect3DVertexDeclaration9* pDecl) override;
    HRESULT STDMETHODCALLTYPE SetVertexShader(IDirect3DVertexShader9* pShader) override;
    HRESULT STDMETHODCALLTYPE SetPixelShader(IDirect3DPixelShader9* pShader) override;
    HRESULT STDMETHODCALLTYPE SetVertexShaderConstantF(UINT StartRegister,
                                                       const float* pConstantData,
                                                       UINT Vector4fCount) override;
    HRESULT STDMETHODCALLTYPE SetPixelShaderConstantF(UINT StartRegister,
                                                      const float* pConstantData,
                                                      UINT Vector4fCount) override;
    HRESULT STDMETHODCALLTYPE DrawPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT PrimitiveCount,
                                              const void* pVertexStreamZeroData,
                                              UINT VertexStreamZeroStride) override;
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType,
                                                   INT BaseVertexIndex, UINT MinVertexIndex,
                                                   UINT NumVertices, UINT startIndex,
                                                   UINT primCount) override;

private:
    std::string nameNew(const void* object, const char* kind);

    ULONG m_references = 1;
    std::map<const void*, std::string> m_names;
    std::map<std::string, int> m_created;
};

// The lines the device writes for the calls tests most often expect.
std::string renderState(D3DRENDERSTATETYPE state, DWORD value);
std::string stageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value);
std::string samplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value);
std::string setTexture(DWORD stage, const std::string& name);
std::string drawUp(UINT primitives, UINT stride);
