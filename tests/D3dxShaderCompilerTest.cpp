#include "shader/Semantics.h"
#include "shader/ShaderCompiler.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace tarnelix;
using namespace tarnelix::d3dx;

namespace {

std::string readDataFile(const std::string& name) {
    std::ifstream file(std::string(TARNELIX_DATA_DIR) + "/" + name);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

bool compile(const std::string& source, const char* profileName, ShaderBlob& blob,
             std::string& messages) {
    ShaderProfile profile;
    EXPECT_TRUE(parseShaderProfile(profileName, profile));
    return compileHlsl(source, "test.fx", "main", profile, blob, messages);
}

const ShaderConstant* find(const ShaderBlob& blob, const std::string& name) {
    for (const ShaderConstant& c : blob.constants) {
        if (c.name == name) {
            return &c;
        }
    }
    return nullptr;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(ShaderProfiles, KnownNamesOnly) {
    ShaderProfile p;
    ASSERT_TRUE(parseShaderProfile("vs_1_1", p));
    EXPECT_EQ(p.stage, ShaderStage::Vertex);
    EXPECT_EQ(p.major, 1u);
    EXPECT_EQ(p.minor, 1u);
    ASSERT_TRUE(parseShaderProfile("ps_2_0", p));
    EXPECT_EQ(p.stage, ShaderStage::Pixel);
    EXPECT_FALSE(parseShaderProfile("vs_5_0", p));
    EXPECT_FALSE(parseShaderProfile("", p));
}

TEST(ShaderSemantics, IndicesCaseAndSystemValues) {
    Semantic s = parseSemantic("texcoord3");
    EXPECT_EQ(s.label(), "TEXCOORD3");
    EXPECT_EQ(s.usage, 5u);
    EXPECT_EQ(parseSemantic("COLOR").label(), "COLOR0");
    EXPECT_EQ(parseSemantic("SV_Position").usage, 0u);
    EXPECT_FALSE(parseSemantic("BANANA").known);
    EXPECT_TRUE(isVertexInputSemantic(parseSemantic("TANGENT")));
    EXPECT_TRUE(isVertexInputSemantic(parseSemantic("TEXCOORD7")));
    EXPECT_FALSE(isVertexInputSemantic(parseSemantic("TEXCOORD8")));
    EXPECT_FALSE(isVertexInputSemantic(parseSemantic("PSIZE")));
}

TEST(ShaderCompiler, TheSixProgramsCompileWithTheirConstants) {
    struct Program {
        const char* file;
        const char* profile;
        std::vector<std::string> constants;
    };
    const Program programs[] = {
        {"nullvertexshader.vsh", "vs_1_1", {"worldViewProj", "diffuseColor"}},
        {"normalmapvertexshader.vsh",
         "vs_1_1",
         {"worldViewProj", "invWorld", "lightPosition", "diffuseColor", "radius"}},
        {"glowvertexshader.vsh", "vs_1_1", {"blur", "hdir", "offset"}},
        {"glowpixelshader.psh", "ps_2_0", {"glowColor", "glowSource"}},
        {"alphapixelshader.psh", "ps_1_1", {"colorTexture"}},
        {"particlevertexshader.vsh", "vs_1_1", {"up", "right", "worldViewProjMatrix"}},
    };
    for (const Program& program : programs) {
        ShaderBlob blob;
        std::string messages;
        ASSERT_TRUE(compile(readDataFile(program.file), program.profile, blob, messages))
            << program.file << "\n"
            << messages;
        EXPECT_TRUE(contains(blob.glsl, "#version 330")) << program.file;
        for (const std::string& name : program.constants) {
            EXPECT_NE(find(blob, name), nullptr) << program.file << " " << name;
        }
        if (blob.stage == ShaderStage::Vertex) {
            EXPECT_TRUE(contains(blob.glsl, "tx_PosFixup")) << program.file;
            EXPECT_EQ(blob.outputs.front().glslName, "gl_Position") << program.file;
        }
    }
}

TEST(ShaderCompiler, RegistersFollowDeclarationOrderPerSet) {
    ShaderBlob blob;
    std::string messages;
    ASSERT_TRUE(compile(readDataFile("normalmapvertexshader.vsh"), "vs_1_1", blob, messages));
    const ShaderConstant* wvp = find(blob, "worldViewProj");
    const ShaderConstant* radius = find(blob, "radius");
    ASSERT_TRUE(wvp && radius);
    EXPECT_EQ(wvp->registerIndex, 0u);
    EXPECT_EQ(wvp->registerCount, 4u);
    EXPECT_EQ(wvp->parameterClass, 3u); // D3DXPC_MATRIX_COLUMNS
    EXPECT_EQ(find(blob, "invWorld")->registerIndex, 4u);
    EXPECT_EQ(find(blob, "lightPosition")->registerIndex, 8u);
    EXPECT_EQ(radius->registerIndex, 10u);
    EXPECT_EQ(radius->bytesPerRegister, 4u);
    EXPECT_EQ(radius->uniformOffset, 160u);
    EXPECT_EQ(blob.uniformBlock, "VSConstants");
    EXPECT_EQ(blob.uniformBlockSize % 16, 0u);

    ASSERT_TRUE(compile(readDataFile("glowvertexshader.vsh"), "vs_1_1", blob, messages));
    const ShaderConstant* hdir = find(blob, "hdir");
    ASSERT_NE(hdir, nullptr);
    EXPECT_EQ(hdir->set, RegisterSet::Bool);
    EXPECT_EQ(hdir->registerIndex, 0u);
    EXPECT_EQ(find(blob, "offset")->registerIndex, 1u); // "blur" took c0
}

TEST(ShaderCompiler, VaryingsAreWidenedAndColoursSaturated) {
    ShaderBlob vs, ps;
    std::string messages;
    ASSERT_TRUE(compile(readDataFile("nullvertexshader.vsh"), "vs_1_1", vs, messages));
    EXPECT_TRUE(contains(vs.glsl, "out vec4 tx_v_TEXCOORD0;"));
    EXPECT_TRUE(contains(vs.glsl, "tx_v_COLOR0 = clamp("));
    ASSERT_TRUE(compile(readDataFile("alphapixelshader.psh"), "ps_1_1", ps, messages));
    EXPECT_TRUE(contains(ps.glsl, "in vec4 tx_v_TEXCOORD0;"));
    EXPECT_TRUE(contains(ps.glsl, "in vec4 tx_v_COLOR0;"));
    EXPECT_EQ(ps.uniformBlock, "");
    const ShaderConstant* sampler = find(ps, "colorTexture");
    ASSERT_NE(sampler, nullptr);
    EXPECT_EQ(sampler->set, RegisterSet::Sampler);
    EXPECT_EQ(sampler->registerIndex, 0u);
    EXPECT_TRUE(contains(ps.glsl, "uniform sampler2D " + sampler->glslName + ";"));
}

TEST(ShaderCompiler, ErrorsComeBackAsMessagesNamingTheFile) {
    ShaderBlob blob;
    std::string messages;
    EXPECT_FALSE(
        compile("float4 main() : COLOR { return undefinedThing; }", "ps_2_0", blob, messages));
    EXPECT_TRUE(contains(messages, "test.fx")) << messages;
    EXPECT_TRUE(contains(messages, "undefinedThing")) << messages;

    messages.clear();
    EXPECT_FALSE(compile("float4 main(float4 p : BANANA) : POSITION { return p; }", "vs_1_1", blob,
                         messages));
    EXPECT_FALSE(messages.empty());

    messages.clear();
    EXPECT_FALSE(compile("", "vs_1_1", blob, messages));
    EXPECT_FALSE(messages.empty());
}

TEST(ShaderCompiler, IdiomsOfTheEraCompile) {
    struct Case {
        const char* profile;
        const char* source;
    };
    const Case cases[] = {
        {"vs_1_1", "float4x4 m; float4 main(float4 p : POSITION) : POSITION { return mul(p, m); }"},
        {"vs_2_0", "float4x4 m; void main(float4 p : POSITION, out float4 o : POSITION,"
                   " out float2 t : TEXCOORD0) { o = mul(p, m); t = p.xy; }"},
        {"vs_2_0",
         "row_major float4x4 m; float4 c[4]; static const float k = 2.0;\n"
         "struct O { float4 p : POSITION; float4 d : COLOR0; float4 s : COLOR1; };\n"
         "O main(float3 p : POSITION, float4 d : COLOR) { O o; o.p = mul(float4(p, 1), m);"
         " o.d = d * c[1] * k; o.s = c[3]; return o; }"},
        {"ps_2_0", "sampler2D a : register(s1); samplerCUBE b; float4 main(float3 t : TEXCOORD0,"
                   " float4 d : COLOR0) : COLOR { return tex2D(a, t.xy) * texCUBE(b, t) * d; }"},
        {"ps_2_0", "sampler2D a; float4 main(float4 t : TEXCOORD1) : COLOR0 {"
                   " return tex2Dproj(a, t); }"},
        {"ps_1_1", "float4 main(float4 d : COLOR0, float4 s : COLOR1) : COLOR { return d + s; }"},
    };
    for (const Case& c : cases) {
        ShaderBlob blob;
        std::string messages;
        EXPECT_TRUE(compile(c.source, c.profile, blob, messages)) << c.source << "\n" << messages;
    }
    // Register assignment: a declared sampler register is kept, others take the free ones;
    // row_major matrices are reported as rows (written untransposed), arrays span registers.
    ShaderBlob blob;
    std::string messages;
    ASSERT_TRUE(compile(cases[3].source, cases[3].profile, blob, messages));
    EXPECT_EQ(find(blob, "a")->registerIndex, 1u);
    EXPECT_EQ(find(blob, "b")->registerIndex, 0u);
    EXPECT_EQ(find(blob, "b")->parameterType, 14u); // D3DXPT_SAMPLERCUBE
    ASSERT_TRUE(compile(cases[2].source, cases[2].profile, blob, messages));
    EXPECT_EQ(find(blob, "m")->parameterClass, 2u); // D3DXPC_MATRIX_ROWS
    EXPECT_EQ(find(blob, "c")->registerIndex, 4u);
    EXPECT_EQ(find(blob, "c")->registerCount, 4u);
    EXPECT_EQ(find(blob, "k"), nullptr); // static: not a constant
}
