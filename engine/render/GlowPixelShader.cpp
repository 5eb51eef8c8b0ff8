#include "engine/render/GlowPixelShader.h"

void GlowPixelShader::create() {
    build("glowpixelshader.psh", "ps_2_0");
    m_glowColor = handle("glowColor");
}
