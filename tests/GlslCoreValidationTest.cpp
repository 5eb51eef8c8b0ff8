// Every GLSL program the stand-ins hand to GL, checked by glslangValidator against GLSL 3.30
// core rather than by the driver at hand, which may accept more than a card's driver would:
// the fixed-function programs over their range of states, the show's translated HLSL, and both
// with the steps the device appends (alpha test, fog, clip distances, GL clip-space depth).

#include "TempDir.h"

#include "compat/d3d9/src/FixedFunction.h"
#include "compat/d3d9/src/Shader.h"
#include "shader/ShaderCompiler.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

using namespace tarnelix;
using namespace tarnelix::d3d9;

namespace {

class GlslCore : public ::testing::Test {
protected:
    // Writes one program for validation at the end of the test. glslangValidator lets the
    // compatibility profile's names through at 330, so those are looked for here.
    void expectCore(const std::string& glsl, bool vertex, const std::string& what) {
        EXPECT_EQ(glsl.rfind("#version 330", 0), 0u) << what;
        static const std::regex removed(
            "\\b(gl_FragColor|gl_FragData|gl_TexCoord|gl_FrontColor|gl_Color|gl_SecondaryColor|"
            "gl_MultiTexCoord[0-7]|gl_Vertex|gl_Normal|gl_ModelView\\w*|ftransform|attribute|"
            "varying|texture[123]D\\w*|shadow[12]D\\w*)\\b");
        std::smatch found;
        EXPECT_FALSE(std::regex_search(glsl, found, removed))
            << what << " uses " << found.str() << ", which a core profile lacks:\n"
            << glsl;
        std::string name = "p" + std::to_string(files.size()) + (vertex ? ".vert" : ".frag");
        files += " " + dir.write(name, glsl);
        names += name + ": " + what + "\n";
    }

    void expectVertexVariants(const std::string& glsl, const std::string& what) {
        expectCore(glsl, true, what);
        expectCore(withGlClipDepth(glsl), true, what + " with GL clip depth");
    }

    // One validator run for all the test's programs: it names the file of each error.
    void TearDown() override {
        ASSERT_FALSE(files.empty());
        std::string output;
        FILE* pipe = popen(("glslangValidator" + files + " 2>&1").c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe)) {
            output += buffer;
        }
        EXPECT_EQ(pclose(pipe), 0) << output << "\nThe programs:\n" << names;
    }

    TempDir dir;
    std::string files;
    std::string names;
};

std::string readDataFile(const std::string& name) {
    std::ifstream file(std::string(TARNELIX_DATA_DIR) + "/" + name);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

TEST_F(GlslCore, FixedFunctionVertexPrograms) {
    DeviceState state;
    state.setDefaults();
    const uint8_t allTypes[] = {D3DLIGHT_DIRECTIONAL, D3DLIGHT_POINT, D3DLIGHT_SPOT,
                                D3DLIGHT_SPOT,        D3DLIGHT_POINT, D3DLIGHT_DIRECTIONAL,
                                D3DLIGHT_POINT,       D3DLIGHT_SPOT};
    for (bool pretransformed : {false, true}) {
        for (DWORD lighting : {FALSE, TRUE}) {
            for (DWORD source : {D3DMCS_MATERIAL, D3DMCS_COLOR1, D3DMCS_COLOR2}) {
                state.render[D3DRS_LIGHTING] = lighting;
                state.render[D3DRS_DIFFUSEMATERIALSOURCE] = source;
                state.render[D3DRS_SPECULARENABLE] = source == D3DMCS_COLOR2;
                // Lights, fog, points and clip planes in turn with each source.
                state.render[D3DRS_LOCALVIEWER] = source != D3DMCS_COLOR1;
                state.render[D3DRS_NORMALIZENORMALS] = source == D3DMCS_COLOR1;
                state.render[D3DRS_FOGENABLE] = TRUE;
                state.render[D3DRS_FOGVERTEXMODE] = source; // NONE, EXP, EXP2
                state.render[D3DRS_RANGEFOGENABLE] = source == D3DMCS_COLOR2;
                state.render[D3DRS_POINTSCALEENABLE] = source != D3DMCS_MATERIAL;
                state.render[D3DRS_CLIPPLANEENABLE] = source == D3DMCS_COLOR1 ? 0x3F : 0;
                VertexKeyInputs inputs;
                inputs.pretransformed = pretransformed;
                inputs.attributes = source == D3DMCS_COLOR2 ? 0xFFFF : 0x0029; // PSIZE or not
                inputs.points = source != D3DMCS_COLOR1;
                inputs.lightCount = lighting ? static_cast<int>(source) * 4 : 0; // 0, 4 or 8
                inputs.lightTypes = allTypes;
                FixedVertexKey key;
                buildVertexKey(state, inputs, fullSignature(), key);
                expectVertexVariants(generateVertexShader(key),
                                     "fixed vertex, pretransformed " +
                                         std::to_string(pretransformed) + " lighting " +
                                         std::to_string(lighting) + " source " +
                                         std::to_string(source));
            }
        }
    }
    state.render[D3DRS_FOGVERTEXMODE] = D3DFOG_LINEAR;
    VertexKeyInputs inputs;
    FixedVertexKey key;
    buildVertexKey(state, inputs, fullSignature(), key);
    expectVertexVariants(generateVertexShader(key), "fixed vertex, linear fog");
}

TEST_F(GlslCore, FixedFunctionPixelProgramsWithFogAndSprites) {
    const uint8_t kinds[kStageCount] = {2, 3, 0};
    for (uint8_t fog = kPixelFogNone; fog <= kPixelFogExp2; ++fog) {
        for (uint8_t fromW : {0, 1}) {
            DeviceState state;
            state.setDefaults();
            state.stage[1][D3DTSS_COLOROP] = D3DTOP_MODULATE;
            FixedPixelKey key;
            buildPixelKey(state, kinds, fullSignature(), key);
            key.fog = fog;
            key.fogFromW = fromW;
            key.pointSprite = fromW;
            expectCore(generatePixelShader(key), false,
                       "fixed pixel, fog " + std::to_string(fog) + " from w " +
                           std::to_string(fromW));
        }
    }
}

TEST_F(GlslCore, FixedFunctionPixelProgramsOfEveryOperation) {
    const uint8_t kinds[][kStageCount] = {{2, 3, 0}, {4, 2, 0}, {0, 0, 0}};
    for (DWORD op = D3DTOP_SELECTARG1; op <= D3DTOP_LERP; ++op) {
        if (op == D3DTOP_PREMODULATE || op == D3DTOP_BUMPENVMAP ||
            op == D3DTOP_BUMPENVMAPLUMINANCE) {
            continue; // refused by the device
        }
        // The operations that mix colour and alpha are colour operations only.
        bool colourOnly = op >= D3DTOP_MODULATEALPHA_ADDCOLOR && op <= D3DTOP_DOTPRODUCT3;
        for (const auto& kind : kinds) {
            DeviceState state;
            state.setDefaults();
            state.stage[0][D3DTSS_COLOROP] = op;
            state.stage[0][D3DTSS_ALPHAOP] = colourOnly ? DWORD{D3DTOP_MODULATE} : op;
            state.stage[1][D3DTSS_COLOROP] = D3DTOP_MODULATE;
            state.stage[1][D3DTSS_COLORARG2] = D3DTA_TFACTOR;
            state.render[D3DRS_ALPHATESTENABLE] = op % 2;
            state.render[D3DRS_ALPHAFUNC] = D3DCMP_GREATER;
            state.render[D3DRS_SPECULARENABLE] = op % 3 == 0;
            FixedPixelKey key;
            buildPixelKey(state, kind, fullSignature(), key);
            expectCore(generatePixelShader(key), false,
                       "fixed pixel, operation " + std::to_string(op) + " first texture kind " +
                           std::to_string(kind[0]));
        }
    }
}

TEST_F(GlslCore, TranslatedHlslOfTheShow) {
    struct Program {
        const char* file;
        const char* profile;
    } programs[] = {
        {"nullvertexshader.vsh", "vs_1_1"}, {"normalmapvertexshader.vsh", "vs_1_1"},
        {"glowvertexshader.vsh", "vs_1_1"}, {"particlevertexshader.vsh", "vs_1_1"},
        {"alphapixelshader.psh", "ps_1_1"}, {"glowpixelshader.psh", "ps_2_0"},
    };
    for (const Program& program : programs) {
        d3dx::ShaderProfile profile;
        ASSERT_TRUE(d3dx::parseShaderProfile(program.profile, profile));
        ShaderBlob blob;
        std::string messages;
        ASSERT_TRUE(d3dx::compileHlsl(readDataFile(program.file), program.file, "main", profile,
                                      blob, messages))
            << messages;
        if (blob.stage == ShaderStage::Vertex) {
            expectVertexVariants(blob.glsl, program.file);
            expectCore(withClipDistances(blob.glsl, false), true,
                       std::string(program.file) + " with clip distances");
            expectCore(withClipDistances(blob.glsl, true), true,
                       std::string(program.file) + " with clip distances and GL clip depth");
        } else {
            expectCore(blob.glsl, false, program.file);
            expectCore(withStepAfterMain(blob.glsl, kAlphaTestGlsl, "tx_alphaTest(1.0);"), false,
                       std::string(program.file) + " with the alpha test");
            for (uint32_t fog = kPixelFogVertex; fog <= kPixelFogExp2; ++fog) {
                uint32_t variant = kVariantAlphaTest | fog << kVariantFogShift |
                                   (fog == kPixelFogExp ? kVariantFogFromW : 0);
                expectCore(withPixelSteps(blob, variant), false,
                           std::string(program.file) + " with fog " + std::to_string(fog));
            }
        }
    }
}
