#pragma once

// The Direct3D 9 device on an OpenGL 3.3 core context.
//
// Every target is drawn in Direct3D's row order (row 0 stored first), so render-target textures
// sample the right way up and pixel coordinates mean the same on both sides; clip-space y is
// flipped for that and the one flip back happens when Present copies the back buffer to the
// window. The back buffer is a texture of its own; the one depth buffer is attached beside
// whatever colour target is set, as Direct3D 9 shares it between targets of any size.

#include "ComObject.h"
#include "DeviceState.h"
#include "DrawState.h"
#include "Gl.h"

#include <map>
#include <memory>
#include <unordered_set>
#include <vector>

struct SDL_Window;

namespace tarnelix::d3d9 {

class Direct3D9;
class Surface;
class BoundTexture;
class VertexBuffer;
class IndexBuffer;
class VertexDeclaration;
class VertexShader;
class PixelShader;
class ProgramCache;
class StreamRing;
class Query;
class StateBlock;

class Device final : public ComObject<IDirect3DDevice9> {
public:
    static HRESULT create(Direct3D9* parent, HWND focusWindow, DWORD behaviorFlags,
                          D3DPRESENT_PARAMETERS& parameters, IDirect3DDevice9** out);
    ~Device() override;

    void registerChild(DeviceChild* child) { children_.insert(child); }
    void unregisterChild(DeviceChild* child) {
        children_.erase(child);
        forgetNamedBindings();
    }
    // Makes the device's GL context current (objects may be made while another is current).
    void makeCurrent();
    GLuint readFramebuffer() const { return readFramebuffer_; }
    // Drops the linked programs of a shader object about to be deleted.
    void forgetShader(GLuint shader);
    // The number of generated fixed-function shaders (for tests and benchmarks).
    size_t fixedShaderCount() const;
    // The occlusion query GL counts samples for: GL counts for one at a time.
    Query* countingQuery() const { return countingQuery_; }
    void setCountingQuery(Query* query) { countingQuery_ = query; }
    // The indices of the lights set or enabled so far, in order.
    std::vector<DWORD> lightIndices() const;
    bool recordingStateBlock() const { return recording_ != nullptr; }

    // IDirect3DDevice9
    HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override;
    UINT STDMETHODCALLTYPE GetAvailableTextureMem() override;
    HRESULT STDMETHODCALLTYPE EvictManagedResources() override;
    HRESULT STDMETHODCALLTYPE GetDirect3D(IDirect3D9** d3d) override;
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(D3DCAPS9* caps) override;
    HRESULT STDMETHODCALLTYPE GetDisplayMode(UINT swapChain, D3DDISPLAYMODE* mode) override;
    HRESULT STDMETHODCALLTYPE
    GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters) override;
    HRESULT STDMETHODCALLTYPE SetCursorProperties(UINT, UINT, IDirect3DSurface9*) override;
    void STDMETHODCALLTYPE SetCursorPosition(int, int, DWORD) override;
    BOOL STDMETHODCALLTYPE ShowCursor(BOOL show) override;
    HRESULT STDMETHODCALLTYPE CreateAdditionalSwapChain(D3DPRESENT_PARAMETERS*,
                                                        IDirect3DSwapChain9**) override;
    HRESULT STDMETHODCALLTYPE GetSwapChain(UINT, IDirect3DSwapChain9**) override;
    UINT STDMETHODCALLTYPE GetNumberOfSwapChains() override;
    HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS* parameters) override;
    HRESULT STDMETHODCALLTYPE Present(const RECT* sourceRect, const RECT* destRect,
                                      HWND overrideWindow, const RGNDATA* dirtyRegion) override;
    HRESULT STDMETHODCALLTYPE GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type,
                                            IDirect3DSurface9** surface) override;
    HRESULT STDMETHODCALLTYPE GetRasterStatus(UINT, D3DRASTER_STATUS* status) override;
    HRESULT STDMETHODCALLTYPE SetDialogBoxMode(BOOL) override;
    void STDMETHODCALLTYPE SetGammaRamp(UINT, DWORD, const D3DGAMMARAMP*) override;
    void STDMETHODCALLTYPE GetGammaRamp(UINT, D3DGAMMARAMP* ramp) override;
    HRESULT STDMETHODCALLTYPE CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                            D3DFORMAT format, D3DPOOL pool,
                                            IDirect3DTexture9** texture, HANDLE* shared) override;
    HRESULT STDMETHODCALLTYPE CreateVolumeTexture(UINT width, UINT height, UINT depth, UINT levels,
                                                  DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                                  IDirect3DVolumeTexture9** texture,
                                                  HANDLE* shared) override;
    HRESULT STDMETHODCALLTYPE CreateCubeTexture(UINT edge, UINT levels, DWORD usage,
                                                D3DFORMAT format, D3DPOOL pool,
                                                IDirect3DCubeTexture9** texture,
                                                HANDLE* shared) override;
    HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                                 IDirect3DVertexBuffer9** buffer,
                                                 HANDLE* shared) override;
    HRESULT STDMETHODCALLTYPE CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format,
                                                D3DPOOL pool, IDirect3DIndexBuffer9** buffer,
                                                HANDLE* shared) override;
    HRESULT STDMETHODCALLTYPE CreateRenderTarget(UINT width, UINT height, D3DFORMAT format,
                                                 D3DMULTISAMPLE_TYPE samples, DWORD quality,
                                                 BOOL lockable, IDirect3DSurface9** surface,
                                                 HANDLE* shared) override;
    HRESULT STDMETHODCALLTYPE CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                                        D3DMULTISAMPLE_TYPE samples, DWORD quality,
                                                        BOOL discard, IDirect3DSurface9** surface,
                                                        HANDLE* shared) override;
    HRESULT STDMETHODCALLTYPE UpdateSurface(IDirect3DSurface9* source, const RECT* sourceRect,
                                            IDirect3DSurface9* dest,
                                            const POINT* destPoint) override;
    HRESULT STDMETHODCALLTYPE UpdateTexture(IDirect3DBaseTexture9* source,
                                            IDirect3DBaseTexture9* dest) override;
    HRESULT STDMETHODCALLTYPE GetRenderTargetData(IDirect3DSurface9* renderTarget,
                                                  IDirect3DSurface9* dest) override;
    HRESULT STDMETHODCALLTYPE GetFrontBufferData(UINT, IDirect3DSurface9*) override;
    HRESULT STDMETHODCALLTYPE StretchRect(IDirect3DSurface9* source, const RECT* sourceRect,
                                          IDirect3DSurface9* dest, const RECT* destRect,
                                          D3DTEXTUREFILTERTYPE filter) override;
    HRESULT STDMETHODCALLTYPE ColorFill(IDirect3DSurface9* surface, const RECT* rect,
                                        D3DCOLOR color) override;
    HRESULT STDMETHODCALLTYPE CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format,
                                                          D3DPOOL pool, IDirect3DSurface9** surface,
                                                          HANDLE* shared) override;
    HRESULT STDMETHODCALLTYPE SetRenderTarget(DWORD index, IDirect3DSurface9* surface) override;
    HRESULT STDMETHODCALLTYPE GetRenderTarget(DWORD index, IDirect3DSurface9** surface) override;
    HRESULT STDMETHODCALLTYPE SetDepthStencilSurface(IDirect3DSurface9* surface) override;
    HRESULT STDMETHODCALLTYPE GetDepthStencilSurface(IDirect3DSurface9** surface) override;
    HRESULT STDMETHODCALLTYPE BeginScene() override;
    HRESULT STDMETHODCALLTYPE EndScene() override;
    HRESULT STDMETHODCALLTYPE Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color,
                                    float z, DWORD stencil) override;
    HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE state,
                                           const D3DMATRIX* matrix) override;
    HRESULT STDMETHODCALLTYPE GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT STDMETHODCALLTYPE MultiplyTransform(D3DTRANSFORMSTATETYPE state,
                                                const D3DMATRIX* matrix) override;
    HRESULT STDMETHODCALLTYPE SetViewport(const D3DVIEWPORT9* viewport) override;
    HRESULT STDMETHODCALLTYPE GetViewport(D3DVIEWPORT9* viewport) override;
    HRESULT STDMETHODCALLTYPE SetMaterial(const D3DMATERIAL9* material) override;
    HRESULT STDMETHODCALLTYPE GetMaterial(D3DMATERIAL9* material) override;
    HRESULT STDMETHODCALLTYPE SetLight(DWORD index, const D3DLIGHT9* light) override;
    HRESULT STDMETHODCALLTYPE GetLight(DWORD index, D3DLIGHT9* light) override;
    HRESULT STDMETHODCALLTYPE LightEnable(DWORD index, BOOL enable) override;
    HRESULT STDMETHODCALLTYPE GetLightEnable(DWORD index, BOOL* enable) override;
    HRESULT STDMETHODCALLTYPE SetClipPlane(DWORD index, const float* plane) override;
    HRESULT STDMETHODCALLTYPE GetClipPlane(DWORD index, float* plane) override;
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT STDMETHODCALLTYPE GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT STDMETHODCALLTYPE CreateStateBlock(D3DSTATEBLOCKTYPE, IDirect3DStateBlock9**) override;
    HRESULT STDMETHODCALLTYPE BeginStateBlock() override;
    HRESULT STDMETHODCALLTYPE EndStateBlock(IDirect3DStateBlock9**) override;
    HRESULT STDMETHODCALLTYPE SetClipStatus(const D3DCLIPSTATUS9*) override;
    HRESULT STDMETHODCALLTYPE GetClipStatus(D3DCLIPSTATUS9*) override;
    HRESULT STDMETHODCALLTYPE GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) override;
    HRESULT STDMETHODCALLTYPE SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
    HRESULT STDMETHODCALLTYPE GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                                   DWORD* value) override;
    HRESULT STDMETHODCALLTYPE SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                                   DWORD value) override;
    HRESULT STDMETHODCALLTYPE GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type,
                                              DWORD* value) override;
    HRESULT STDMETHODCALLTYPE SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type,
                                              DWORD value) override;
    HRESULT STDMETHODCALLTYPE ValidateDevice(DWORD* passes) override;
    HRESULT STDMETHODCALLTYPE SetPaletteEntries(UINT, const PALETTEENTRY*) override;
    HRESULT STDMETHODCALLTYPE GetPaletteEntries(UINT, PALETTEENTRY*) override;
    HRESULT STDMETHODCALLTYPE SetCurrentTexturePalette(UINT) override;
    HRESULT STDMETHODCALLTYPE GetCurrentTexturePalette(UINT*) override;
    HRESULT STDMETHODCALLTYPE SetScissorRect(const RECT* rect) override;
    HRESULT STDMETHODCALLTYPE GetScissorRect(RECT* rect) override;
    HRESULT STDMETHODCALLTYPE SetSoftwareVertexProcessing(BOOL) override;
    BOOL STDMETHODCALLTYPE GetSoftwareVertexProcessing() override;
    HRESULT STDMETHODCALLTYPE SetNPatchMode(float) override;
    float STDMETHODCALLTYPE GetNPatchMode() override;
    HRESULT STDMETHODCALLTYPE DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex,
                                            UINT primitiveCount) override;
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertex,
                                                   UINT minIndex, UINT vertexCount, UINT startIndex,
                                                   UINT primitiveCount) override;
    HRESULT STDMETHODCALLTYPE DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount,
                                              const void* vertices, UINT stride) override;
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minIndex,
                                                     UINT vertexCount, UINT primitiveCount,
                                                     const void* indices, D3DFORMAT indexFormat,
                                                     const void* vertices, UINT stride) override;
    HRESULT STDMETHODCALLTYPE ProcessVertices(UINT, UINT, UINT, IDirect3DVertexBuffer9*,
                                              IDirect3DVertexDeclaration9*, DWORD) override;
    HRESULT STDMETHODCALLTYPE CreateVertexDeclaration(const D3DVERTEXELEMENT9* elements,
                                                      IDirect3DVertexDeclaration9** decl) override;
    HRESULT STDMETHODCALLTYPE SetVertexDeclaration(IDirect3DVertexDeclaration9* decl) override;
    HRESULT STDMETHODCALLTYPE GetVertexDeclaration(IDirect3DVertexDeclaration9** decl) override;
    HRESULT STDMETHODCALLTYPE SetFVF(DWORD fvf) override;
    HRESULT STDMETHODCALLTYPE GetFVF(DWORD* fvf) override;
    HRESULT STDMETHODCALLTYPE CreateVertexShader(const DWORD* function,
                                                 IDirect3DVertexShader9** shader) override;
    HRESULT STDMETHODCALLTYPE SetVertexShader(IDirect3DVertexShader9* shader) override;
    HRESULT STDMETHODCALLTYPE GetVertexShader(IDirect3DVertexShader9** shader) override;
    HRESULT STDMETHODCALLTYPE SetVertexShaderConstantF(UINT start, const float* data,
                                                       UINT count) override;
    HRESULT STDMETHODCALLTYPE GetVertexShaderConstantF(UINT start, float* data,
                                                       UINT count) override;
    HRESULT STDMETHODCALLTYPE SetVertexShaderConstantI(UINT start, const int* data,
                                                       UINT count) override;
    HRESULT STDMETHODCALLTYPE GetVertexShaderConstantI(UINT start, int* data, UINT count) override;
    HRESULT STDMETHODCALLTYPE SetVertexShaderConstantB(UINT start, const BOOL* data,
                                                       UINT count) override;
    HRESULT STDMETHODCALLTYPE GetVertexShaderConstantB(UINT start, BOOL* data, UINT count) override;
    HRESULT STDMETHODCALLTYPE SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer,
                                              UINT offset, UINT stride) override;
    HRESULT STDMETHODCALLTYPE GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer,
                                              UINT* offset, UINT* stride) override;
    HRESULT STDMETHODCALLTYPE SetStreamSourceFreq(UINT stream, UINT setting) override;
    HRESULT STDMETHODCALLTYPE GetStreamSourceFreq(UINT stream, UINT* setting) override;
    HRESULT STDMETHODCALLTYPE SetIndices(IDirect3DIndexBuffer9* buffer) override;
    HRESULT STDMETHODCALLTYPE GetIndices(IDirect3DIndexBuffer9** buffer) override;
    HRESULT STDMETHODCALLTYPE CreatePixelShader(const DWORD* function,
                                                IDirect3DPixelShader9** shader) override;
    HRESULT STDMETHODCALLTYPE SetPixelShader(IDirect3DPixelShader9* shader) override;
    HRESULT STDMETHODCALLTYPE GetPixelShader(IDirect3DPixelShader9** shader) override;
    HRESULT STDMETHODCALLTYPE SetPixelShaderConstantF(UINT start, const float* data,
                                                      UINT count) override;
    HRESULT STDMETHODCALLTYPE GetPixelShaderConstantF(UINT start, float* data, UINT count) override;
    HRESULT STDMETHODCALLTYPE SetPixelShaderConstantI(UINT start, const int* data,
                                                      UINT count) override;
    HRESULT STDMETHODCALLTYPE GetPixelShaderConstantI(UINT start, int* data, UINT count) override;
    HRESULT STDMETHODCALLTYPE SetPixelShaderConstantB(UINT start, const BOOL* data,
                                                      UINT count) override;
    HRESULT STDMETHODCALLTYPE GetPixelShaderConstantB(UINT start, BOOL* data, UINT count) override;
    HRESULT STDMETHODCALLTYPE DrawRectPatch(UINT, const float*, const D3DRECTPATCH_INFO*) override;
    HRESULT STDMETHODCALLTYPE DrawTriPatch(UINT, const float*, const D3DTRIPATCH_INFO*) override;
    HRESULT STDMETHODCALLTYPE DeletePatch(UINT) override;
    HRESULT STDMETHODCALLTYPE CreateQuery(D3DQUERYTYPE, IDirect3DQuery9**) override;

private:
    Device(Direct3D9* parent, HWND focusWindow, DWORD behaviorFlags);

    bool initialiseGl();
    // Applies presentation parameters: window mode, back buffer, depth buffer, vsync.
    HRESULT applyPresentation(D3DPRESENT_PARAMETERS& parameters);
    void resetState();
    void setRenderTargetInternal(Surface* surface);
    void fullTargetViewport();

    // Drawing.
    bool prepareDraw(bool points);
    void refreshStageTextureKinds();
    void applyRenderTarget();
    // Attaches a surface's colour to the draw framebuffer (ColorFill, StretchRect), keeping the
    // record of what is attached true.
    void attachColour(GLenum framebuffer, Surface* surface);
    void forgetNamedBindings();
    void applyFixedState();
    void applyTextures();
    // instances: 0 for a plain draw, else the count stream 0's frequency asks for.
    void applyVertexInput(GLuint upBuffer, UINT upStride, UINT instances = 0);
    UINT instanceCount() const;
    void applyUniforms();
    bool resolveProgram();
    // Fixed-function lighting, fog, points and clip planes (DeviceFixedFunction.cpp).
    void transformsChanged(D3DTRANSFORMSTATETYPE state);
    void lightsChanged(bool programChanged);
    void applyFixedFunctionUniforms(Program& program); // lights and clip planes
    void uploadFixedValues(Program& program);          // material specular, fog, points
    void uploadPointSize(Program& program);
    void applyClipDistances(uint32_t planes);
    void applyPointSize(bool generatedVertex);
    float maxPointSize() const;
    VertexDeclaration* currentDeclaration();
    VertexDeclaration* declarationForFvf(DWORD fvf);
    void markTextureDirty(DWORD sampler);

    Direct3D9* parent_;
    HWND focusWindow_;
    DWORD behaviorFlags_;
    SDL_Window* window_ = nullptr;
    void* context_ = nullptr;
    D3DPRESENT_PARAMETERS presentation_{};
    std::unordered_set<DeviceChild*> children_;

    // Targets (held references).
    Surface* backBuffer_ = nullptr;
    Surface* autoDepth_ = nullptr;
    Surface* renderTarget_ = nullptr;
    Surface* depthStencil_ = nullptr;
    GLuint framebuffer_ = 0;
    GLuint readFramebuffer_ = 0;
    GLuint attachedColour_ = 0;
    GLint attachedLevel_ = -1;
    GLenum attachedImage_ = GL_TEXTURE_2D; // a cube face's target, where a face is attached
    GLuint attachedDepth_ = 0;

    // The driver's largest sizes: a texture or surface beyond them is refused, never left to
    // fail in GL.
    struct SizeLimits {
        UINT texture = 0;
        UINT volume = 0;
        UINT cube = 0;
        UINT surface = 0;
    } limits_;
    void readSizeLimits();
    void findOptionalGl(int version);

    DeviceState state_{};
    D3DMATRIX transforms_[kTransformCount];
    D3DVIEWPORT9 viewport_{};
    struct Light {
        D3DLIGHT9 light{};
        bool enabled = false;
    };
    // By index: a program may use any DWORD, and few lights, so the set is sparse.
    std::map<DWORD, Light> lights_;
    float clipPlanes_[D3DMAXUSERCLIPPLANES][4] = {};
    RECT scissor_{};
    bool inScene_ = false;

    // Bound objects (held references).
    IDirect3DBaseTexture9* textures_[kSamplerCount] = {};
    BoundTexture* boundTextures_[kSamplerCount] = {}; // the device's view of textures_
    struct Stream {
        VertexBuffer* buffer = nullptr;
        UINT offset = 0;
        UINT stride = 0;
        UINT frequency = 1; // as SetStreamSourceFreq set it
    } streams_[kStreamCount];
    IndexBuffer* indices_ = nullptr;
    VertexDeclaration* declaration_ = nullptr;
    DWORD fvf_ = 0;
    std::vector<std::pair<DWORD, VertexDeclaration*>> fvfDeclarations_;
    VertexShader* vertexShader_ = nullptr;
    PixelShader* pixelShader_ = nullptr;

    // Constant registers.
    float vsFloat_[kVertexFloatRegisters][4] = {};
    float psFloat_[kPixelFloatRegisters][4] = {};
    int vsInt_[kIntRegisters][4] = {};
    int psInt_[kIntRegisters][4] = {};
    BOOL vsBool_[kBoolRegisters] = {};
    BOOL psBool_[kBoolRegisters] = {};

    DrawState draw_;
    std::unique_ptr<ProgramCache> programs_;
    std::unique_ptr<StreamRing> vertexRing_;
    std::unique_ptr<StreamRing> indexRing_;
    Query* countingQuery_ = nullptr;
    // Between BeginStateBlock and EndStateBlock the Set* calls go into this block, not the device.
    StateBlock* recording_ = nullptr;
};

} // namespace tarnelix::d3d9
