#include "CallRecordingDevice.h"

#include "BlankDevice.h"

#include <cstdio>

namespace {

// Reference counted, and counted among the device's live objects.
template <typename Base> class Counted : public BlankUnknown<Base> {
public:
    explicit Counted(CallRecordingDevice& device) : m_device(device) { ++m_device.liveObjects; }
    ~Counted() override { --m_device.liveObjects; }

protected:
    CallRecordingDevice& m_device;
};

using RecordedSurface = Counted<SilentSurface>;
using RecordedVertexShader = Counted<SilentVertexShader>;
using RecordedPixelShader = Counted<SilentPixelShader>;

class RecordedTexture : public Counted<SilentTexture> {
public:
    using Counted::Counted;
    ~RecordedTexture() override {
        if (m_surface != nullptr) {
            m_surface->Release();
        }
    }
    HRESULT STDMETHODCALLTYPE GetSurfaceLevel(UINT, IDirect3DSurface9** surface) override {
        if (m_surface == nullptr) {
            m_surface = new RecordedSurface(m_device);
            m_device.label(m_surface, m_device.nameOf(this) + ".surface");
        }
        m_surface->AddRef();
        *surface = m_surface;
        return S_OK;
    }

private:
    RecordedSurface* m_surface = nullptr;
};

class RecordedVolume : public Counted<SilentVolumeTexture> {
public:
    RecordedVolume(CallRecordingDevice& device, UINT width, UINT height, UINT depth)
        : Counted(device), m_width(width), m_height(height), m_depth(depth),
          m_texels(static_cast<size_t>(width) * height * depth * 4) {}
    HRESULT STDMETHODCALLTYPE LockBox(UINT, D3DLOCKED_BOX* box, const D3DBOX*, DWORD) override {
        box->RowPitch = static_cast<INT>(m_width * 4);
        box->SlicePitch = static_cast<INT>(m_width * m_height * 4);
        box->pBits = m_texels.data();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UnlockBox(UINT) override {
        m_device.volumeTexels = m_texels;
        return S_OK;
    }

private:
    UINT m_width, m_height, m_depth;
    std::vector<unsigned char> m_texels;
};

// The names the log uses for the states the passes set; others appear as numbers. Constant
// tables, so that tests may build expected lines during static initialisation.
struct StateName {
    DWORD value;
    const char* name;
};
constexpr StateName kRenderStateNames[] = {{D3DRS_ZENABLE, "ZENABLE"},
                                           {D3DRS_ZWRITEENABLE, "ZWRITEENABLE"},
                                           {D3DRS_ALPHATESTENABLE, "ALPHATESTENABLE"},
                                           {D3DRS_SRCBLEND, "SRCBLEND"},
                                           {D3DRS_DESTBLEND, "DESTBLEND"},
                                           {D3DRS_CULLMODE, "CULLMODE"},
                                           {D3DRS_ZFUNC, "ZFUNC"},
                                           {D3DRS_ALPHAREF, "ALPHAREF"},
                                           {D3DRS_ALPHAFUNC, "ALPHAFUNC"},
                                           {D3DRS_ALPHABLENDENABLE, "ALPHABLENDENABLE"},
                                           {D3DRS_LIGHTING, "LIGHTING"}};
constexpr StateName kStageStateNames[] = {
    {D3DTSS_COLOROP, "COLOROP"},     {D3DTSS_COLORARG0, "COLORARG0"},
    {D3DTSS_COLORARG1, "COLORARG1"}, {D3DTSS_COLORARG2, "COLORARG2"},
    {D3DTSS_ALPHAOP, "ALPHAOP"},     {D3DTSS_ALPHAARG1, "ALPHAARG1"},
    {D3DTSS_ALPHAARG2, "ALPHAARG2"}, {D3DTSS_TEXCOORDINDEX, "TEXCOORDINDEX"}};
constexpr StateName kSamplerStateNames[] = {
    {D3DSAMP_ADDRESSU, "ADDRESSU"},          {D3DSAMP_ADDRESSV, "ADDRESSV"},
    {D3DSAMP_ADDRESSW, "ADDRESSW"},          {D3DSAMP_MAGFILTER, "MAGFILTER"},
    {D3DSAMP_MINFILTER, "MINFILTER"},        {D3DSAMP_MIPFILTER, "MIPFILTER"},
    {D3DSAMP_MAXANISOTROPY, "MAXANISOTROPY"}};

template <size_t N> std::string nameOrNumber(const StateName (&names)[N], DWORD value) {
    for (const StateName& known : names) {
        if (known.value == value) {
            return known.name;
        }
    }
    return std::to_string(value);
}

} // namespace

std::string renderState(D3DRENDERSTATETYPE state, DWORD value) {
    return "SetRenderState(" + nameOrNumber(kRenderStateNames, state) + ", " +
           std::to_string(value) + ")";
}

std::string stageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    return "SetTextureStageState(" + std::to_string(stage) + ", " +
           nameOrNumber(kStageStateNames, type) + ", " + std::to_string(value) + ")";
}

std::string samplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    return "SetSamplerState(" + std::to_string(sampler) + ", " +
           nameOrNumber(kSamplerStateNames, type) + ", " + std::to_string(value) + ")";
}

std::string setTexture(DWORD stage, const std::string& name) {
    return "SetTexture(" + std::to_string(stage) + ", " + name + ")";
}

std::string drawUp(UINT primitives, UINT stride) {
    return "DrawPrimitiveUP(" + std::to_string(primitives) + ", " + std::to_string(stride) + ")";
}

CallRecordingDevice::CallRecordingDevice() = default;
CallRecordingDevice::~CallRecordingDevice() = default;

void CallRecordingDevice::clearCalls() {
    calls.clear();
    drawCalls = 0;
    stateChanges = 0;
}

std::vector<std::string> CallRecordingDevice::callsStartingWith(const std::string& prefix) const {
    std::vector<std::string> result;
    for (const std::string& call : calls) {
        if (call.compare(0, prefix.size(), prefix) == 0) {
            result.push_back(call);
        }
    }
    return result;
}

int CallRecordingDevice::find(const std::string& call, int from) const {
    for (int i = from; i < static_cast<int>(calls.size()); ++i) {
        if (calls[static_cast<size_t>(i)] == call) {
            return i;
        }
    }
    return -1;
}

void CallRecordingDevice::label(const void* object, const std::string& name) {
    m_names[object] = name;
}

std::string CallRecordingDevice::nameOf(const void* object) const {
    if (object == nullptr) {
        return "null";
    }
    const auto found = m_names.find(object);
    return found != m_names.end() ? found->second : "unnamed";
}

void CallRecordingDevice::rename(const std::string& from, const std::string& to) {
    for (auto& entry : m_names) {
        if (entry.second == from) {
            entry.second = to;
        }
    }
}

void CallRecordingDevice::record(const std::string& call) {
    if (recording) {
        calls.push_back(call);
    }
}

std::string CallRecordingDevice::nameNew(const void* object, const char* kind) {
    const std::string name = kind + std::to_string(++m_created[kind]);
    label(object, name);
    return name;
}

HRESULT CallRecordingDevice::CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage,
                                           D3DFORMAT Format, D3DPOOL Pool,
                                           IDirect3DTexture9** ppTexture, HANDLE*) {
    auto* texture = new RecordedTexture(*this);
    *ppTexture = texture;
    if (recording)
        record("CreateTexture(" + std::to_string(Width) + ", " + std::to_string(Height) + ", " +
               std::to_string(Levels) + ", " + std::to_string(Usage) + ", " +
               std::to_string(Format) + ", " + std::to_string(Pool) +
               ") = " + nameNew(texture, "texture"));
    return S_OK;
}

HRESULT CallRecordingDevice::CreateVolumeTexture(UINT Width, UINT Height, UINT Depth, UINT Levels,
                                                 DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                                 IDirect3DVolumeTexture9** ppVolumeTexture,
                                                 HANDLE*) {
    auto* volume = new RecordedVolume(*this, Width, Height, Depth);
    *ppVolumeTexture = volume;
    if (recording)
        record("CreateVolumeTexture(" + std::to_string(Width) + ", " + std::to_string(Height) +
               ", " + std::to_string(Depth) + ", " + std::to_string(Levels) + ", " +
               std::to_string(Usage) + ", " + std::to_string(Format) + ", " + std::to_string(Pool) +
               ") = " + nameNew(volume, "volume"));
    return S_OK;
}

HRESULT CallRecordingDevice::GetBackBuffer(UINT iSwapChain, UINT iBackBuffer,
                                           D3DBACKBUFFER_TYPE Type,
                                           IDirect3DSurface9** ppBackBuffer) {
    auto* surface = new RecordedSurface(*this);
    *ppBackBuffer = surface;
    label(surface, "backbuffer");
    if (recording)
        record("GetBackBuffer(" + std::to_string(iSwapChain) + ", " + std::to_string(iBackBuffer) +
               ", " + std::to_string(Type) + ")");
    return S_OK;
}

HRESULT CallRecordingDevice::CreateVertexShader(const DWORD*, IDirect3DVertexShader9** ppShader) {
    auto* shader = new RecordedVertexShader(*this);
    *ppShader = shader;
    if (recording)
        record("CreateVertexShader = " + nameNew(shader, "vs"));
    return S_OK;
}

HRESULT CallRecordingDevice::CreatePixelShader(const DWORD*, IDirect3DPixelShader9** ppShader) {
    auto* shader = new RecordedPixelShader(*this);
    *ppShader = shader;
    if (recording)
        record("CreatePixelShader = " + nameNew(shader, "ps"));
    return S_OK;
}

HRESULT CallRecordingDevice::Clear(DWORD Count, const D3DRECT*, DWORD Flags, D3DCOLOR Color,
                                   float Z, DWORD Stencil) {
    char line[96];
    std::snprintf(line, sizeof line, "Clear(%u, %u, %08X, %g, %u)", static_cast<unsigned>(Count),
                  static_cast<unsigned>(Flags), static_cast<unsigned>(Color), Z,
                  static_cast<unsigned>(Stencil));
    if (recording)
        record(line);
    return S_OK;
}

HRESULT CallRecordingDevice::BeginScene() {
    if (recording)
        record("BeginScene");
    return S_OK;
}

HRESULT CallRecordingDevice::EndScene() {
    if (recording)
        record("EndScene");
    return S_OK;
}

HRESULT CallRecordingDevice::SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX*) {
    if (recording)
        record("SetTransform(" + std::to_string(State) + ")");
    return S_OK;
}

HRESULT CallRecordingDevice::SetRenderTarget(DWORD RenderTargetIndex,
                                             IDirect3DSurface9* pRenderTarget) {
    ++stateChanges;
    if (recording)
        record("SetRenderTarget(" + std::to_string(RenderTargetIndex) + ", " +
               nameOf(pRenderTarget) + ")");
    return S_OK;
}

HRESULT CallRecordingDevice::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) {
    ++stateChanges;
    if (recording) {
        renderStates[State] = Value;
        record(renderState(State, Value));
    }
    return S_OK;
}

HRESULT CallRecordingDevice::GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) {
    const auto found = renderStates.find(State);
    *pValue = found != renderStates.end() ? found->second : 0;
    return S_OK;
}

HRESULT CallRecordingDevice::SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) {
    ++stateChanges;
    if (recording)
        record(setTexture(Stage, nameOf(pTexture)));
    return S_OK;
}

HRESULT CallRecordingDevice::SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                                  DWORD Value) {
    ++stateChanges;
    if (recording)
        record(stageState(Stage, Type, Value));
    return S_OK;
}

HRESULT CallRecordingDevice::SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value) {
    ++stateChanges;
    if (recording)
        record(samplerState(Sampler, Type, Value));
    return S_OK;
}

HRESULT CallRecordingDevice::SetFVF(DWORD FVF) {
    ++stateChanges;
    char line[32];
    std::snprintf(line, sizeof line, "SetFVF(%#x)", static_cast<unsigned>(FVF));
    if (recording)
        record(line);
    return S_OK;
}

HRESULT CallRecordingDevice::SetVertexDeclaration(IDirect3DVertexDeclaration9* pDecl) {
    ++stateChanges;
    if (recording)
        record("SetVertexDeclaration(" + nameOf(pDecl) + ")");
    return S_OK;
}

HRESULT CallRecordingDevice::SetVertexShader(IDirect3DVertexShader9* pShader) {
    ++stateChanges;
    if (recording)
        record("SetVertexShader(" + nameOf(pShader) + ")");
    return S_OK;
}

HRESULT CallRecordingDevice::SetPixelShader(IDirect3DPixelShader9* pShader) {
    ++stateChanges;
    if (recording)
        record("SetPixelShader(" + nameOf(pShader) + ")");
    return S_OK;
}

HRESULT CallRecordingDevice::SetVertexShaderConstantF(UINT StartRegister, const float*,
                                                      UINT Vector4fCount) {
    ++stateChanges;
    if (recording)
        record("SetVertexShaderConstantF(" + std::to_string(StartRegister) + ", " +
               std::to_string(Vector4fCount) + ")");
    return S_OK;
}

HRESULT CallRecordingDevice::SetPixelShaderConstantF(UINT StartRegister, const float*,
                                                     UINT Vector4fCount) {
    ++stateChanges;
    if (recording)
        record("SetPixelShaderConstantF(" + std::to_string(StartRegister) + ", " +
               std::to_string(Vector4fCount) + ")");
    return S_OK;
}

HRESULT CallRecordingDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE, UINT PrimitiveCount,
                                             const void* pVertexStreamZeroData,
                                             UINT VertexStreamZeroStride) {
    ++drawCalls;
    if (recording) {
        const auto* bytes = static_cast<const unsigned char*>(pVertexStreamZeroData);
        lastVertices.assign(bytes, bytes + PrimitiveCount * 3 * VertexStreamZeroStride);
        record(drawUp(PrimitiveCount, VertexStreamZeroStride));
    }
    return S_OK;
}

HRESULT CallRecordingDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE, INT, UINT, UINT, UINT,
                                                  UINT primCount) {
    ++drawCalls;
    if (recording)
        record("DrawIndexedPrimitive(" + std::to_string(primCount) + ")");
    return S_OK;
}
