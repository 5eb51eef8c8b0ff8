#pragma once

#include "engine/render/ShaderProgram.h"

// "glowpixelshader.psh": blurs the texture on stage 0 at the taps of "glowvertexshader.vsh"
// and scales the result by "glowColor".
class GlowPixelShader : public PixelShaderProgram {
public:
    // The source in the working directory and the profile it is compiled for.
    static constexpr const char* kFile = "glowpixelshader.psh";
    static constexpr const char* kProfile = "ps_2_0";

    void create();
    void setGlowColor(const Vec4& c) const { setVector(m_glowColor, c); }

private:
    D3DXHANDLE m_glowColor = nullptr;
};
