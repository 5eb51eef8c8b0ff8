#pragma once

#include "engine/render/ShaderProgram.h"

// "glowpixelshader.psh": blurs the texture on stage 0 at the taps of "glowvertexshader.vsh"
// and scales the result by "glowColor".
class GlowPixelShader : public PixelShaderProgram {
public:
    void create();
    void setGlowColor(const Vec4& c) const { setVector(m_glowColor, c); }

private:
    D3DXHANDLE m_glowColor = nullptr;
};
