// The generated GLSL must compile and link on a real OpenGL 3.3 core context, vertex and pixel
// programs must meet through their varyings, and GL's std140 layout must put every constant
// where the compiler says it is.

#include "shader/ShaderCompiler.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace tarnelix;

namespace {

std::string readDataFile(const std::string& name) {
    std::ifstream file(std::string(TARNELIX_DATA_DIR) + "/" + name);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

ShaderBlob compileFile(const char* file, const char* profileName) {
    d3dx::ShaderProfile profile;
    EXPECT_TRUE(d3dx::parseShaderProfile(profileName, profile));
    ShaderBlob blob;
    std::string messages;
    EXPECT_TRUE(d3dx::compileHlsl(readDataFile(file), file, "main", profile, blob, messages))
        << messages;
    return blob;
}

// Stand-ins for the device's side of a link: a fragment stage that reads every varying the
// vertex program writes (as the fixed stages may), and a vertex stage that writes them all.
std::string fixedFragmentFor(const ShaderBlob& vertex) {
    std::string declarations = "#version 330\n";
    std::string sum = "vec4(0.0)";
    for (const ShaderVarying& v : vertex.outputs) {
        if (v.glslName != "gl_Position") {
            declarations += "in vec4 " + v.glslName + ";\n";
            sum += " + " + v.glslName;
        }
    }
    return declarations + "layout(location = 0) out vec4 colour;\nvoid main() { colour = " + sum +
           "; }\n";
}

const char* kAllVaryingsVertex = R"(#version 330
out vec4 tx_v_COLOR0;
out vec4 tx_v_COLOR1;
out vec4 tx_v_TEXCOORD0;
out vec4 tx_v_TEXCOORD1;
out vec4 tx_v_TEXCOORD2;
out vec4 tx_v_TEXCOORD3;
out vec4 tx_v_TEXCOORD4;
out vec4 tx_v_TEXCOORD5;
out vec4 tx_v_TEXCOORD6;
void main() {
    gl_Position = vec4(0.0);
    tx_v_COLOR0 = tx_v_COLOR1 = vec4(1.0);
    tx_v_TEXCOORD0 = tx_v_TEXCOORD1 = tx_v_TEXCOORD2 = tx_v_TEXCOORD3 = vec4(0.5);
    tx_v_TEXCOORD4 = tx_v_TEXCOORD5 = tx_v_TEXCOORD6 = vec4(0.5);
}
)";

class GlslLink : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (SDL_Init(SDL_INIT_VIDEO) != 0) {
            return;
        }
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        s_window = SDL_CreateWindow("glsl", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        s_context = s_window != nullptr ? SDL_GL_CreateContext(s_window) : nullptr;
    }
    // The context stays up until the process ends: closing it unloads the GL driver, whose own
    // leaks LeakSanitizer could then no longer attribute (and suppress).
    void SetUp() override {
        if (s_context == nullptr) {
            GTEST_SKIP() << "no OpenGL 3.3 context: " << SDL_GetError();
        }
    }

    static GLuint shader(GLenum stage, const std::string& source) {
        GLuint id = glCreateShader(stage);
        const char* text = source.c_str();
        glShaderSource(id, 1, &text, nullptr);
        glCompileShader(id);
        GLint ok = 0;
        glGetShaderiv(id, GL_COMPILE_STATUS, &ok);
        char log[4096] = "";
        glGetShaderInfoLog(id, sizeof log, nullptr, log);
        EXPECT_TRUE(ok) << log << "\n" << source;
        return id;
    }

    // Links the two stages; 0 (after a test failure) when they do not link.
    static GLuint link(const std::string& vertex, const std::string& fragment) {
        GLuint program = glCreateProgram();
        GLuint vs = shader(GL_VERTEX_SHADER, vertex);
        GLuint fs = shader(GL_FRAGMENT_SHADER, fragment);
        glAttachShader(program, vs);
        glAttachShader(program, fs);
        glLinkProgram(program);
        glDeleteShader(vs);
        glDeleteShader(fs);
        GLint ok = 0;
        glGetProgramiv(program, GL_LINK_STATUS, &ok);
        char log[4096] = "";
        glGetProgramInfoLog(program, sizeof log, nullptr, log);
        EXPECT_TRUE(ok) << log;
        if (!ok) {
            glDeleteProgram(program);
            return 0;
        }
        return program;
    }

    // Every float or bool constant sits at the compiler's offset in GL's block.
    static void expectLayout(GLuint program, const ShaderBlob& blob) {
        if (blob.uniformBlock.empty()) {
            return;
        }
        const GLuint block = glGetUniformBlockIndex(program, blob.uniformBlock.c_str());
        ASSERT_NE(block, GL_INVALID_INDEX) << blob.uniformBlock;
        GLint size = 0;
        glGetActiveUniformBlockiv(program, block, GL_UNIFORM_BLOCK_DATA_SIZE, &size);
        EXPECT_LE(GLuint(size), blob.uniformBlockSize);
        for (const ShaderConstant& c : blob.constants) {
            if (c.set == RegisterSet::Sampler) {
                EXPECT_NE(glGetUniformLocation(program, c.glslName.c_str()), -1) << c.glslName;
                continue;
            }
            const std::string name = blob.uniformBlock + "." + c.name;
            const char* names[] = {name.c_str()};
            GLuint index = GL_INVALID_INDEX;
            glGetUniformIndices(program, 1, names, &index);
            if (index == GL_INVALID_INDEX) {
                continue; // unused by this program: GL may drop it, the offset does not matter
            }
            GLint offset = -1;
            glGetActiveUniformsiv(program, 1, &index, GL_UNIFORM_OFFSET, &offset);
            EXPECT_EQ(GLuint(offset), c.uniformOffset) << c.name;
        }
    }

    static SDL_Window* s_window;
    static SDL_GLContext s_context;
};

SDL_Window* GlslLink::s_window = nullptr;
SDL_GLContext GlslLink::s_context = nullptr;

} // namespace

TEST_F(GlslLink, VertexProgramsLinkWithTheFixedStagesAndKeepTheirLayout) {
    for (const char* file : {"nullvertexshader.vsh", "normalmapvertexshader.vsh",
                             "glowvertexshader.vsh", "particlevertexshader.vsh"}) {
        const ShaderBlob blob = compileFile(file, "vs_1_1");
        GLuint program = link(blob.glsl, fixedFragmentFor(blob));
        ASSERT_NE(program, 0u) << file;
        for (const ShaderVarying& input : blob.inputs) {
            EXPECT_GE(glGetAttribLocation(program, input.glslName.c_str()), 0)
                << file << " " << input.glslName;
        }
        EXPECT_NE(glGetUniformLocation(program, "tx_PosFixup"), -1) << file;
        expectLayout(program, blob);
        glDeleteProgram(program);
    }
}

TEST_F(GlslLink, PixelProgramsLinkWithTheirVertexPrograms) {
    const ShaderBlob null = compileFile("nullvertexshader.vsh", "vs_1_1");
    const ShaderBlob alpha = compileFile("alphapixelshader.psh", "ps_1_1");
    GLuint program = link(null.glsl, alpha.glsl);
    ASSERT_NE(program, 0u);
    expectLayout(program, alpha);
    glDeleteProgram(program);

    const ShaderBlob glowVertex = compileFile("glowvertexshader.vsh", "vs_1_1");
    const ShaderBlob glowPixel = compileFile("glowpixelshader.psh", "ps_2_0");
    program = link(glowVertex.glsl, glowPixel.glsl);
    ASSERT_NE(program, 0u);
    expectLayout(program, glowVertex);
    expectLayout(program, glowPixel);
    glDeleteProgram(program);

    program = link(kAllVaryingsVertex, glowPixel.glsl);
    EXPECT_NE(program, 0u);
    glDeleteProgram(program);
}
