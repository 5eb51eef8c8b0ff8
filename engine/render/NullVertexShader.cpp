#include "engine/render/NullVertexShader.h"

void NullVertexShader::create() {
    build(kFile, kProfile);
    m_worldViewProj = handle("worldViewProj");
    m_diffuseColor = handle("diffuseColor");
}
