#include "engine/render/GlowPixelShader.h"

void GlowPixelShader::create() {
    build(kFile, kProfile);
    m_glowColor = handle("glowColor");
}
