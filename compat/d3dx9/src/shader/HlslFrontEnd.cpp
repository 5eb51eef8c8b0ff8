#include "shader/HlslFrontEnd.h"

#include "shader/ChildProcess.h"

#include <glslang/Public/ResourceLimits.h>
#include <glslang/Public/ShaderLang.h>
#include <glslang/SPIRV/GlslangToSpv.h>

#include <cstring>
#include <memory>
#include <mutex>

namespace tarnelix::d3dx {
namespace {

EShLanguage languageOf(ShaderStage stage) {
    return stage == ShaderStage::Vertex ? EShLangVertex : EShLangFragment;
}

const EShMessages kMessages =
    static_cast<EShMessages>(EShMsgReadHlsl | EShMsgSpvRules | EShMsgVulkanRules |
                             EShMsgHlslLegalization | EShMsgHlslDX9Compatible);

void appendLog(std::string& messages, const char* log) {
    if (log != nullptr && *log != '\0') {
        messages += log;
        if (messages.back() != '\n') {
            messages += '\n';
        }
    }
}

bool compileHere(const std::string& source, const std::string& fileName,
                 const std::string& entryPoint, ShaderStage stage, std::vector<uint32_t>& spirv,
                 std::string& messages) {
    const EShLanguage language = languageOf(stage);
    auto shader = std::make_unique<glslang::TShader>(language);
    const char* text = source.c_str();
    const int length = static_cast<int>(source.size());
    const char* name = fileName.c_str();
    shader->setStringsWithLengthsAndNames(&text, &length, &name, 1);
    shader->setEntryPoint(entryPoint.c_str());
    shader->setEnvInput(glslang::EShSourceHlsl, language, glslang::EShClientVulkan, 100);
    shader->setEnvClient(glslang::EShClientVulkan, glslang::EShTargetVulkan_1_0);
    shader->setEnvTarget(glslang::EShTargetSpv, glslang::EShTargetSpv_1_0);
    shader->setEnvTargetHlslFunctionality1();
    shader->setHlslIoMapping(true);
    shader->setAutoMapBindings(true);
    shader->setAutoMapLocations(true);

    if (!shader->parse(GetDefaultResources(), 100, false, kMessages)) {
        appendLog(messages, shader->getInfoLog());
        return false;
    }
    appendLog(messages, shader->getInfoLog());

    glslang::TProgram program;
    program.addShader(shader.get());
    if (!program.link(kMessages) || !program.mapIO()) {
        appendLog(messages, program.getInfoLog());
        return false;
    }

    glslang::SpvOptions options;
    options.disableOptimizer = false; // runs the legalisation the HLSL front end relies on
    spv::SpvBuildLogger logger;
    spirv.clear();
    glslang::GlslangToSpv(*program.getIntermediate(language), spirv, &logger, &options);
    appendLog(messages, logger.getAllMessages().c_str());
    return !spirv.empty();
}

// glslang keeps process-wide tables; it is initialised once and left up for the life of the
// process, as tearing it down while another compile might start buys nothing. Its tables of
// built-in symbols are made on the first compile of each stage, which takes tens of
// milliseconds: that happens here, on sources known to be safe, so that every child process
// starts with them.
void initialiseGlslangOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        glslang::InitializeProcess();
        std::vector<uint32_t> spirv;
        std::string messages;
        compileHere("float4 main(float4 p : POSITION) : POSITION { return p; }", "warm-up", "main",
                    ShaderStage::Vertex, spirv, messages);
        compileHere("float4 main() : COLOR { return 0; }", "warm-up", "main", ShaderStage::Pixel,
                    spirv, messages);
    });
}

// The child's answer: a success flag, the word count, the words, then the messages.
std::string packReply(bool compiled, const std::vector<uint32_t>& spirv,
                      const std::string& messages) {
    const uint32_t count = static_cast<uint32_t>(spirv.size());
    std::string reply(1, compiled ? '1' : '0');
    reply.append(reinterpret_cast<const char*>(&count), sizeof count);
    if (!spirv.empty()) {
        reply.append(reinterpret_cast<const char*>(spirv.data()), count * sizeof(uint32_t));
    }
    return reply + messages;
}

// False when the reply is cut short.
bool unpackReply(const std::string& reply, bool& compiled, std::vector<uint32_t>& spirv,
                 std::string& messages) {
    uint32_t count = 0;
    if (reply.size() < 1 + sizeof count) {
        return false;
    }
    std::memcpy(&count, reply.data() + 1, sizeof count);
    const size_t words = 1 + sizeof count;
    if ((reply.size() - words) / sizeof(uint32_t) < count) {
        return false;
    }
    spirv.assign(count, 0);
    if (count > 0) {
        std::memcpy(spirv.data(), reply.data() + words, count * sizeof(uint32_t));
    }
    messages += reply.substr(words + count * sizeof(uint32_t));
    compiled = reply[0] == '1';
    return true;
}

// Far longer than any shader of the era takes, even on a loaded machine.
constexpr int kCompileSeconds = 10;

} // namespace

bool compileHlslToSpirv(const std::string& source, const std::string& fileName,
                        const std::string& entryPoint, ShaderStage stage,
                        std::vector<uint32_t>& spirv, std::string& messages) {
    // glslang crashes on some malformed sources (a lone "in" at file scope, for one): it runs
    // in a child process, and a crash or a hang there becomes a compile error here.
    initialiseGlslangOnce();
    std::string reply;
    std::string failure;
    const bool answered = runInChild(
        [&] {
            std::vector<uint32_t> words;
            std::string log;
            const bool compiled = compileHere(source, fileName, entryPoint, stage, words, log);
            return packReply(compiled, words, log);
        },
        kCompileSeconds, reply, failure);
    bool compiled = false;
    if (!answered || !unpackReply(reply, compiled, spirv, messages)) {
        spirv.clear();
        messages += fileName + ": error: the HLSL compiler " +
                    (answered ? std::string("gave no answer") : failure) + " on this source\n";
        return false;
    }
    return compiled;
}

} // namespace tarnelix::d3dx
