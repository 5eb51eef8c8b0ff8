#include "Surface.h"

#include "GlScratch.h"
#include "TextureStorage.h"

#include <cstring>

namespace tarnelix::d3d9 {

Surface::Surface(Device* device, TextureStorage* owner, IUnknown* container, UINT face, UINT level,
                 const D3DSURFACE_DESC& desc)
    : Resource(device), owner_(owner), container_(container), face_(face), level_(level),
      desc_(desc), format_(findFormat(desc.Format)) {}

Surface::Surface(Device* device, const D3DSURFACE_DESC& desc)
    : Resource(device), desc_(desc), format_(findFormat(desc.Format)) {
    if (format_->depth) {
        glGenRenderbuffers(1, &renderbuffer_);
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer_);
        glRenderbufferStorage(GL_RENDERBUFFER, static_cast<GLenum>(glInternalFormat(*format_)),
                              static_cast<GLsizei>(desc.Width), static_cast<GLsizei>(desc.Height));
        return;
    }
    // A default-pool plain surface is both: StretchRect copies from its texture on the GPU.
    if (!(desc.Usage & D3DUSAGE_RENDERTARGET)) {
        memory_.assign(static_cast<size_t>(pitch()) * desc.Height, 0);
    }
    if ((desc.Usage & D3DUSAGE_RENDERTARGET) || desc.Pool == D3DPOOL_DEFAULT) {
        glGenTextures(1, &texture_);
        bindScratch(GL_TEXTURE_2D, texture_);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        glTexImage2D(GL_TEXTURE_2D, 0, glInternalFormat(*format_), static_cast<GLsizei>(desc.Width),
                     static_cast<GLsizei>(desc.Height), 0, format_->pixelFormat, format_->pixelType,
                     memory_.empty() ? nullptr : memory_.data());
    }
}

Surface::~Surface() {
    releaseGl();
}

void Surface::releaseGl() {
    if (texture_) {
        glDeleteTextures(1, &texture_);
        texture_ = 0;
    }
    if (renderbuffer_) {
        glDeleteRenderbuffers(1, &renderbuffer_);
        renderbuffer_ = 0;
    }
}

ULONG Surface::AddRef() {
    return container_ ? container_->AddRef() : Resource::AddRef();
}

ULONG Surface::Release() {
    TARNELIX_D3D9_CALL();
    return container_ ? container_->Release() : Resource::Release();
}

void Surface::writtenByGl() {
    if (owner_) {
        owner_->levelWrittenByGl(face_, level_);
    }
    glNewer_ = texture_ && !memory_.empty();
}

GLuint Surface::glTexture() const {
    return owner_ ? owner_->texture() : texture_;
}

GLenum Surface::glImageTarget() const {
    return owner_ ? owner_->imageTarget(face_) : GL_TEXTURE_2D;
}

const uint8_t* Surface::sourceBits() {
    return owner_ ? owner_->levelBits(face_, level_) : memory_.data();
}

void Surface::writeRect(UINT left, UINT top, UINT width, UINT height, const uint8_t* bits,
                        UINT sourcePitch) {
    if (owner_) {
        owner_->writeRect(face_, level_, left, top, width, height, bits, sourcePitch);
        return;
    }
    size_t bytes = static_cast<size_t>(width) * format_->bytesPerPixel;
    if (!memory_.empty()) {
        if (glNewer_) {
            bindScratch(GL_TEXTURE_2D, texture_);
            glGetTexImage(GL_TEXTURE_2D, 0, format_->pixelFormat, format_->pixelType,
                          memory_.data());
            glNewer_ = false;
        }
        for (UINT y = 0; y < height; ++y) {
            std::memcpy(
                &memory_[(top + y) * static_cast<size_t>(pitch()) + left * format_->bytesPerPixel],
                bits + static_cast<size_t>(y) * sourcePitch, bytes);
        }
    }
    if (texture_) {
        bindScratch(GL_TEXTURE_2D, texture_);
        glPixelStorei(GL_UNPACK_ROW_LENGTH,
                      static_cast<GLint>(sourcePitch / format_->bytesPerPixel));
        glTexSubImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(left), static_cast<GLint>(top),
                        static_cast<GLsizei>(width), static_cast<GLsizei>(height),
                        format_->pixelFormat, format_->pixelType, bits);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    }
}

HRESULT Surface::GetContainer(REFIID, void** container) {
    TARNELIX_D3D9_CALL();
    if (!container) {
        return D3DERR_INVALIDCALL;
    }
    if (!container_) {
        *container = nullptr;
        return E_NOINTERFACE;
    }
    container_->AddRef();
    *container = container_;
    return D3D_OK;
}

HRESULT Surface::GetDesc(D3DSURFACE_DESC* desc) {
    TARNELIX_D3D9_CALL();
    if (!desc) {
        return D3DERR_INVALIDCALL;
    }
    *desc = desc_;
    return D3D_OK;
}

HRESULT Surface::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    TARNELIX_D3D9_CALL();
    if (!locked) {
        return D3DERR_INVALIDCALL;
    }
    UINT left = 0;
    UINT top = 0;
    UINT right = desc_.Width;
    UINT bottom = desc_.Height;
    if (rect) {
        if (rect->left < 0 || rect->top < 0 || rect->right <= rect->left ||
            rect->bottom <= rect->top) {
            return D3DERR_INVALIDCALL;
        }
        left = static_cast<UINT>(rect->left);
        top = static_cast<UINT>(rect->top);
        right = static_cast<UINT>(rect->right);
        bottom = static_cast<UINT>(rect->bottom);
    }
    if (owner_) {
        INT slicePitch = 0;
        return owner_->lock(face_, level_, left, top, 0, right, bottom, 1, locked->Pitch,
                            slicePitch, locked->pBits, flags);
    }
    if (memory_.empty() || locked_ || right > desc_.Width || bottom > desc_.Height) {
        return D3DERR_INVALIDCALL;
    }
    if (glNewer_) {
        // What GL wrote (a fill or a copy) is read back before the program sees the memory.
        bindScratch(GL_TEXTURE_2D, texture_);
        glGetTexImage(GL_TEXTURE_2D, 0, format_->pixelFormat, format_->pixelType, memory_.data());
        glNewer_ = false;
    }
    lockedReadOnly_ = (flags & D3DLOCK_READONLY) != 0;
    locked->Pitch = static_cast<INT>(pitch());
    locked->pBits = memory_.data() + static_cast<size_t>(top) * pitch() +
                    static_cast<size_t>(left) * format_->bytesPerPixel;
    locked_ = true;
    return D3D_OK;
}

HRESULT Surface::UnlockRect() {
    TARNELIX_D3D9_CALL();
    if (owner_) {
        return owner_->unlock(face_, level_);
    }
    if (!locked_) {
        return D3DERR_INVALIDCALL;
    }
    locked_ = false;
    if (texture_ && !lockedReadOnly_) {
        bindScratch(GL_TEXTURE_2D, texture_);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, static_cast<GLsizei>(desc_.Width),
                        static_cast<GLsizei>(desc_.Height), format_->pixelFormat,
                        format_->pixelType, memory_.data());
    }
    return D3D_OK;
}

HRESULT Surface::GetDC(HDC*) {
    TARNELIX_D3D9_CALL();
    return D3DERR_INVALIDCALL;
}

HRESULT Surface::ReleaseDC(HDC) {
    TARNELIX_D3D9_CALL();
    return D3DERR_INVALIDCALL;
}

} // namespace tarnelix::d3d9
