#include "app/player/OverlayRenderer.h"

#include "engine/render/QuadRuns.h"

#include <d3d9.h>
#include <imgui.h>

#include <cstring>
#include <vector>

namespace {

struct OverlayVertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
    float u, v;
};
constexpr DWORD kOverlayFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// ImGui packs colours R first in memory; the device wants B first.
D3DCOLOR deviceColour(ImU32 colour) {
    return (colour & 0xFF00FF00u) | ((colour & 0xFFu) << 16) | ((colour >> 16) & 0xFFu);
}

// What the overlay changes, read before and written back after.
constexpr D3DRENDERSTATETYPE kRenderStates[] = {
    D3DRS_ZENABLE,           D3DRS_ZWRITEENABLE, D3DRS_ALPHABLENDENABLE, D3DRS_SRCBLEND,
    D3DRS_DESTBLEND,         D3DRS_BLENDOP,      D3DRS_CULLMODE,         D3DRS_ALPHATESTENABLE,
    D3DRS_SCISSORTESTENABLE, D3DRS_LIGHTING,     D3DRS_FOGENABLE,        D3DRS_STENCILENABLE,
    D3DRS_COLORWRITEENABLE,
};
struct StageState {
    DWORD stage;
    D3DTEXTURESTAGESTATETYPE type;
};
constexpr StageState kStageStates[] = {
    {0, D3DTSS_COLOROP},       {0, D3DTSS_COLORARG1},
    {0, D3DTSS_COLORARG2},     {0, D3DTSS_ALPHAOP},
    {0, D3DTSS_ALPHAARG1},     {0, D3DTSS_ALPHAARG2},
    {0, D3DTSS_TEXCOORDINDEX}, {0, D3DTSS_TEXTURETRANSFORMFLAGS},
    {1, D3DTSS_COLOROP},       {1, D3DTSS_ALPHAOP},
};
constexpr D3DSAMPLERSTATETYPE kSamplerStates[] = {
    D3DSAMP_MINFILTER, D3DSAMP_MAGFILTER, D3DSAMP_MIPFILTER, D3DSAMP_ADDRESSU, D3DSAMP_ADDRESSV};

class SavedStates {
public:
    explicit SavedStates(IDirect3DDevice9* device) : m_device(device) {
        for (size_t i = 0; i < std::size(kRenderStates); ++i) {
            device->GetRenderState(kRenderStates[i], &m_render[i]);
        }
        for (size_t i = 0; i < std::size(kStageStates); ++i) {
            device->GetTextureStageState(kStageStates[i].stage, kStageStates[i].type, &m_stage[i]);
        }
        for (size_t i = 0; i < std::size(kSamplerStates); ++i) {
            device->GetSamplerState(0, kSamplerStates[i], &m_sampler[i]);
        }
        device->GetFVF(&m_fvf);
        device->GetVertexShader(&m_vertexShader);
        device->GetPixelShader(&m_pixelShader);
        device->GetTexture(0, &m_texture);
        device->GetViewport(&m_viewport);
        device->GetScissorRect(&m_scissor);
    }
    ~SavedStates() {
        for (size_t i = 0; i < std::size(kRenderStates); ++i) {
            m_device->SetRenderState(kRenderStates[i], m_render[i]);
        }
        for (size_t i = 0; i < std::size(kStageStates); ++i) {
            m_device->SetTextureStageState(kStageStates[i].stage, kStageStates[i].type, m_stage[i]);
        }
        for (size_t i = 0; i < std::size(kSamplerStates); ++i) {
            m_device->SetSamplerState(0, kSamplerStates[i], m_sampler[i]);
        }
        m_device->SetFVF(m_fvf);
        m_device->SetVertexShader(m_vertexShader);
        m_device->SetPixelShader(m_pixelShader);
        m_device->SetTexture(0, m_texture);
        m_device->SetViewport(&m_viewport);
        m_device->SetScissorRect(&m_scissor);
        for (IUnknown* held :
             {static_cast<IUnknown*>(m_vertexShader), static_cast<IUnknown*>(m_pixelShader),
              static_cast<IUnknown*>(m_texture)}) {
            if (held) {
                held->Release();
            }
        }
    }
    SavedStates(const SavedStates&) = delete;
    SavedStates& operator=(const SavedStates&) = delete;

private:
    IDirect3DDevice9* m_device;
    DWORD m_render[std::size(kRenderStates)] = {};
    DWORD m_stage[std::size(kStageStates)] = {};
    DWORD m_sampler[std::size(kSamplerStates)] = {};
    DWORD m_fvf = 0;
    IDirect3DVertexShader9* m_vertexShader = nullptr;
    IDirect3DPixelShader9* m_pixelShader = nullptr;
    IDirect3DBaseTexture9* m_texture = nullptr;
    D3DVIEWPORT9 m_viewport{};
    RECT m_scissor{};
};

void setOverlayStates(IDirect3DDevice9* device, const ImDrawData& drawData) {
    D3DVIEWPORT9 viewport{};
    viewport.Width = static_cast<DWORD>(drawData.DisplaySize.x);
    viewport.Height = static_cast<DWORD>(drawData.DisplaySize.y);
    viewport.MaxZ = 1.0f;
    device->SetViewport(&viewport);
    device->SetVertexShader(nullptr);
    device->SetPixelShader(nullptr);
    device->SetFVF(kOverlayFvf);
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    device->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_FOGENABLE, FALSE);
    device->SetRenderState(D3DRS_STENCILENABLE, FALSE);
    device->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);
    setTexturedQuadStage(device); // texture times vertex colour, as sprites are drawn
    device->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
}

} // namespace

bool OverlayRenderer::init(IDirect3DDevice9* device) {
    release();
    m_device = device;
    ImGuiIO& io = ImGui::GetIO();
    io.BackendRendererName = "tarnelix-direct3d9";
    unsigned char* pixels = nullptr;
    int width = 0;
    int height = 0;
    io.Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
    if (!device ||
        FAILED(device->CreateTexture(static_cast<UINT>(width), static_cast<UINT>(height), 1, 0,
                                     D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &m_font, nullptr))) {
        m_font = nullptr;
        return false;
    }
    D3DLOCKED_RECT locked{};
    if (FAILED(m_font->LockRect(0, &locked, nullptr, 0))) {
        release();
        return false;
    }
    for (int y = 0; y < height; ++y) {
        const auto* source = reinterpret_cast<const ImU32*>(pixels) + y * width;
        auto* row = reinterpret_cast<D3DCOLOR*>(static_cast<unsigned char*>(locked.pBits) +
                                                y * locked.Pitch);
        for (int x = 0; x < width; ++x) {
            row[x] = deviceColour(source[x]);
        }
    }
    m_font->UnlockRect(0);
    io.Fonts->SetTexID(static_cast<ImTextureID>(m_font));
    return true;
}

void OverlayRenderer::release() {
    if (m_font) {
        m_font->Release();
        m_font = nullptr;
    }
    m_device = nullptr;
}

void OverlayRenderer::render(const ImDrawData& drawData) {
    if (!m_device || drawData.TotalVtxCount == 0 || drawData.DisplaySize.x <= 0.0f ||
        drawData.DisplaySize.y <= 0.0f) {
        return;
    }
    SavedStates saved(m_device);
    setOverlayStates(m_device, drawData);
    m_device->BeginScene();
    std::vector<OverlayVertex> vertices;
    const ImVec2 origin = drawData.DisplayPos;
    for (int n = 0; n < drawData.CmdListsCount; ++n) {
        const ImDrawList* list = drawData.CmdLists[n];
        vertices.resize(static_cast<size_t>(list->VtxBuffer.Size));
        for (int i = 0; i < list->VtxBuffer.Size; ++i) {
            const ImDrawVert& source = list->VtxBuffer[i];
            // Pre-transformed vertices address pixel centres at half coordinates.
            vertices[static_cast<size_t>(i)] = {source.pos.x - origin.x - 0.5f,
                                                source.pos.y - origin.y - 0.5f,
                                                0.0f,
                                                1.0f,
                                                deviceColour(source.col),
                                                source.uv.x,
                                                source.uv.y};
        }
        for (const ImDrawCmd& command : list->CmdBuffer) {
            if (command.UserCallback || command.ElemCount == 0) {
                continue;
            }
            const RECT clip = {static_cast<LONG>(command.ClipRect.x - origin.x),
                               static_cast<LONG>(command.ClipRect.y - origin.y),
                               static_cast<LONG>(command.ClipRect.z - origin.x),
                               static_cast<LONG>(command.ClipRect.w - origin.y)};
            if (clip.right <= clip.left || clip.bottom <= clip.top) {
                continue;
            }
            m_device->SetScissorRect(&clip);
            m_device->SetTexture(0, static_cast<IDirect3DTexture9*>(command.GetTexID()));
            m_device->DrawIndexedPrimitiveUP(
                D3DPT_TRIANGLELIST, 0, static_cast<UINT>(vertices.size()), command.ElemCount / 3,
                list->IdxBuffer.Data + command.IdxOffset,
                sizeof(ImDrawIdx) == 2 ? D3DFMT_INDEX16 : D3DFMT_INDEX32, vertices.data(),
                sizeof(OverlayVertex));
        }
    }
    m_device->EndScene();
}
