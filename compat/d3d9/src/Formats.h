#pragma once

// How each Direct3D format the device accepts is stored in OpenGL. Texel memory keeps
// Direct3D's byte layout, so locked data uploads without conversion.

#include <d3d9.h>

#include "Gl.h"

namespace tarnelix::d3d9 {

struct FormatInfo {
    D3DFORMAT format;
    GLenum internalFormat;
    GLenum pixelFormat;
    GLenum pixelType;
    UINT bytesPerPixel;
    GLint swizzle[4]; // where r, g, b, a come from
    bool depth;
    bool renderable;
};

// The format's entry, or null for a format the device does not support.
const FormatInfo* findFormat(D3DFORMAT format);

// The internal format GL stores the format in. GL_RGB565 is a sized format of GL 4.1 and
// GL_ARB_ES2_compatibility only; where the driver has neither (each device says so as it starts:
// one driver serves the process) 16-bit colour is kept in GL_RGB8, which every 3.3 driver renders
// to and which converts from and to 5-6-5 texels on upload and readback.
GLint glInternalFormat(const FormatInfo& info);
void setRgb565Supported(bool supported);

// Formats with an X channel: stored with an alpha that Direct3D never shows, so render targets
// of these formats keep it at 1 (destination alpha reads as opaque, as on Direct3D).
inline bool hasUnusedAlpha(D3DFORMAT format) {
    return format == D3DFMT_X8R8G8B8 || format == D3DFMT_X8B8G8R8 || format == D3DFMT_X1R5G5B5 ||
           format == D3DFMT_X4R4G4B4;
}

// Row pitch of a level `width` texels wide.
inline UINT rowPitch(const FormatInfo& info, UINT width) {
    return info.bytesPerPixel * width;
}

// The number of levels of a full chain down to 1x1(x1).
UINT fullMipCount(UINT width, UINT height, UINT depth = 1);

inline UINT mipSize(UINT size, UINT level) {
    UINT reduced = size >> level;
    return reduced ? reduced : 1;
}

} // namespace tarnelix::d3d9
