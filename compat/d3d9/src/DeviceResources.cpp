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

// The runtime's rules for a texture's usage and pool: render targets live in the default pool,
// dynamic textures anywhere but the managed pool, automatic mipmaps need GL's copy of one level
// (not system memory) and a single level to make the rest from.
HRESULT checkTextureUsage(const FormatInfo& info, DWORD usage, D3DPOOL pool, UINT levels) {
    bool target = (usage & (D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL)) != 0;
    if (pool != D3DPOOL_DEFAULT && pool != D3DPOOL_MANAGED && pool != D3DPOOL_SYSTEMMEM &&
        pool != D3DPOOL_SCRATCH) {
        return D3DERR_INVALIDCALL;
    }
    if ((target && pool != D3DPOOL_DEFAULT) ||
        ((usage & D3DUSAGE_DYNAMIC) && pool == D3DPOOL_MANAGED)) {
        return D3DERR_INVALIDCALL;
    }
    if ((usage & D3DUSAGE_AUTOGENMIPMAP) && (pool == D3DPOOL_SYSTEMMEM || levels > 1)) {
        return D3DERR_INVALIDCALL;
    }
    // No depth textures: depth buffers are renderbuffers here.
    if (info.depth || (usage & D3DUSAGE_DEPTHSTENCIL) ||
        ((usage & D3DUSAGE_RENDERTARGET) && !info.renderable)) {
        return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
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
    if (FAILED(checkTextureUsage(*info, usage, pool, levels))) {
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
    if ((usage & D3DUSAGE_RENDERTARGET) || FAILED(checkTextureUsage(*info, usage, pool, levels))) {
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

HRESULT Device::CreateCubeTexture(UINT edge, UINT levels, DWORD usage, D3DFORMAT format,
                                  D3DPOOL pool, IDirect3DCubeTexture9** texture, HANDLE* shared) {
    TARNELIX_D3D9_CALL();
    if (!texture || shared || edge == 0 || edge > limits_.cube) {
        return D3DERR_INVALIDCALL;
    }
    *texture = nullptr;
    const FormatInfo* info = checkedFormat(format, "cube texture format");
    if (!info) {
        return D3DERR_NOTAVAILABLE;
    }
    if (FAILED(checkTextureUsage(*info, usage, pool, levels))) {
        return D3DERR_INVALIDCALL;
    }
    makeCurrent();
    auto* created = new CubeTexture(this, edge, levels, usage, format, pool);
    if (!created->storage().valid()) {
        created->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *texture = created;
    return D3D_OK;
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
    makeCurrent();
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
    GLenum image = renderTarget_ ? renderTarget_->glImageTarget() : GL_TEXTURE_2D;
    if (colour != attachedColour_ || level != attachedLevel_ || image != attachedImage_) {
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, image, colour, level);
        attachedColour_ = colour;
        attachedLevel_ = level;
        attachedImage_ = image;
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

// A rectangle of a surface: the whole of it when none is given; false when it is empty or
// reaches outside.
bool rectWithin(const RECT* given, const D3DSURFACE_DESC& desc, RECT& out) {
    out =
        given ? *given : RECT{0, 0, static_cast<LONG>(desc.Width), static_cast<LONG>(desc.Height)};
    return out.left >= 0 && out.top >= 0 && out.left < out.right && out.top < out.bottom &&
           out.right <= static_cast<LONG>(desc.Width) &&
           out.bottom <= static_cast<LONG>(desc.Height);
}

// Direct3D 9's StretchRect table, for surfaces in the default pool: an offscreen plain surface
// may go to any render target or to another plain surface; render targets and texture levels
// (with D3DDEVCAPS2_CAN_STRETCHRECT_FROM_TEXTURES, which the device has) only to render
// targets. Nothing goes to a texture level that is not a render target, nor to or from depth.
bool stretchAllowed(const Surface& source, const Surface& dest) {
    if (source.desc().Pool != D3DPOOL_DEFAULT || dest.desc().Pool != D3DPOOL_DEFAULT ||
        source.isDepth() || dest.isDepth() || &source == &dest) {
        return false;
    }
    if (dest.isRenderTarget()) {
        return true;
    }
    return dest.isPlain() && source.isPlain();
}

} // namespace

void Device::attachColour(GLenum framebuffer, Surface* surface) {
    glFramebufferTexture2D(framebuffer, GL_COLOR_ATTACHMENT0, surface->glImageTarget(),
                           surface->glTexture(), surface->glLevel());
    if (framebuffer != GL_READ_FRAMEBUFFER) {
        attachedColour_ = surface->glTexture();
        attachedLevel_ = surface->glLevel();
        attachedImage_ = surface->glImageTarget();
    }
}

HRESULT Device::GetRenderTargetData(IDirect3DSurface9* renderTarget, IDirect3DSurface9* dest) {
    TARNELIX_D3D9_CALL();
    auto* source = dynamic_cast<Surface*>(renderTarget);
    auto* target = dynamic_cast<Surface*>(dest);
    if (!source || !target || !source->glTexture() || !source->isRenderTarget() ||
        !target->isSystemMemory() || !sameSizeAndFormat(source->desc(), target->desc())) {
        return D3DERR_INVALIDCALL;
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, readFramebuffer_);
    attachColour(GL_READ_FRAMEBUFFER, source);
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
    if (!source || !dest || !stretchAllowed(*source, *dest) || filter > D3DTEXF_LINEAR) {
        return D3DERR_INVALIDCALL;
    }
    RECT s;
    RECT d;
    if (!rectWithin(sourceRect, source->desc(), s) || !rectWithin(destRect, dest->desc(), d)) {
        return D3DERR_INVALIDCALL;
    }
    // GL reads and draws only colour-renderable formats (a plain L8 surface is not).
    if (!source->glTexture() || !dest->glTexture() || !source->format().renderable ||
        !dest->format().renderable) {
        refuseOnce("StretchRect between surfaces of format", source->desc().Format);
        return D3DERR_NOTAVAILABLE;
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, readFramebuffer_);
    attachColour(GL_READ_FRAMEBUFFER, source);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer_);
    attachColour(GL_DRAW_FRAMEBUFFER, dest);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    bool scaled = s.right - s.left != d.right - d.left || s.bottom - s.top != d.bottom - d.top;
    glBlitFramebuffer(s.left, s.top, s.right, s.bottom, d.left, d.top, d.right, d.bottom,
                      GL_COLOR_BUFFER_BIT,
                      scaled && filter == D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    dest->writtenByGl();
    draw_.dirty |= kDirtyRenderTarget | kDirtyRaster;
    return D3D_OK;
}

// Direct3D fills render targets (surfaces or texture levels) and default-pool plain surfaces;
// never a managed or system-memory surface, nor a texture level that is not a render target.
HRESULT Device::ColorFill(IDirect3DSurface9* surface, const RECT* rect, D3DCOLOR color) {
    TARNELIX_D3D9_CALL();
    auto* target = dynamic_cast<Surface*>(surface);
    RECT r;
    if (!target || target->desc().Pool != D3DPOOL_DEFAULT || target->isDepth() ||
        (target->isTextureLevel() && !target->isRenderTarget()) || !target->glTexture() ||
        !rectWithin(rect, target->desc(), r)) {
        return D3DERR_INVALIDCALL;
    }
    if (!target->format().renderable) {
        refuseOnce("ColorFill on a surface of format", target->desc().Format);
        return D3DERR_NOTAVAILABLE;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    attachColour(GL_FRAMEBUFFER, target);
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

// From system memory (a plain surface or a texture level) to the default pool, same format: a
// region of the source to a point of the destination, both wholly inside.
HRESULT Device::UpdateSurface(IDirect3DSurface9* sourceSurface, const RECT* sourceRect,
                              IDirect3DSurface9* destSurface, const POINT* destPoint) {
    TARNELIX_D3D9_CALL();
    auto* source = dynamic_cast<Surface*>(sourceSurface);
    auto* dest = dynamic_cast<Surface*>(destSurface);
    RECT r;
    if (!source || !dest || source->desc().Pool != D3DPOOL_SYSTEMMEM ||
        dest->desc().Pool != D3DPOOL_DEFAULT || source->isDepth() || dest->isDepth() ||
        source->desc().Format != dest->desc().Format || !dest->glTexture() ||
        !rectWithin(sourceRect, source->desc(), r)) {
        return D3DERR_INVALIDCALL;
    }
    LONG x = destPoint ? destPoint->x : 0;
    LONG y = destPoint ? destPoint->y : 0;
    LONG width = r.right - r.left;
    LONG height = r.bottom - r.top;
    if (x < 0 || y < 0 || x + width > static_cast<LONG>(dest->desc().Width) ||
        y + height > static_cast<LONG>(dest->desc().Height)) {
        return D3DERR_INVALIDCALL;
    }
    UINT pitch = source->pitch();
    const uint8_t* first = source->sourceBits() + static_cast<size_t>(r.top) * pitch +
                           static_cast<size_t>(r.left) * source->format().bytesPerPixel;
    dest->writeRect(static_cast<UINT>(x), static_cast<UINT>(y), static_cast<UINT>(width),
                    static_cast<UINT>(height), first, pitch);
    dest->writtenByGl();
    return D3D_OK;
}

namespace {

// Both textures' storage, when they are textures of one type; null otherwise.
bool storagesOfOneType(IDirect3DBaseTexture9* source, IDirect3DBaseTexture9* dest,
                       TextureStorage*& from, TextureStorage*& to) {
    BoundTexture* a = boundTextureOf(source);
    BoundTexture* b = boundTextureOf(dest);
    if (!a || !b || source->GetType() != dest->GetType()) {
        return false;
    }
    from = &a->storage();
    to = &b->storage();
    return true;
}

} // namespace

// From a system-memory texture to a default-pool one of the same type and format. The source
// may have more levels than the destination: its top ones are skipped, and the sizes from there
// on must match. A destination that makes its own mipmaps takes level 0 alone.
HRESULT Device::UpdateTexture(IDirect3DBaseTexture9* source, IDirect3DBaseTexture9* dest) {
    TARNELIX_D3D9_CALL();
    TextureStorage* from = nullptr;
    TextureStorage* to = nullptr;
    if (!storagesOfOneType(source, dest, from, to) || from->pool() != D3DPOOL_SYSTEMMEM ||
        to->pool() != D3DPOOL_DEFAULT || from->format().format != to->format().format) {
        return D3DERR_INVALIDCALL;
    }
    UINT fromLevels = source->GetLevelCount();
    UINT toLevels = dest->GetLevelCount();
    if (fromLevels < toLevels) {
        return D3DERR_INVALIDCALL;
    }
    UINT skipped = fromLevels - toLevels;
    if (from->width(skipped) != to->width(0) || from->height(skipped) != to->height(0) ||
        from->depth(skipped) != to->depth(0)) {
        return D3DERR_INVALIDCALL;
    }
    makeCurrent();
    for (UINT face = 0; face < to->faces(); ++face) {
        for (UINT level = 0; level < toLevels; ++level) {
            to->copyLevel(face, level, *from, level + skipped);
        }
    }
    return D3D_OK;
}

} // namespace tarnelix::d3d9
