// The stand-in headers compile as a Windows program includes them and keep the real values.

#include <d3d9.h>
#include <windows.h>

#include <gtest/gtest.h>

// Only values that code writes as bare numbers or lays out in memory: vertex formats, result
// codes, structure sizes and packed colours.
TEST(CompatHeaders, NumericValuesAndLayoutsMatchTheRealHeaders) {
    EXPECT_EQ(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE4(0), 0x20142);
    EXPECT_EQ(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1, 0x144);
    EXPECT_EQ(static_cast<uint32_t>(D3DERR_INVALIDCALL), 0x8876086Cu);
    EXPECT_EQ(static_cast<uint32_t>(D3DERR_NOTAVAILABLE), 0x8876086Au);
    EXPECT_EQ(sizeof(D3DMATRIX), 64u);
    EXPECT_EQ(sizeof(D3DVERTEXELEMENT9), 8u);
    EXPECT_EQ(D3DCOLOR_ARGB(0x80, 0x10, 0x20, 0x30), 0x80102030u);
    D3DVERTEXELEMENT9 end = D3DDECL_END();
    EXPECT_EQ(end.Stream, 0xFF);
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
