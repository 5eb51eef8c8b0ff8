#include "MemoryDevice.h"

#include "engine/render/AlphaPixelShader.h"
#include "engine/render/GlowPixelShader.h"
#include "engine/render/GlowVertexShader.h"
#include "engine/render/NormalMapVertexShader.h"
#include "engine/render/NullVertexShader.h"
#include "engine/render/ParticleVertexShader.h"
#include "engine/resources/ProgramDevice.h"

#include <d3dx9.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

namespace {

// The programs read their sources from the working directory, as the show does.
class ShaderPrograms : public ::testing::Test {
protected:
    void SetUp() override {
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        m_previous = here;
        ASSERT_EQ(chdir(TARNELIX_DATA_DIR), 0);
        setProgramDevice(device);
    }
    void TearDown() override {
        setProgramDevice(nullptr);
        ASSERT_EQ(chdir(m_previous.c_str()), 0);
        device->Release();
    }

    // The registers a constant occupies, from the program's own table.
    UINT registerOf(const ShaderProgram& program, const char* name) {
        D3DXCONSTANT_DESC desc;
        UINT count = 1;
        D3DXHANDLE handle = program.constantTable()->GetConstantByName(nullptr, name);
        EXPECT_NE(handle, nullptr) << name;
        program.constantTable()->GetConstantDesc(handle, &desc, &count);
        return desc.RegisterIndex;
    }

    MemoryDevice* device = new MemoryDevice;
    std::string m_previous;
};

Matrix4 numbered() {
    Matrix4 m;
    for (int i = 0; i < 16; ++i) {
        m.m[i / 4][i % 4] = float(i + 1);
    }
    return m;
}

} // namespace

TEST_F(ShaderPrograms, AllSixBuildAndBind) {
    NullVertexShader null;
    NormalMapVertexShader normalMap;
    GlowVertexShader glowVertex;
    GlowPixelShader glowPixel;
    AlphaPixelShader alpha;
    ParticleVertexShader particle;
    normalMap.create();
    null.create();
    glowVertex.create();
    glowPixel.create();
    alpha.create();
    particle.create();
    for (const VertexShaderProgram* p : std::initializer_list<const VertexShaderProgram*>{
             &null, &normalMap, &glowVertex, &particle}) {
        EXPECT_TRUE(p->ready());
        p->bind();
        EXPECT_NE(device->vertexShader, nullptr);
    }
    EXPECT_TRUE(glowPixel.ready());
    EXPECT_TRUE(alpha.ready());
    alpha.bind();
    EXPECT_NE(device->pixelShader, nullptr);
    particle.release();
    EXPECT_FALSE(particle.ready());
    EXPECT_EQ(particle.constantTable(), nullptr);
}

TEST_F(ShaderPrograms, NormalMapRadiusIsStoredAsItsReciprocal) {
    NormalMapVertexShader shader;
    shader.create();
    const UINT radius = registerOf(shader, "radius");
    EXPECT_FLOAT_EQ(device->vertexFloats[radius][0], 0.0125f); // set right after creation
    shader.setRadius(1.0f);
    EXPECT_FLOAT_EQ(device->vertexFloats[radius][0], 1.0f);
    shader.setRadius(80.0f);
    EXPECT_FLOAT_EQ(device->vertexFloats[radius][0], 0.0125f);
    // Matrices go in transposed.
    shader.setInvWorld(numbered());
    EXPECT_EQ(device->vertexFloats[registerOf(shader, "invWorld")][1], numbered().m[1][0]);
}

TEST_F(ShaderPrograms, GlowVertexShaderOffsetIsHalfATexel) {
    GlowVertexShader shader;
    shader.create();
    shader.setOffset(512, 256);
    const float* offset = device->vertexFloats[registerOf(shader, "offset")];
    EXPECT_EQ(offset[0], 0.0009765625f);
    EXPECT_EQ(offset[1], 0.001953125f);
    shader.setHorizontal(true);
    EXPECT_EQ(device->vertexBools[registerOf(shader, "hdir")], TRUE);
}

TEST_F(ShaderPrograms, ParticleAxesAreViewColumnsWithoutFourthComponent) {
    ParticleVertexShader shader;
    shader.create();
    Matrix4 view = numbered(); // a last row of non-zero values
    Matrix4 viewProjection;
    shader.setCameraMatrices(view, viewProjection);
    const float* right = device->vertexFloats[registerOf(shader, "right")];
    const float* up = device->vertexFloats[registerOf(shader, "up")];
    EXPECT_EQ(right[0], view.m[0][0]);
    EXPECT_EQ(right[2], view.m[2][0]);
    EXPECT_EQ(right[3], 0.0f);
    EXPECT_EQ(up[1], view.m[1][1]);
    EXPECT_EQ(up[3], 0.0f);
}

TEST_F(ShaderPrograms, MissingOrBrokenSourcesLeaveAnEmptyProgramThatIgnoresWrites) {
    ASSERT_EQ(chdir(m_previous.c_str()), 0); // no shader sources here
    NullVertexShader shader;
    testing::internal::CaptureStderr();
    shader.create();
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_NE(printed.find("nullvertexshader.vsh"), std::string::npos);
    EXPECT_FALSE(shader.ready());
    EXPECT_EQ(shader.constantTable(), nullptr);
    shader.setWorldViewProj(numbered());
    shader.setDiffuseColor(Vec4());
    EXPECT_EQ(device->constantWrites, 0);
    shader.bind();
    EXPECT_EQ(device->vertexShader, nullptr);
    ASSERT_EQ(chdir(TARNELIX_DATA_DIR), 0);
}

TEST_F(ShaderPrograms, WithoutADeviceNothingIsCreatedOrWritten) {
    setProgramDevice(nullptr);
    GlowVertexShader shader;
    shader.create();
    EXPECT_FALSE(shader.ready());
    shader.setBlur(1.0f);
    shader.bind();
    EXPECT_EQ(device->constantWrites, 0);
}
