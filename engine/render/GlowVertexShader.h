#pragma once

#include "engine/render/ShaderProgram.h"

#include <cstdint>

// "glowvertexshader.vsh": passes the clip-space screen quad through and spreads the blur taps
// of "glowpixelshader.psh" along one axis of the glow target.
class GlowVertexShader : public VertexShaderProgram {
public:
    // The source in the working directory and the profile it is compiled for.
    static constexpr const char* kFile = "glowvertexshader.vsh";
    static constexpr const char* kProfile = "vs_1_1";

    void create();
    void setBlur(float blur) const { setFloat(m_blur, blur); }
    void setHorizontal(bool horizontal) const { setBool(m_hdir, horizontal); }
    // Half a texel of a width x height target, so that taps land on texel centres.
    void setOffset(int32_t width, int32_t height) const;

private:
    D3DXHANDLE m_blur = nullptr;
    D3DXHANDLE m_hdir = nullptr;
    D3DXHANDLE m_offset = nullptr;
};
