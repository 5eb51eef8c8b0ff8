#include "Formats.h"

namespace tarnelix::d3d9 {

namespace {

const FormatInfo kFormats[] = {
    {D3DFMT_A8R8G8B8,
     GL_RGBA8,
     GL_BGRA,
     GL_UNSIGNED_INT_8_8_8_8_REV,
     4,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA},
     false,
     true},
    {D3DFMT_X8R8G8B8,
     GL_RGBA8,
     GL_BGRA,
     GL_UNSIGNED_INT_8_8_8_8_REV,
     4,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ONE},
     false,
     true},
    {D3DFMT_A8B8G8R8,
     GL_RGBA8,
     GL_RGBA,
     GL_UNSIGNED_INT_8_8_8_8_REV,
     4,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA},
     false,
     true},
    {D3DFMT_X8B8G8R8,
     GL_RGBA8,
     GL_RGBA,
     GL_UNSIGNED_INT_8_8_8_8_REV,
     4,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ONE},
     false,
     true},
    {D3DFMT_R5G6B5,
     GL_RGB565,
     GL_RGB,
     GL_UNSIGNED_SHORT_5_6_5,
     2,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ONE},
     false,
     true},
    {D3DFMT_A1R5G5B5,
     GL_RGB5_A1,
     GL_BGRA,
     GL_UNSIGNED_SHORT_1_5_5_5_REV,
     2,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA},
     false,
     true},
    {D3DFMT_X1R5G5B5,
     GL_RGB5_A1,
     GL_BGRA,
     GL_UNSIGNED_SHORT_1_5_5_5_REV,
     2,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ONE},
     false,
     true},
    {D3DFMT_A4R4G4B4,
     GL_RGBA4,
     GL_BGRA,
     GL_UNSIGNED_SHORT_4_4_4_4_REV,
     2,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA},
     false,
     true},
    {D3DFMT_X4R4G4B4,
     GL_RGBA4,
     GL_BGRA,
     GL_UNSIGNED_SHORT_4_4_4_4_REV,
     2,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ONE},
     false,
     true},
    {D3DFMT_A8,
     GL_R8,
     GL_RED,
     GL_UNSIGNED_BYTE,
     1,
     {GL_ZERO, GL_ZERO, GL_ZERO, GL_RED},
     false,
     false},
    {D3DFMT_L8, GL_R8, GL_RED, GL_UNSIGNED_BYTE, 1, {GL_RED, GL_RED, GL_RED, GL_ONE}, false, false},
    {D3DFMT_A8L8,
     GL_RG8,
     GL_RG,
     GL_UNSIGNED_BYTE,
     2,
     {GL_RED, GL_RED, GL_RED, GL_GREEN},
     false,
     false},
    {D3DFMT_L16,
     GL_R16,
     GL_RED,
     GL_UNSIGNED_SHORT,
     2,
     {GL_RED, GL_RED, GL_RED, GL_ONE},
     false,
     false},
    {D3DFMT_G16R16,
     GL_RG16,
     GL_RG,
     GL_UNSIGNED_SHORT,
     4,
     {GL_RED, GL_GREEN, GL_ONE, GL_ONE},
     false,
     true},
    {D3DFMT_A16B16G16R16,
     GL_RGBA16,
     GL_RGBA,
     GL_UNSIGNED_SHORT,
     8,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA},
     false,
     true},
    {D3DFMT_R16F, GL_R16F, GL_RED, GL_HALF_FLOAT, 2, {GL_RED, GL_ONE, GL_ONE, GL_ONE}, false, true},
    {D3DFMT_G16R16F,
     GL_RG16F,
     GL_RG,
     GL_HALF_FLOAT,
     4,
     {GL_RED, GL_GREEN, GL_ONE, GL_ONE},
     false,
     true},
    {D3DFMT_A16B16G16R16F,
     GL_RGBA16F,
     GL_RGBA,
     GL_HALF_FLOAT,
     8,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA},
     false,
     true},
    {D3DFMT_R32F, GL_R32F, GL_RED, GL_FLOAT, 4, {GL_RED, GL_ONE, GL_ONE, GL_ONE}, false, true},
    {D3DFMT_G32R32F, GL_RG32F, GL_RG, GL_FLOAT, 8, {GL_RED, GL_GREEN, GL_ONE, GL_ONE}, false, true},
    {D3DFMT_A32B32G32R32F,
     GL_RGBA32F,
     GL_RGBA,
     GL_FLOAT,
     16,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA},
     false,
     true},
    {D3DFMT_D24S8,
     GL_DEPTH24_STENCIL8,
     GL_DEPTH_STENCIL,
     GL_UNSIGNED_INT_24_8,
     4,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA},
     true,
     true},
    {D3DFMT_D24X8,
     GL_DEPTH24_STENCIL8,
     GL_DEPTH_STENCIL,
     GL_UNSIGNED_INT_24_8,
     4,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA},
     true,
     true},
    {D3DFMT_D16,
     GL_DEPTH_COMPONENT16,
     GL_DEPTH_COMPONENT,
     GL_UNSIGNED_SHORT,
     2,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA},
     true,
     true},
    {D3DFMT_D32,
     GL_DEPTH_COMPONENT32,
     GL_DEPTH_COMPONENT,
     GL_UNSIGNED_INT,
     4,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA},
     true,
     true},
};

} // namespace

namespace {
bool rgb565Supported = true;
} // namespace

GLint glInternalFormat(const FormatInfo& info) {
    if (info.internalFormat == GL_RGB565 && !rgb565Supported) {
        return GL_RGB8;
    }
    return static_cast<GLint>(info.internalFormat);
}

void setRgb565Supported(bool supported) {
    rgb565Supported = supported;
}

const FormatInfo* findFormat(D3DFORMAT format) {
    for (const FormatInfo& info : kFormats) {
        if (info.format == format) {
            return &info;
        }
    }
    return nullptr;
}

UINT fullMipCount(UINT width, UINT height, UINT depth) {
    UINT largest = width > height ? width : height;
    largest = largest > depth ? largest : depth;
    UINT levels = 1;
    while (largest > 1) {
        largest >>= 1;
        ++levels;
    }
    return levels;
}

} // namespace tarnelix::d3d9
