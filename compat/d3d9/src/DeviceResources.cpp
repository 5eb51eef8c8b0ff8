// Creating resources, binding textures and targets, clearing and copying between surfaces.

#include "Device.h"

#include "Buffers.h"
#include "Formats.h"
#include "GlScratch.h"
#include "Refusal.h"
#include "StateBlock.h"
#include "Surface.h"
#include "Texture.h"

#include <algorithm>
#include <cstring>

namespace tarnelix::d3d9 {

namespace {

const FormatInfo* checkedFormat(D3DFORMAT format, const char* what) {
    const FormatInfo* info = findFormat(format);
    if (!info) {
        refuseOnce(what, static_cast<uint32_t>(format));
    }
    return info;
}

} // namespace

HRESULT Device::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                              D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* shared) {
    TARNELIX_D3D9_CALL();
    if (!texture || shared || width == 0 || height == 0 || width > limits_.texture ||
        height > limits_.texture) {
        return D3DERR_INVALIDCALL;
    }
    *texture = nullptr;
    const FormatInfo* info = checkedFormat(format, "texture format");
    if (!info) {
        return D3DERR_NOTAVAILABLE;
    }
    if (info->depth || ((usage & D3DUSAGE_RENDERTARGET) && pool != D3DPOOL_DEFAULT)) {
        return D3DERR_INVALIDCALL;
    }
    makeCurrent();
    auto* created = new Texture(this, width, height, levels, usage, format, pool);
    if (!created->storage().valid()) {
        created->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *texture = created;
    return D3D_OK;
}

HRESULT Device::CreateVolumeTexture(UINT width, UINT height, UINT depth, UINT levels, DWORD usage,
                                    D3DFORMAT format, D3DPOOL pool,
                                    IDirect3DVolumeTexture9** texture, HANDLE* shared) {
    TARNELIX_D3D9_CALL();
    if (!texture || shared || width == 0 || height == 0 || depth == 0 ||
        std::max({width, height, depth}) > limits_.volume) {
        return D3DERR_INVALIDCALL;
    }
    *texture = nullptr;
    const FormatInfo* info = checkedFormat(format, "volume texture format");
    if (!info) {
        return D3DERR_NOTAVAILABLE;
    }
    if (info->depth || (usage & D3DUSAGE_RENDERTARGET)) {
        return D3DERR_INVALIDCALL;
    }
    makeCurrent();
    auto* created = new VolumeTexture(this, width, height, depth, levels, usage, format, pool);
    if (!created->storage().valid()) {
        created->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *texture = created;
    return D3D_OK;
}

HRESULT Device::CreateCubeTexture(UINT, UINT, DWORD, D3DFORMAT, D3DPOOL,
                                  IDirect3DCubeTexture9** texture, HANDLE*) {
    TARNELIX_D3D9_CALL();
    if (texture) {
        *texture = nullptr;
    }
    refuseOnce("cube texture (CreateCubeTexture)", 0);
    return D3DERR_NOTAVAILABLE;
}

HRESULT Device::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                   IDirect3DVertexBuffer9** buffer, HANDLE* shared) {
    TARNELIX_D3D9_CALL();
    if (!buffer || shared || length == 0) {
        return D3DERR_INVALIDCALL;
    }
    makeCurrent();
    *buffer = new VertexBuffer(this, length, usage, fvf, pool);
    return D3D_OK;
}

HRESULT Device::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                  IDirect3DIndexBuffer9** buffer, HANDLE* shared) {
    TARNELIX_D3D9_CALL();
    if (!buffer || shared || length == 0 ||
        (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32)) {
        return D3DERR_INVALIDCALL;
    }
    makeCurrent();
    *buffer = new IndexBuffer(this, length, usage, format, pool);
    return D3D_OK;
}

HRESULT Device::CreateRenderTarget(UINT width, UINT height, D3DFORMAT format,
                                   D3DMULTISAMPLE_TYPE samples, DWORD, BOOL,
                                   IDirect3DSurface9** surface, HANDLE* shared) {
    TARNELIX_D3D9_CALL();
    if (!surface || shared || width == 0 || height == 0 || width > limits_.surface ||
        height > limits_.surface) {
        return D3DERR_INVALIDCALL;
    }
    const FormatInfo* info = checkedFormat(format, "render-target format");
    if (!info || !info->renderable || info->depth || samples != D3DMULTISAMPLE_NONE) {
        if (samples != D3DMULTISAMPLE_NONE) {
            refuseOnce("multisample type", samples);
        }
        return D3DERR_NOTAVAILABLE;
    }
    makeCurrent();
    *surface =
        new Surface(this, D3DSURFACE_DESC{format, D3DRTYPE_SURFACE, D3DUSAGE_RENDERTARGET,
                                          D3DPOOL_DEFAULT, D3DMULTISAMPLE_NONE, 0, width, height});
    return D3D_OK;
}

HRESULT Device::CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                          D3DMULTISAMPLE_TYPE samples, DWORD, BOOL,
                                          IDirect3DSurface9** surface, HANDLE* shared) {
    TARNELIX_D3D9_CALL();
    if (!surface || shared || width == 0 || height == 0 || width > limits_.surface ||
        height > limits_.surface) {
        return D3DERR_INVALIDCALL;
    }
    const FormatInfo* info = checkedFormat(format, "depth-stencil format");
    if (!info || !info->depth || samples != D3DMULTISAMPLE_NONE) {
        return D3DERR_NOTAVAILABLE;
    }
    makeCurrent();
    *surface =
        new Surface(this, D3DSURFACE_DESC{format, D3DRTYPE_SURFACE, D3DUSAGE_DEPTHSTENCIL,
                                          D3DPOOL_DEFAULT, D3DMULTISAMPLE_NONE, 0, width, height});
    return D3D_OK;
}

HRESULT Device::CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                            IDirect3DSurface9** surface, HANDLE* shared) {
    TARNELIX_D3D9_CALL();
    if (!surface || shared || width == 0 || height == 0 || pool == D3DPOOL_MANAGED ||
        width > limits_.surface || height > limits_.surface) {
        return D3DERR_INVALIDCALL;
    }
    const FormatInfo* info = checkedFormat(format, "surface format");
    if (!info || info->depth) {
        return D3DERR_NOTAVAILABLE;
    }
    *surface = new Surface(this, D3DSURFACE_DESC{format, D3DRTYPE_SURFACE, 0, pool,
                                                 D3DMULTISAMPLE_NONE, 0, width, height});
    return D3D_OK;
}

HRESULT Device::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
    TARNELIX_D3D9_CALL();
    if (stage >= kSamplerCount) {
        if (stage >= D3DDMAPSAMPLER) {
            refuseOnce("vertex texture sampler", stage);
        }
        return D3DERR_INVALIDCALL;
    }
    if (recording_) {
        if (texture && !boundTextureOf(texture)) {
            return D3DERR_INVALIDCALL;
        }
        recording_->held().textures.values[stage].reset(texture);
        recording_->held().textures.held.set(stage);
        return D3D_OK;
    }
    if (textures_[stage] == texture) {
        return D3D_OK;
    }
    BoundTexture* bound = boundTextureOf(texture);
    if (texture && !bound) {
        return D3DERR_INVALIDCALL;
    }
    assign(textures_[stage], texture);
    boundTextures_[stage] = bound;
    markTextureDirty(stage);
    return D3D_OK;
}

void Device::markTextureDirty(DWORD stage) {
    draw_.texturesDirty |= 1u << stage;
}

HRESULT Device::GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) {
    TARNELIX_D3D9_CALL();
    if (!texture || stage >= kSamplerCount) {
        return D3DERR_INVALIDCALL;
    }
    *texture = textures_[stage];
    if (*texture) {
        (*texture)->AddRef();
    }
    return D3D_OK;
}

void Device::fullTargetViewport() {
    const D3DSURFACE_DESC& desc = renderTarget_->desc();
    viewport_ = D3DVIEWPORT9{0, 0, desc.Width, desc.Height, 0.0f, 1.0f};
    scissor_ = RECT{0, 0, static_cast<LONG>(desc.Width), static_cast<LONG>(desc.Height)};
    draw_.dirty |= kDirtyViewport | kDirtyRaster;
    ++draw_.viewportVersion;
    ++draw_.clipVersion;
}

void Device::setRenderTargetInternal(Surface* surface) {
    assign(renderTarget_, surface);
    draw_.dirty |= kDirtyRenderTarget;
    fullTargetViewport();
}

HRESULT Device::SetRenderTarget(DWORD index, IDirect3DSurface9* surface) {
    TARNELIX_D3D9_CALL();
    if (index != 0) {
        if (surface) {
            refuseOnce("multiple render targets, index", index);
        }
        return surface ? D3DERR_INVALIDCALL : D3D_OK;
    }
    auto* target = dynamic_cast<Surface*>(surface);
    if (!target || !target->glTexture() || target->isDepth()) {
        return D3DERR_INVALIDCALL;
    }
    if (!(target->desc().Usage & D3DUSAGE_RENDERTARGET)) {
        return D3DERR_INVALIDCALL;
    }
    setRenderTargetInternal(target);
    return D3D_OK;
}

HRESULT Device::GetRenderTarget(DWORD index, IDirect3DSurface9** surface) {
    TARNELIX_D3D9_CALL();
    if (!surface || index != 0 || !renderTarget_) {
        if (surface) {
            *surface = nullptr;
        }
        return index != 0 ? D3DERR_NOTFOUND : D3DERR_INVALIDCALL;
    }
    renderTarget_->AddRef();
    *surface = renderTarget_;
    return D3D_OK;
}

HRESULT Device::SetDepthStencilSurface(IDirect3DSurface9* surface) {
    TARNELIX_D3D9_CALL();
    auto* depth = dynamic_cast<Surface*>(surface);
    if (surface && (!depth || !depth->isDepth())) {
        return D3DERR_INVALIDCALL;
    }
    assign(depthStencil_, depth);
    draw_.dirty |= kDirtyRenderTarget;
    return D3D_OK;
}

HRESULT Device::GetDepthStencilSurface(IDirect3DSurface9** surface) {
    TARNELIX_D3D9_CALL();
    if (!surface) {
        return D3DERR_INVALIDCALL;
    }
    *surface = depthStencil_;
    if (!depthStencil_) {
        return D3DERR_NOTFOUND;
    }
    depthStencil_->AddRef();
    return D3D_OK;
}

void Device::applyRenderTarget() {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    GLuint colour = renderTarget_ ? renderTarget_->glTexture() : 0;
    GLint level = renderTarget_ ? renderTarget_->glLevel() : 0;
    if (colour != attachedColour_ || level != attachedLevel_) {
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, level);
        attachedColour_ = colour;
        attachedLevel_ = level;
    }
    GLuint depth = depthStencil_ ? depthStencil_->glRenderbuffer() : 0;
    if (depth != attachedDepth_) {
        bool stencil = depthStencil_ && depthStencil_->format().pixelFormat == GL_DEPTH_STENCIL;
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, 0);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, 0);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER,
                                  stencil ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT,
                                  GL_RENDERBUFFER, depth);
        attachedDepth_ = depth;
        int bits = !depthStencil_                               ? 24
                   : depthStencil_->desc().Format == D3DFMT_D16 ? 16
                   : depthStencil_->desc().Format == D3DFMT_D32 ? 32
                                                                : 24;
        if (bits != draw_.depthBits) {
            draw_.depthBits = bits; // depth bias comes in this buffer's steps
            draw_.dirty |= kDirtyRaster;
        }
    }
    draw_.dirty &= ~kDirtyRenderTarget;
}

// A child's GL names are deleted with it, and GL may hand the same numbers to the next
// objects made (newer Mesa does, at once). What the device recorded by name, to skip
// rebinding, could then match a new object that was never bound: the records become a name
// GL never gives out, so that the next use binds afresh.
void Device::forgetNamedBindings() {
    constexpr GLuint kNoName = ~0u;
    attachedColour_ = kNoName;
    attachedDepth_ = kNoName;
    for (GLuint& texture : draw_.boundTexture) {
        texture = kNoName;
    }
    draw_.texturesDirty = (1u << kSamplerCount) - 1;
    for (GLuint& buffer : draw_.boundUniformBuffer) {
        buffer = kNoName;
    }
    draw_.boundIndexBuffer = kNoName;
    for (GLuint& buffer : draw_.inputBuffer) {
        buffer = kNoName;
    }
    draw_.inputDeclaration = nullptr; // a new declaration may reuse a freed one's address
    draw_.dirty |= kDirtyRenderTarget | kDirtyVertexInput;
}

HRESULT Device::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                      DWORD stencil) {
    TARNELIX_D3D9_CALL();
    if (count > 0 && !rects) {
        return D3DERR_INVALIDCALL;
    }
    if (!renderTarget_) {
        return D3DERR_INVALIDCALL;
    }
    if ((flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !depthStencil_) {
        return D3DERR_INVALIDCALL;
    }
    if (draw_.dirty & kDirtyRenderTarget) {
        applyRenderTarget();
    }
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) {
        mask |= GL_COLOR_BUFFER_BIT;
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        bool opaque = hasUnusedAlpha(renderTarget_->desc().Format);
        glClearColor(((color >> 16) & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f,
                     (color & 0xFF) / 255.0f, opaque ? 1.0f : ((color >> 24) & 0xFF) / 255.0f);
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        mask |= GL_DEPTH_BUFFER_BIT;
        glDepthMask(GL_TRUE);
        glClearDepth(std::clamp(z, 0.0f, 1.0f));
    }
    if (flags & D3DCLEAR_STENCIL) {
        mask |= GL_STENCIL_BUFFER_BIT;
        glStencilMask(0xFF);
        glClearStencil(static_cast<GLint>(stencil & 0xFF));
    }
    // Direct3D clears the viewport, or the given rectangles within it.
    glEnable(GL_SCISSOR_TEST);
    LONG left = static_cast<LONG>(viewport_.X);
    LONG top = static_cast<LONG>(viewport_.Y);
    LONG right = left + static_cast<LONG>(viewport_.Width);
    LONG bottom = top + static_cast<LONG>(viewport_.Height);
    if (count == 0) {
        glScissor(left, top, right - left, bottom - top);
        glClear(mask);
    }
    for (DWORD i = 0; i < count; ++i) {
        LONG x1 = std::max(rects[i].x1, left);
        LONG y1 = std::max(rects[i].y1, top);
        LONG x2 = std::min(rects[i].x2, right);
        LONG y2 = std::min(rects[i].y2, bottom);
        if (x2 > x1 && y2 > y1) {
            glScissor(x1, y1, x2 - x1, y2 - y1);
            glClear(mask);
        }
    }
    draw_.dirty |= kDirtyRaster | kDirtyDepth | kDirtyStencil;
    return D3D_OK;
}

namespace {

bool sameSizeAndFormat(const D3DSURFACE_DESC& a, const D3DSURFACE_DESC& b) {
    return a.Width == b.Width && a.Height == b.Height && a.Format == b.Format;
}

} // namespace

HRESULT Device::GetRenderTargetData(IDirect3DSurface9* renderTarget, IDirect3DSurface9* dest) {
    TARNELIX_D3D9_CALL();
    auto* source = dynamic_cast<Surface*>(renderTarget);
    auto* target = dynamic_cast<Surface*>(dest);
    if (!source || !target || !source->glTexture() || !target->isSystemMemory() ||
        !sameSizeAndFormat(source->desc(), target->desc())) {
        return D3DERR_INVALIDCALL;
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, readFramebuffer_);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                           source->glTexture(), source->glLevel());
    const FormatInfo& format = source->format();
    // Rows are stored top first, as the surface's memory wants them.
    glReadPixels(0, 0, static_cast<GLsizei>(source->desc().Width),
                 static_cast<GLsizei>(source->desc().Height), format.pixelFormat, format.pixelType,
                 target->memory());
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    return D3D_OK;
}

HRESULT Device::GetFrontBufferData(UINT, IDirect3DSurface9*) {
    TARNELIX_D3D9_CALL();
    refuseOnce("GetFrontBufferData", 0);
    return D3DERR_NOTAVAILABLE;
}

HRESULT Device::StretchRect(IDirect3DSurface9* sourceSurface, const RECT* sourceRect,
                            IDirect3DSurface9* destSurface, const RECT* destRect,
                            D3DTEXTUREFILTERTYPE filter) {
    TARNELIX_D3D9_CALL();
    auto* source = dynamic_cast<Surface*>(sourceSurface);
    auto* dest = dynamic_cast<Surface*>(destSurface);
    if (!source || !dest || !source->glTexture() || !dest->glTexture() ||
        !(dest->desc().Usage & D3DUSAGE_RENDERTARGET)) {
        return D3DERR_INVALIDCALL;
    }
    RECT s = sourceRect ? *sourceRect
                        : RECT{0, 0, static_cast<LONG>(source->desc().Width),
                               static_cast<LONG>(source->desc().Height)};
    RECT d = destRect ? *destRect
                      : RECT{0, 0, static_cast<LONG>(dest->desc().Width),
                             static_cast<LONG>(dest->desc().Height)};
    glBindFramebuffer(GL_READ_FRAMEBUFFER, readFramebuffer_);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                           source->glTexture(), source->glLevel());
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer_);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                           dest->glTexture(), dest->glLevel());
    attachedColour_ = dest->glTexture();
    attachedLevel_ = dest->glLevel();
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glBlitFramebuffer(s.left, s.top, s.right, s.bottom, d.left, d.top, d.right, d.bottom,
                      GL_COLOR_BUFFER_BIT, filter == D3DTEXF_POINT ? GL_NEAREST : GL_LINEAR);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    draw_.dirty |= kDirtyRenderTarget | kDirtyRaster;
    return D3D_OK;
}

HRESULT Device::ColorFill(IDirect3DSurface9* surface, const RECT* rect, D3DCOLOR color) {
    TARNELIX_D3D9_CALL();
    auto* target = dynamic_cast<Surface*>(surface);
    if (!target || !target->glTexture()) {
        return D3DERR_INVALIDCALL;
    }
    RECT r = rect ? *rect
                  : RECT{0, 0, static_cast<LONG>(target->desc().Width),
                         static_cast<LONG>(target->desc().Height)};
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target->glTexture(),
                           target->glLevel());
    attachedColour_ = target->glTexture();
    attachedLevel_ = target->glLevel();
    glEnable(GL_SCISSOR_TEST);
    glScissor(r.left, r.top, r.right - r.left, r.bottom - r.top);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    bool opaque = hasUnusedAlpha(target->desc().Format);
    glClearColor(((color >> 16) & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f,
                 (color & 0xFF) / 255.0f, opaque ? 1.0f : ((color >> 24) & 0xFF) / 255.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    target->writtenByGl();
    draw_.dirty |= kDirtyRenderTarget | kDirtyRaster;
    return D3D_OK;
}

HRESULT Device::UpdateSurface(IDirect3DSurface9* sourceSurface, const RECT* sourceRect,
                              IDirect3DSurface9* destSurface, const POINT* destPoint) {
    TARNELIX_D3D9_CALL();
    auto* source = dynamic_cast<Surface*>(sourceSurface);
    auto* dest = dynamic_cast<Surface*>(destSurface);
    if (!source || !dest || !source->isSystemMemory() || !dest->glTexture() || sourceRect ||
        destPoint || !sameSizeAndFormat(source->desc(), dest->desc())) {
        return D3DERR_INVALIDCALL;
    }
    const FormatInfo& format = dest->format();
    bindScratch(GL_TEXTURE_2D, dest->glTexture());
    glTexSubImage2D(GL_TEXTURE_2D, dest->glLevel(), 0, 0, static_cast<GLsizei>(dest->desc().Width),
                    static_cast<GLsizei>(dest->desc().Height), format.pixelFormat, format.pixelType,
                    source->memory());
    dest->writtenByGl();
    return D3D_OK;
}

HRESULT Device::UpdateTexture(IDirect3DBaseTexture9* source, IDirect3DBaseTexture9* dest) {
    TARNELIX_D3D9_CALL();
    auto* from = dynamic_cast<Texture*>(source);
    auto* to = dynamic_cast<Texture*>(dest);
    if (!from || !to || from->GetLevelCount() != to->GetLevelCount()) {
        return D3DERR_INVALIDCALL;
    }
    for (UINT level = 0; level < from->GetLevelCount(); ++level) {
        D3DLOCKED_RECT in{};
        D3DLOCKED_RECT out{};
        if (FAILED(from->LockRect(level, &in, nullptr, D3DLOCK_READONLY))) {
            return D3DERR_INVALIDCALL;
        }
        if (FAILED(to->LockRect(level, &out, nullptr, 0))) {
            from->UnlockRect(level);
            return D3DERR_INVALIDCALL;
        }
        D3DSURFACE_DESC desc{};
        to->GetLevelDesc(level, &desc);
        for (UINT row = 0; row < desc.Height; ++row) {
            std::memcpy(static_cast<uint8_t*>(out.pBits) + row * static_cast<size_t>(out.Pitch),
                        static_cast<uint8_t*>(in.pBits) + row * static_cast<size_t>(in.Pitch),
                        static_cast<size_t>(std::min(in.Pitch, out.Pitch)));
        }
        from->UnlockRect(level);
        to->UnlockRect(level);
    }
    return D3D_OK;
}

} // namespace tarnelix::d3d9
