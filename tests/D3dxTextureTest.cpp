#include "ImageEncoding.h"
#include "MemoryDevice.h"

#include <d3dx9.h>
#include <gtest/gtest.h>
#include <png.h>

namespace {

class TextureCreation : public ::testing::Test {
protected:
    ~TextureCreation() override { device->Release(); }

    // Creates with the settings the engine's textures use: default sizes, a full mip chain,
    // the file's format, the managed pool and the default filters.
    HRESULT create(const std::vector<uint8_t>& bytes, MemoryTexture** texture) {
        IDirect3DTexture9* created = reinterpret_cast<IDirect3DTexture9*>(0x1);
        const HRESULT hr = D3DXCreateTextureFromFileInMemoryEx(
            device, bytes.data(), UINT(bytes.size()), D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
            D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr,
            &created);
        *texture = static_cast<MemoryTexture*>(created);
        return hr;
    }

    MemoryDevice* device = new MemoryDevice;
};

} // namespace

TEST_F(TextureCreation, PngWithAlphaKeepsItsTexelsAndAFullChain) {
    std::vector<uint8_t> rgba;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            rgba.insert(rgba.end(),
                        {uint8_t(x * 30), uint8_t(y * 60), 7, uint8_t(x < 4 ? 255 : 0)});
        }
    }
    MemoryTexture* texture = nullptr;
    ASSERT_EQ(create(encodePng(rgba.data(), 8, 4, PNG_FORMAT_RGBA), &texture), D3D_OK);
    EXPECT_EQ(texture->format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(texture->pool, D3DPOOL_MANAGED);
    ASSERT_EQ(texture->GetLevelCount(), 4u); // 8x4, 4x2, 2x1, 1x1
    EXPECT_EQ(texture->levels[0].width, 8u);
    EXPECT_EQ(texture->texel(0, 5, 2), (std::vector<int>{7, 120, 150, 0}));
    EXPECT_EQ(texture->texel(0, 1, 3), (std::vector<int>{7, 180, 30, 255}));
    // Level 1 texel (0, 0) averages texels (0..1, 0..1) of level 0.
    EXPECT_EQ(texture->texel(1, 0, 0), (std::vector<int>{7, 30, 15, 255}));
    EXPECT_EQ(texture->texel(3, 0, 0)[3], 128); // half the texels are transparent
    for (const MemoryTexture::Level& level : texture->levels) {
        EXPECT_FALSE(level.locked);
    }
    texture->Release();
}

TEST_F(TextureCreation, JpegIsOpaqueAndResampledToPowersOfTwo) {
    MemoryTexture* texture = nullptr;
    const auto pixels = solidPixels(48, 20, {200, 100, 50});
    ASSERT_EQ(create(encodeJpeg(pixels, 48, 20, 3, true), &texture), D3D_OK);
    EXPECT_EQ(texture->format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(texture->levels[0].width, 64u);
    EXPECT_EQ(texture->levels[0].height, 32u);
    EXPECT_EQ(texture->GetLevelCount(), 7u);
    EXPECT_TRUE(nearTexel(texture->texel(0, 63, 31), {50, 100, 200, 255}, 4));
    EXPECT_TRUE(nearTexel(texture->texel(6, 0, 0), {50, 100, 200, 255}, 4));
    EXPECT_EQ(texture->texel(0, 10, 10)[3], 255);
    texture->Release();
}

TEST_F(TextureCreation, ImagesLargerThanTheDeviceAllowsAreScaledDown) {
    MemoryTexture* texture = nullptr;
    std::vector<uint8_t> wide(3000 * 2, 40);
    ASSERT_EQ(create(encodePng(wide.data(), 3000, 2, PNG_FORMAT_GRAY), &texture), D3D_OK);
    EXPECT_EQ(texture->levels[0].width, 2048u);
    EXPECT_EQ(texture->levels[0].height, 2u);
    texture->Release();
}

TEST_F(TextureCreation, ExplicitSizesFormatsAndLevelCountsAreHonoured) {
    const uint8_t rgb[] = {255, 0, 0, 0, 255, 0, 0, 0, 255};
    const auto png = encodePng(rgb, 3, 1, PNG_FORMAT_RGB);
    IDirect3DTexture9* created = nullptr;
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(D3DXCreateTextureFromFileInMemoryEx(
                  device, png.data(), UINT(png.size()), D3DX_DEFAULT_NONPOW2, D3DX_DEFAULT_NONPOW2,
                  1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, D3DX_FILTER_NONE, D3DX_DEFAULT, 0,
                  &info, nullptr, &created),
              D3D_OK);
    auto* texture = static_cast<MemoryTexture*>(created);
    EXPECT_EQ(texture->levels[0].width, 3u);
    EXPECT_EQ(texture->GetLevelCount(), 1u);
    EXPECT_EQ(texture->format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(texture->texel(0, 2, 0), (std::vector<int>{255, 0, 0, 255}));
    EXPECT_EQ(info.Width, 3u);
    EXPECT_EQ(info.Height, 1u);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_PNG);
    EXPECT_EQ(info.Format, D3DFMT_X8R8G8B8);
    texture->Release();
}

TEST_F(TextureCreation, UndecodableBytesGiveAnErrorAndNoTexture) {
    const std::vector<uint8_t> junk = {'h', 'e', 'l', 'l', 'o', 0, 1, 2, 3};
    MemoryTexture* texture = nullptr;
    EXPECT_EQ(create(junk, &texture), D3DXERR_INVALIDDATA);
    EXPECT_EQ(texture, nullptr);
    auto jpeg = encodeJpeg(solidPixels(8, 8, {1, 2, 3}), 8, 8, 3, false);
    jpeg.resize(40);
    EXPECT_TRUE(FAILED(create(jpeg, &texture)));
    EXPECT_EQ(texture, nullptr);
    IDirect3DTexture9* none = nullptr;
    EXPECT_EQ(D3DXCreateTextureFromFileInMemory(device, junk.data(), 0, &none), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateTextureFromFileInMemory(nullptr, junk.data(), 9, &none),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(none, nullptr);
}
