#include "engine/render/NormalMapVertexShader.h"

void NormalMapVertexShader::create() {
    build(kFile, kProfile);
    m_worldViewProj = handle("worldViewProj");
    m_invWorld = handle("invWorld");
    m_lightPosition = handle("lightPosition");
    m_diffuseColor = handle("diffuseColor");
    m_radius = handle("radius");
    setRadius(80.0f);
}
