#include "Texture.h"

namespace tarnelix::d3d9 {

namespace {

// The locked region of a 2D level: the whole level, or a rectangle within it.
HRESULT lockedRegion(const TextureStorage& storage, UINT level, const RECT* rect, UINT& left,
                     UINT& top, UINT& right, UINT& bottom) {
    left = 0;
    top = 0;
    right = storage.width(level);
    bottom = storage.height(level);
    if (rect) {
        if (rect->left < 0 || rect->top < 0 || rect->right < 0 || rect->bottom < 0) {
            return D3DERR_INVALIDCALL;
        }
        left = static_cast<UINT>(rect->left);
        top = static_cast<UINT>(rect->top);
        right = static_cast<UINT>(rect->right);
        bottom = static_cast<UINT>(rect->bottom);
    }
    return D3D_OK;
}

void fillLevelDesc(const TextureStorage& storage, D3DFORMAT format, UINT level,
                   D3DSURFACE_DESC* desc) {
    desc->Format = format;
    desc->Type = D3DRTYPE_SURFACE;
    desc->Usage = storage.usage();
    desc->Pool = storage.pool();
    desc->MultiSampleType = D3DMULTISAMPLE_NONE;
    desc->MultiSampleQuality = 0;
    desc->Width = storage.width(level);
    desc->Height = storage.height(level);
}

} // namespace

BoundTexture* boundTextureOf(IDirect3DBaseTexture9* texture) {
    return dynamic_cast<BoundTexture*>(texture);
}

Texture::Texture(Device* device, UINT width, UINT height, UINT levels, DWORD usage,
                 D3DFORMAT format, D3DPOOL pool)
    : TextureBase(device, GL_TEXTURE_2D, width, height, 1, levels, usage, format, pool) {
    for (UINT level = 0; level < storage_.levels(); ++level) {
        D3DSURFACE_DESC desc{};
        GetLevelDesc(level, &desc);
        levels_.push_back(std::make_unique<Surface>(device, &storage_, this, 0, level, desc));
    }
}

Texture::~Texture() = default;

void Texture::releaseGl() {
    storage_.releaseGl();
}

HRESULT Texture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    TARNELIX_D3D9_CALL();
    if (!desc || level >= storage_.levels()) {
        return D3DERR_INVALIDCALL;
    }
    fillLevelDesc(storage_, format_, level, desc);
    return D3D_OK;
}

HRESULT Texture::GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) {
    TARNELIX_D3D9_CALL();
    if (!surface || level >= levels_.size()) {
        return D3DERR_INVALIDCALL;
    }
    *surface = levels_[level].get();
    AddRef();
    return D3D_OK;
}

HRESULT Texture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    TARNELIX_D3D9_CALL();
    if (!locked || level >= storage_.levels()) {
        return D3DERR_INVALIDCALL;
    }
    UINT left, top, right, bottom;
    if (FAILED(lockedRegion(storage_, level, rect, left, top, right, bottom))) {
        return D3DERR_INVALIDCALL;
    }
    INT slicePitch = 0;
    return storage_.lock(0, level, left, top, 0, right, bottom, 1, locked->Pitch, slicePitch,
                         locked->pBits, flags);
}

HRESULT Texture::UnlockRect(UINT level) {
    TARNELIX_D3D9_CALL();
    return storage_.unlock(0, level);
}

CubeTexture::CubeTexture(Device* device, UINT edge, UINT levels, DWORD usage, D3DFORMAT format,
                         D3DPOOL pool)
    : TextureBase(device, GL_TEXTURE_CUBE_MAP, edge, edge, 1, levels, usage, format, pool) {
    for (UINT face = 0; face < 6; ++face) {
        for (UINT level = 0; level < storage_.levels(); ++level) {
            D3DSURFACE_DESC desc{};
            fillLevelDesc(storage_, format_, level, &desc);
            surfaces_.push_back(
                std::make_unique<Surface>(device, &storage_, this, face, level, desc));
        }
    }
}

CubeTexture::~CubeTexture() = default;

Surface* CubeTexture::surface(UINT face, UINT level) {
    return face < 6 && level < storage_.levels() ? surfaces_[face * storage_.levels() + level].get()
                                                 : nullptr;
}

HRESULT CubeTexture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    TARNELIX_D3D9_CALL();
    if (!desc || level >= storage_.levels()) {
        return D3DERR_INVALIDCALL;
    }
    fillLevelDesc(storage_, format_, level, desc);
    return D3D_OK;
}

HRESULT CubeTexture::GetCubeMapSurface(D3DCUBEMAP_FACES face, UINT level, IDirect3DSurface9** out) {
    TARNELIX_D3D9_CALL();
    Surface* found = surface(static_cast<UINT>(face), level);
    if (!out || !found) {
        return D3DERR_INVALIDCALL;
    }
    *out = found;
    AddRef();
    return D3D_OK;
}

HRESULT CubeTexture::LockRect(D3DCUBEMAP_FACES face, UINT level, D3DLOCKED_RECT* locked,
                              const RECT* rect, DWORD flags) {
    TARNELIX_D3D9_CALL();
    if (!locked || level >= storage_.levels() || static_cast<UINT>(face) >= 6) {
        return D3DERR_INVALIDCALL;
    }
    UINT left, top, right, bottom;
    if (FAILED(lockedRegion(storage_, level, rect, left, top, right, bottom))) {
        return D3DERR_INVALIDCALL;
    }
    INT slicePitch = 0;
    return storage_.lock(static_cast<UINT>(face), level, left, top, 0, right, bottom, 1,
                         locked->Pitch, slicePitch, locked->pBits, flags);
}

HRESULT CubeTexture::UnlockRect(D3DCUBEMAP_FACES face, UINT level) {
    TARNELIX_D3D9_CALL();
    return storage_.unlock(static_cast<UINT>(face), level);
}

VolumeTexture::VolumeTexture(Device* device, UINT width, UINT height, UINT depth, UINT levels,
                             DWORD usage, D3DFORMAT format, D3DPOOL pool)
    : TextureBase(device, GL_TEXTURE_3D, width, height, depth, levels, usage, format, pool) {
    for (UINT level = 0; level < storage_.levels(); ++level) {
        levels_.push_back(std::make_unique<Volume>(this, level));
    }
}

VolumeTexture::~VolumeTexture() = default;

HRESULT VolumeTexture::GetLevelDesc(UINT level, D3DVOLUME_DESC* desc) {
    TARNELIX_D3D9_CALL();
    if (!desc || level >= storage_.levels()) {
        return D3DERR_INVALIDCALL;
    }
    desc->Format = format_;
    desc->Type = D3DRTYPE_VOLUME;
    desc->Usage = storage_.usage();
    desc->Pool = storage_.pool();
    desc->Width = storage_.width(level);
    desc->Height = storage_.height(level);
    desc->Depth = storage_.depth(level);
    return D3D_OK;
}

HRESULT VolumeTexture::GetVolumeLevel(UINT level, IDirect3DVolume9** volume) {
    TARNELIX_D3D9_CALL();
    if (!volume || level >= levels_.size()) {
        return D3DERR_INVALIDCALL;
    }
    *volume = levels_[level].get();
    AddRef();
    return D3D_OK;
}

HRESULT VolumeTexture::LockBox(UINT level, D3DLOCKED_BOX* locked, const D3DBOX* box, DWORD flags) {
    TARNELIX_D3D9_CALL();
    if (!locked || level >= storage_.levels()) {
        return D3DERR_INVALIDCALL;
    }
    D3DBOX whole{0, 0, storage_.width(level), storage_.height(level), 0, storage_.depth(level)};
    const D3DBOX& b = box ? *box : whole;
    return storage_.lock(0, level, b.Left, b.Top, b.Front, b.Right, b.Bottom, b.Back,
                         locked->RowPitch, locked->SlicePitch, locked->pBits, flags);
}

HRESULT VolumeTexture::UnlockBox(UINT level) {
    TARNELIX_D3D9_CALL();
    return storage_.unlock(0, level);
}

HRESULT Volume::QueryInterface(REFIID, void** object) {
    if (object) {
        *object = nullptr;
    }
    return E_NOINTERFACE;
}

HRESULT Volume::GetContainer(REFIID, void** container) {
    TARNELIX_D3D9_CALL();
    if (!container) {
        return D3DERR_INVALIDCALL;
    }
    *container = static_cast<IDirect3DVolumeTexture9*>(owner_);
    owner_->AddRef();
    return D3D_OK;
}

} // namespace tarnelix::d3d9
