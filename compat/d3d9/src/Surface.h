#pragma once

// A surface: a level of a texture (of a cube face), a render target or depth buffer of its own,
// a plain block of system memory (offscreen plain surfaces, the readback destination), or an
// offscreen plain surface in the default pool: memory to lock and a GL texture to copy from.

#include "ComObject.h"
#include "Formats.h"

#include <vector>

namespace tarnelix::d3d9 {

class TextureStorage;

class Surface : public Resource<IDirect3DSurface9, D3DRTYPE_SURFACE> {
public:
    // A level of a texture's face; reference counting goes to the texture, as on Direct3D.
    Surface(Device* device, TextureStorage* owner, IUnknown* container, UINT face, UINT level,
            const D3DSURFACE_DESC& desc);
    // A surface of its own: a render target (GL texture), a depth buffer (GL renderbuffer),
    // system memory, or both memory and a texture (default-pool plain), chosen from the
    // description.
    Surface(Device* device, const D3DSURFACE_DESC& desc);
    ~Surface() override;

    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetContainer(REFIID riid, void** container) override;
    HRESULT STDMETHODCALLTYPE GetDesc(D3DSURFACE_DESC* desc) override;
    HRESULT STDMETHODCALLTYPE LockRect(D3DLOCKED_RECT* locked, const RECT* rect,
                                       DWORD flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect() override;
    HRESULT STDMETHODCALLTYPE GetDC(HDC* dc) override;
    HRESULT STDMETHODCALLTYPE ReleaseDC(HDC dc) override;

    void releaseGl() override;

    const D3DSURFACE_DESC& desc() const { return desc_; }
    const FormatInfo& format() const { return *format_; }
    // The GL texture and level that hold the colour, or 0 when the surface has none.
    GLuint glTexture() const;
    GLint glLevel() const { return static_cast<GLint>(level_); }
    // The target to attach or copy the colour by: GL_TEXTURE_2D or a cube face's.
    GLenum glImageTarget() const;
    GLuint glRenderbuffer() const { return renderbuffer_; }
    // GL wrote the colour (a copy or a fill), not a lock: the texture behind forgets what it knew.
    void writtenByGl();
    bool isDepth() const { return format_->depth; }
    bool isSystemMemory() const { return !owner_ && !texture_ && !renderbuffer_; }
    // A level of a texture (of any usage), not a surface of its own.
    bool isTextureLevel() const { return owner_ != nullptr; }
    bool isRenderTarget() const { return (desc_.Usage & D3DUSAGE_RENDERTARGET) != 0; }
    // An offscreen plain surface (of any pool).
    bool isPlain() const { return !owner_ && !isRenderTarget() && !isDepth(); }
    uint8_t* memory() { return memory_.data(); }
    UINT pitch() const { return rowPitch(*format_, desc_.Width); }
    // The memory a copy reads from: a system-memory surface's, or its texture level's.
    const uint8_t* sourceBits();
    // Writes a region from rows `pitch` bytes apart (bounds checked by the caller).
    void writeRect(UINT left, UINT top, UINT width, UINT height, const uint8_t* bits, UINT pitch);

private:
    TextureStorage* owner_ = nullptr;
    IUnknown* container_ = nullptr;
    UINT face_ = 0;
    UINT level_ = 0;
    D3DSURFACE_DESC desc_{};
    const FormatInfo* format_ = nullptr;
    GLuint texture_ = 0;
    GLuint renderbuffer_ = 0;
    std::vector<uint8_t> memory_;
    bool locked_ = false;
    bool lockedReadOnly_ = false;
    bool glNewer_ = false; // a default-pool plain surface written by GL since its last lock
};

} // namespace tarnelix::d3d9
