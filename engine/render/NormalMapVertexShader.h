#pragma once

#include "engine/render/ShaderProgram.h"

// "normalmapvertexshader.vsh": one point light through the fixed stages. The diffuse colour
// carries the tangent-space direction to the light for the dot-product stage, texture set 1
// the offset from the light scaled by 1 / radius for the falloff volume, the specular colour
// the light's colour.
class NormalMapVertexShader : public VertexShaderProgram {
public:
    // The source in the working directory and the profile it is compiled for.
    static constexpr const char* kFile = "normalmapvertexshader.vsh";
    static constexpr const char* kProfile = "vs_1_1";

    void create();
    void setWorldViewProj(const Matrix4& m) const { setMatrix(m_worldViewProj, m); }
    void setInvWorld(const Matrix4& m) const { setMatrix(m_invWorld, m); }
    void setLightPosition(const Vec4& p) const { setVector(m_lightPosition, p); }
    void setDiffuseColor(const Vec4& c) const { setVector(m_diffuseColor, c); }
    // Stores 1 / radius, which the program multiplies offsets from the light by.
    void setRadius(float radius) const { setFloat(m_radius, 1.0f / radius); }

private:
    D3DXHANDLE m_worldViewProj = nullptr;
    D3DXHANDLE m_invWorld = nullptr;
    D3DXHANDLE m_lightPosition = nullptr;
    D3DXHANDLE m_diffuseColor = nullptr;
    D3DXHANDLE m_radius = nullptr;
};
