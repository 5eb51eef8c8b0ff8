#include "engine/render/GlowVertexShader.h"

void GlowVertexShader::create() {
    build(kFile, kProfile);
    m_blur = handle("blur");
    m_hdir = handle("hdir");
    m_offset = handle("offset");
}

void GlowVertexShader::setOffset(int32_t width, int32_t height) const {
    setVector(m_offset, Vec4(0.5f / float(width), 0.5f / float(height), 0.0f, 1.0f));
}
