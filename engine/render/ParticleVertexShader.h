#pragma once

#include "engine/render/ShaderProgram.h"

// "particlevertexshader.vsh": places each particle corner in the camera plane around the
// particle's centre and transforms it by the view-projection matrix.
class ParticleVertexShader : public VertexShaderProgram {
public:
    // The source in the working directory and the profile it is compiled for.
    static constexpr const char* kFile = "particlevertexshader.vsh";
    static constexpr const char* kProfile = "vs_1_1";

    void create();

    // From the engine's camera: its view and view-projection matrices.
    template <class Camera> void setCamera(const Camera& camera) const {
        setCameraMatrices(camera.view(), camera.viewProjection());
    }
    // "right" and "up" are columns 0 and 1 of the view matrix with a fourth component of 0;
    // "worldViewProjMatrix" is the view-projection matrix.
    void setCameraMatrices(const Matrix4& view, const Matrix4& viewProjection) const;

private:
    D3DXHANDLE m_up = nullptr;
    D3DXHANDLE m_right = nullptr;
    D3DXHANDLE m_worldViewProjMatrix = nullptr;
};
