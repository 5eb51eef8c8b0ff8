#include "engine/render/NullVertexShader.h"

void NullVertexShader::create() {
    build("nullvertexshader.vsh", "vs_1_1");
    m_worldViewProj = handle("worldViewProj");
    m_diffuseColor = handle("diffuseColor");
}
