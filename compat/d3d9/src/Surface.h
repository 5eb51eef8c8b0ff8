#pragma once

// A surface: a level of a texture, a render target or depth buffer of its own, or a plain block
// of system memory (offscreen plain surfaces, the readback destination).

#include "ComObject.h"
#include "Formats.h"

#include <vector>

namespace tarnelix::d3d9 {

class TextureStorage;

class Surface : public Resource<IDirect3DSurface9, D3DRTYPE_SURFACE> {
public:
    // A level of a texture; reference counting goes to the texture, as on Direct3D.
    Surface(Device* device, TextureStorage* owner, IUnknown* container, UINT level,
            const D3DSURFACE_DESC& desc);
    // A surface of its own: a render target (GL texture), a depth buffer (GL renderbuffer) or
    // system memory, chosen from the description.
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
    GLuint glRenderbuffer() const { return renderbuffer_; }
    // GL wrote the colour (a copy or a fill), not a lock: the texture behind forgets what it knew.
    void writtenByGl();
    bool isDepth() const { return format_->depth; }
    bool isSystemMemory() const { return !owner_ && !texture_ && !renderbuffer_; }
    uint8_t* memory() { return memory_.data(); }
    UINT pitch() const { return rowPitch(*format_, desc_.Width); }

private:
    TextureStorage* owner_ = nullptr;
    IUnknown* container_ = nullptr;
    UINT level_ = 0;
    D3DSURFACE_DESC desc_{};
    const FormatInfo* format_ = nullptr;
    GLuint texture_ = 0;
    GLuint renderbuffer_ = 0;
    std::vector<uint8_t> memory_;
    bool locked_ = false;
};

} // namespace tarnelix::d3d9
