#pragma once

#include "engine/render/ShaderProgram.h"

// "alphapixelshader.psh": what a textured glowing material adds to the glow target, from its
// texture on stage 0 and the glow colour in the diffuse input. No constants.
class AlphaPixelShader : public PixelShaderProgram {
public:
    // The source in the working directory and the profile it is compiled for.
    static constexpr const char* kFile = "alphapixelshader.psh";
    static constexpr const char* kProfile = "ps_1_1";

    void create();
};
