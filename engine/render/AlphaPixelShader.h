#pragma once

#include "engine/render/ShaderProgram.h"

// "alphapixelshader.psh": what a textured glowing material adds to the glow target, from its
// texture on stage 0 and the glow colour in the diffuse input. No constants.
class AlphaPixelShader : public PixelShaderProgram {
public:
    void create();
};
