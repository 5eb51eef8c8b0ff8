#include "image/Image.h"
#include "image/ImageScaling.h"

#include <d3dx9.h>

#include <algorithm>
#include <cstring>

namespace {

using namespace tarnelix::d3dx;

constexpr uint32_t kDefaultMaxTextureSide = 4096;

bool isDefault(UINT size) {
    return size == 0 || size == D3DX_DEFAULT;
}

bool keepsFileSize(UINT size) {
    return size == D3DX_DEFAULT_NONPOW2 || size == D3DX_FROM_FILE;
}

uint32_t maxTextureSide(LPDIRECT3DDEVICE9 device, bool width) {
    D3DCAPS9 caps;
    std::memset(&caps, 0, sizeof caps);
    if (FAILED(device->GetDeviceCaps(&caps))) {
        return kDefaultMaxTextureSide;
    }
    const DWORD side = width ? caps.MaxTextureWidth : caps.MaxTextureHeight;
    return side == 0 ? kDefaultMaxTextureSide : side;
}

uint32_t targetSide(UINT asked, uint32_t fromFile, uint32_t limit) {
    if (keepsFileSize(asked)) {
        return std::min(fromFile, limit);
    }
    if (isDefault(asked)) {
        return roundUpToPowerOfTwo(fromFile, limit);
    }
    return std::min<uint32_t>(asked, limit);
}

D3DFORMAT fileFormat(const Image& image) {
    return image.hasAlpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
}

void applyColorKey(Image& image, D3DCOLOR key) {
    for (size_t i = 0; i + 3 < image.pixels.size(); i += 4) {
        uint8_t* p = &image.pixels[i];
        const D3DCOLOR argb =
            (D3DCOLOR(p[3]) << 24) | (D3DCOLOR(p[2]) << 16) | (D3DCOLOR(p[1]) << 8) | p[0];
        if (argb == key) {
            std::memset(p, 0, 4);
        }
    }
    image.hasAlpha = true;
}

// Nearest-texel scaling for D3DX_FILTER_NONE and D3DX_FILTER_POINT.
Image pointSample(const Image& source, uint32_t width, uint32_t height) {
    Image out;
    out.width = width;
    out.height = height;
    out.hasAlpha = source.hasAlpha;
    out.pixels.resize(size_t(width) * height * 4);
    for (uint32_t y = 0; y < height; ++y) {
        const uint32_t sy = uint32_t(uint64_t(y) * source.height / height);
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t sx = uint32_t(uint64_t(x) * source.width / width);
            std::memcpy(&out.pixels[(size_t(y) * width + x) * 4],
                        &source.pixels[(size_t(sy) * source.width + sx) * 4], 4);
        }
    }
    return out;
}

HRESULT uploadLevel(LPDIRECT3DTEXTURE9 texture, UINT level, const Image& image, bool opaque) {
    D3DLOCKED_RECT locked;
    HRESULT hr = texture->LockRect(level, &locked, nullptr, 0);
    if (FAILED(hr) || locked.pBits == nullptr) {
        return FAILED(hr) ? hr : D3DERR_INVALIDCALL;
    }
    const size_t rowBytes = size_t(image.width) * 4;
    for (uint32_t y = 0; y < image.height; ++y) {
        uint8_t* row = static_cast<uint8_t*>(locked.pBits) + size_t(y) * locked.Pitch;
        std::memcpy(row, &image.pixels[y * rowBytes], rowBytes);
        if (opaque) {
            for (size_t x = 3; x < rowBytes; x += 4) {
                row[x] = 0xFF;
            }
        }
    }
    return texture->UnlockRect(level);
}

HRESULT readHeader(LPCVOID data, UINT size, ImageHeader& header, D3DXIMAGE_INFO* info) {
    std::string error;
    if (!readImageHeader(static_cast<const uint8_t*>(data), size, header, error)) {
        return D3DXERR_INVALIDDATA;
    }
    if (info != nullptr) {
        info->Width = header.width;
        info->Height = header.height;
        info->Depth = 1;
        info->MipLevels = 1;
        info->Format = header.hasAlpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
        info->ResourceType = D3DRTYPE_TEXTURE;
        info->ImageFileFormat = header.format == ImageFileFormat::Png ? D3DXIFF_PNG : D3DXIFF_JPG;
    }
    return D3D_OK;
}

} // namespace

HRESULT WINAPI D3DXGetImageInfoFromFileInMemory(LPCVOID pSrcData, UINT SrcDataSize,
                                                D3DXIMAGE_INFO* pSrcInfo) {
    if (pSrcData == nullptr || SrcDataSize == 0 || pSrcInfo == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    ImageHeader header;
    return readHeader(pSrcData, SrcDataSize, header, pSrcInfo);
}

HRESULT WINAPI D3DXCreateTextureFromFileInMemoryEx(LPDIRECT3DDEVICE9 pDevice, LPCVOID pSrcData,
                                                   UINT SrcDataSize, UINT Width, UINT Height,
                                                   UINT MipLevels, DWORD Usage, D3DFORMAT Format,
                                                   D3DPOOL Pool, DWORD Filter, DWORD /*MipFilter*/,
                                                   D3DCOLOR ColorKey, D3DXIMAGE_INFO* pSrcInfo,
                                                   PALETTEENTRY* /*pPalette*/,
                                                   LPDIRECT3DTEXTURE9* ppTexture) {
    if (ppTexture != nullptr) {
        *ppTexture = nullptr;
    }
    if (pDevice == nullptr || pSrcData == nullptr || SrcDataSize == 0 || ppTexture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    // The texture's size comes from the header, so that a picture larger than the texture is
    // decoded no larger than needed.
    ImageHeader header;
    HRESULT hr = readHeader(pSrcData, SrcDataSize, header, pSrcInfo);
    if (FAILED(hr)) {
        return hr;
    }
    const uint32_t width = targetSide(Width, header.width, maxTextureSide(pDevice, true));
    const uint32_t height = targetSide(Height, header.height, maxTextureSide(pDevice, false));
    Image image;
    std::string error;
    if (!decodeImage(static_cast<const uint8_t*>(pSrcData), SrcDataSize, image, error, width,
                     height)) {
        return D3DXERR_INVALIDDATA;
    }
    if (ColorKey != 0) {
        applyColorKey(image, ColorKey);
    }
    if (Format == D3DFMT_UNKNOWN || Format == D3DFMT_FROM_FILE) {
        Format = fileFormat(image);
    }
    if (Format != D3DFMT_A8R8G8B8 && Format != D3DFMT_X8R8G8B8) {
        return D3DERR_NOTAVAILABLE;
    }

    const uint32_t fullChain = fullMipLevelCount(width, height);
    // A texture that makes its own mipmaps is given level 0 alone.
    const uint32_t levels = (Usage & D3DUSAGE_AUTOGENMIPMAP) ? 1
                            : isDefault(MipLevels)           ? fullChain
                            : MipLevels == D3DX_FROM_FILE
                                ? 1
                                : std::min<uint32_t>(MipLevels, fullChain);
    const DWORD scaling = Filter == D3DX_DEFAULT ? D3DX_FILTER_TRIANGLE : (Filter & 0xFF);
    if (width != image.width || height != image.height) {
        image = scaling == D3DX_FILTER_NONE || scaling == D3DX_FILTER_POINT
                    ? pointSample(image, width, height)
                    : resizeImage(image, width, height);
    }

    // The device locks no default-pool texture but a dynamic one: the levels are written to
    // a system-memory copy and sent over with UpdateTexture, as the device wants.
    const bool staged = Pool == D3DPOOL_DEFAULT && !(Usage & D3DUSAGE_DYNAMIC);
    LPDIRECT3DTEXTURE9 texture = nullptr;
    hr = staged ? pDevice->CreateTexture(width, height, levels, 0, Format, D3DPOOL_SYSTEMMEM,
                                         &texture, nullptr)
                : pDevice->CreateTexture(width, height, levels, Usage, Format, Pool, &texture,
                                         nullptr);
    if (FAILED(hr) || texture == nullptr) {
        return FAILED(hr) ? hr : D3DERR_INVALIDCALL;
    }
    const bool opaque = Format == D3DFMT_X8R8G8B8;
    for (UINT level = 0; level < levels; ++level) {
        if (level > 0) {
            image = halveImage(image);
        }
        hr = uploadLevel(texture, level, image, opaque);
        if (FAILED(hr)) {
            texture->Release();
            return hr;
        }
    }
    if (staged) {
        LPDIRECT3DTEXTURE9 copy = nullptr;
        hr = pDevice->CreateTexture(width, height, levels, Usage, Format, Pool, &copy, nullptr);
        if (SUCCEEDED(hr) && copy != nullptr) {
            hr = pDevice->UpdateTexture(texture, copy);
        }
        texture->Release();
        if (FAILED(hr) || copy == nullptr) {
            if (copy != nullptr) {
                copy->Release();
            }
            return FAILED(hr) ? hr : D3DERR_INVALIDCALL;
        }
        texture = copy;
    }
    *ppTexture = texture;
    return D3D_OK;
}

HRESULT WINAPI D3DXCreateTextureFromFileInMemory(LPDIRECT3DDEVICE9 pDevice, LPCVOID pSrcData,
                                                 UINT SrcDataSize, LPDIRECT3DTEXTURE9* ppTexture) {
    return D3DXCreateTextureFromFileInMemoryEx(
        pDevice, pSrcData, SrcDataSize, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0, D3DFMT_UNKNOWN,
        D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, ppTexture);
}
