#pragma once

// 2D, cube and volume textures.

#include "ComObject.h"
#include "Surface.h"
#include "TextureStorage.h"

#include <memory>
#include <vector>

namespace tarnelix::d3d9 {

// What the device needs from any texture it binds.
class BoundTexture {
public:
    virtual ~BoundTexture() = default;
    virtual TextureStorage& storage() = 0;
};

// Finds the device's view of a texture handed to SetTexture (null for none or a foreign one).
BoundTexture* boundTextureOf(IDirect3DBaseTexture9* texture);

template <class Interface, D3DRESOURCETYPE Type>
class TextureBase : public Resource<Interface, Type>, public BoundTexture {
public:
    TextureBase(Device* device, GLenum target, UINT width, UINT height, UINT depth, UINT levels,
                DWORD usage, D3DFORMAT format, D3DPOOL pool)
        : Resource<Interface, Type>(device),
          storage_(target, width, height, depth, levels, usage, format, pool), format_(format) {}

    TextureStorage& storage() override { return storage_; }
    void releaseGl() override { storage_.releaseGl(); }

    DWORD STDMETHODCALLTYPE SetLOD(DWORD lod) override {
        DWORD old = lod_;
        lod_ = lod;
        return old;
    }
    DWORD STDMETHODCALLTYPE GetLOD() override { return lod_; }
    DWORD STDMETHODCALLTYPE GetLevelCount() override {
        return (storage_.usage() & D3DUSAGE_AUTOGENMIPMAP) ? 1 : storage_.levels();
    }
    HRESULT STDMETHODCALLTYPE SetAutoGenFilterType(D3DTEXTUREFILTERTYPE filter) override {
        autoGenFilter_ = filter;
        return D3D_OK;
    }
    D3DTEXTUREFILTERTYPE STDMETHODCALLTYPE GetAutoGenFilterType() override {
        return autoGenFilter_;
    }
    void STDMETHODCALLTYPE GenerateMipSubLevels() override {
        TARNELIX_D3D9_CALL();
        storage_.generateMips();
    }

protected:
    TextureStorage storage_;
    D3DFORMAT format_;
    DWORD lod_ = 0;
    D3DTEXTUREFILTERTYPE autoGenFilter_ = D3DTEXF_LINEAR;
};

class Texture : public TextureBase<IDirect3DTexture9, D3DRTYPE_TEXTURE> {
public:
    Texture(Device* device, UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
            D3DPOOL pool);
    ~Texture() override;

    HRESULT STDMETHODCALLTYPE GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT STDMETHODCALLTYPE GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) override;
    HRESULT STDMETHODCALLTYPE LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect,
                                       DWORD flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect(UINT level) override;
    HRESULT STDMETHODCALLTYPE AddDirtyRect(const RECT*) override { return D3D_OK; }

    void releaseGl() override;
    Surface* level(UINT index) { return index < levels_.size() ? levels_[index].get() : nullptr; }

private:
    std::vector<std::unique_ptr<Surface>> levels_;
};

// Six square faces in Direct3D's order (+X, -X, +Y, -Y, +Z, -Z), which is GL's: a face's rows
// run from v = 0 as GL's from t = 0, and both pick the face and its coordinates from a
// direction by the same table, so texel memory uploads unchanged and samples alike.
class CubeTexture : public TextureBase<IDirect3DCubeTexture9, D3DRTYPE_CUBETEXTURE> {
public:
    CubeTexture(Device* device, UINT edge, UINT levels, DWORD usage, D3DFORMAT format,
                D3DPOOL pool);
    ~CubeTexture() override;

    HRESULT STDMETHODCALLTYPE GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT STDMETHODCALLTYPE GetCubeMapSurface(D3DCUBEMAP_FACES face, UINT level,
                                                IDirect3DSurface9** surface) override;
    HRESULT STDMETHODCALLTYPE LockRect(D3DCUBEMAP_FACES face, UINT level, D3DLOCKED_RECT* locked,
                                       const RECT* rect, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect(D3DCUBEMAP_FACES face, UINT level) override;
    HRESULT STDMETHODCALLTYPE AddDirtyRect(D3DCUBEMAP_FACES, const RECT*) override {
        return D3D_OK;
    }

    Surface* surface(UINT face, UINT level);

private:
    std::vector<std::unique_ptr<Surface>> surfaces_; // face * levels + level
};

class Volume;

class VolumeTexture : public TextureBase<IDirect3DVolumeTexture9, D3DRTYPE_VOLUMETEXTURE> {
public:
    VolumeTexture(Device* device, UINT width, UINT height, UINT depth, UINT levels, DWORD usage,
                  D3DFORMAT format, D3DPOOL pool);
    ~VolumeTexture() override;

    HRESULT STDMETHODCALLTYPE GetLevelDesc(UINT level, D3DVOLUME_DESC* desc) override;
    HRESULT STDMETHODCALLTYPE GetVolumeLevel(UINT level, IDirect3DVolume9** volume) override;
    HRESULT STDMETHODCALLTYPE LockBox(UINT level, D3DLOCKED_BOX* locked, const D3DBOX* box,
                                      DWORD flags) override;
    HRESULT STDMETHODCALLTYPE UnlockBox(UINT level) override;
    HRESULT STDMETHODCALLTYPE AddDirtyBox(const D3DBOX*) override { return D3D_OK; }

private:
    std::vector<std::unique_ptr<Volume>> levels_;
};

// A level of a volume texture; its reference count is the texture's.
class Volume : public IDirect3DVolume9 {
public:
    Volume(VolumeTexture* owner, UINT level) : owner_(owner), level_(level) {}
    virtual ~Volume() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return owner_->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return owner_->Release(); }
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) override {
        return owner_->GetDevice(device);
    }
    HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID, const void*, DWORD, DWORD) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID, void*, DWORD*) override {
        return D3DERR_NOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE FreePrivateData(REFGUID) override { return D3DERR_NOTFOUND; }
    HRESULT STDMETHODCALLTYPE GetContainer(REFIID, void** container) override;
    HRESULT STDMETHODCALLTYPE GetDesc(D3DVOLUME_DESC* desc) override {
        return owner_->GetLevelDesc(level_, desc);
    }
    HRESULT STDMETHODCALLTYPE LockBox(D3DLOCKED_BOX* locked, const D3DBOX* box,
                                      DWORD flags) override {
        return owner_->LockBox(level_, locked, box, flags);
    }
    HRESULT STDMETHODCALLTYPE UnlockBox() override { return owner_->UnlockBox(level_); }

private:
    VolumeTexture* owner_;
    UINT level_;
};

} // namespace tarnelix::d3d9
