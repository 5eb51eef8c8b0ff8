#include "engine/render/ParticleVertexShader.h"

void ParticleVertexShader::create() {
    build(kFile, kProfile);
    m_up = handle("up");
    m_right = handle("right");
    m_worldViewProjMatrix = handle("worldViewProjMatrix");
}

void ParticleVertexShader::setCameraMatrices(const Matrix4& view,
                                             const Matrix4& viewProjection) const {
    Vec4 up = view.column(1);
    Vec4 right = view.column(0);
    up.w = 0.0f;
    right.w = 0.0f;
    setVector(m_up, up);
    setVector(m_right, right);
    setMatrix(m_worldViewProjMatrix, viewProjection);
}
