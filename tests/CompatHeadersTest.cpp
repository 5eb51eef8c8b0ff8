// The stand-in headers compile as a Windows program includes them and keep the real values.

#include <d3d9.h>
#include <windows.h>

#include <gtest/gtest.h>

TEST(CompatHeaders, EnumValuesMatchTheRealHeaders) {
    EXPECT_EQ(D3DRS_ALPHABLENDENABLE, 27);
    EXPECT_EQ(D3DRS_TEXTUREFACTOR, 60);
    EXPECT_EQ(D3DRS_LIGHTING, 137);
    EXPECT_EQ(D3DTSS_COLORARG0, 26);
    EXPECT_EQ(D3DSAMP_MAXANISOTROPY, 10);
    EXPECT_EQ(D3DTOP_LERP, 26);
    EXPECT_EQ(D3DTOP_DOTPRODUCT3, 24);
    EXPECT_EQ(D3DFMT_A8R8G8B8, 21);
    EXPECT_EQ(D3DFMT_D24S8, 75);
    EXPECT_EQ(D3DFMT_DXT1, 0x31545844);
    EXPECT_EQ(D3DTS_WORLD, 256);
    EXPECT_EQ(D3DDECLUSAGE_COLOR, 10);
    EXPECT_EQ(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE4(0), 0x20142);
    EXPECT_EQ(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1, 0x144);
    EXPECT_EQ(D3DPRESENT_INTERVAL_IMMEDIATE, 0x80000000L);
}

TEST(CompatHeaders, ResultCodesAndStructLayouts) {
    EXPECT_EQ(static_cast<uint32_t>(D3DERR_INVALIDCALL), 0x8876086Cu);
    EXPECT_EQ(static_cast<uint32_t>(D3DERR_NOTAVAILABLE), 0x8876086Au);
    EXPECT_TRUE(FAILED(E_FAIL));
    EXPECT_TRUE(SUCCEEDED(D3D_OK));
    EXPECT_EQ(sizeof(D3DMATRIX), 64u);
    EXPECT_EQ(sizeof(D3DVERTEXELEMENT9), 8u);
    EXPECT_EQ(sizeof(D3DCOLOR), 4u);
    EXPECT_EQ(D3DCOLOR_ARGB(0x80, 0x10, 0x20, 0x30), 0x80102030u);
    D3DVERTEXELEMENT9 end = D3DDECL_END();
    EXPECT_EQ(end.Stream, 0xFF);
    EXPECT_EQ(VK_ESCAPE, 0x1B);
    EXPECT_EQ(WM_CLOSE, 0x10);
    EXPECT_EQ(WM_QUIT, 0x12);
}

TEST(CompatHeaders, Direct3DCreate9RefusesUnknownSdkVersions) {
    EXPECT_EQ(Direct3DCreate9(12345), nullptr);
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    EXPECT_EQ(d3d->Release(), 0u);
    d3d = Direct3DCreate9(31);
    ASSERT_NE(d3d, nullptr);
    EXPECT_EQ(d3d->Release(), 0u);
}
