#pragma once

#include "engine/render/ShaderProgram.h"

// "nullvertexshader.vsh": transforms by "worldViewProj" and hands "diffuseColor" to the
// stages unlit, with the mesh's texture coordinates on set 0.
class NullVertexShader : public VertexShaderProgram {
public:
    // The source in the working directory and the profile it is compiled for.
    static constexpr const char* kFile = "nullvertexshader.vsh";
    static constexpr const char* kProfile = "vs_1_1";

    void create();
    void setWorldViewProj(const Matrix4& m) const { setMatrix(m_worldViewProj, m); }
    void setDiffuseColor(const Vec4& c) const { setVector(m_diffuseColor, c); }

private:
    D3DXHANDLE m_worldViewProj = nullptr;
    D3DXHANDLE m_diffuseColor = nullptr;
};
