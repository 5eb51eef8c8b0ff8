#include "shader/HlslFrontEnd.h"

#include <glslang/Public/ResourceLimits.h>
#include <glslang/Public/ShaderLang.h>
#include <glslang/SPIRV/GlslangToSpv.h>

#include <memory>
#include <mutex>

namespace tarnelix::d3dx {
namespace {

// glslang keeps process-wide tables; it is initialised once and left up for the life of the
// process, as tearing it down while another compile might start buys nothing.
void initialiseGlslangOnce() {
    static std::once_flag once;
    std::call_once(once, [] { glslang::InitializeProcess(); });
}

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

} // namespace

bool compileHlslToSpirv(const std::string& source, const std::string& fileName,
                        const std::string& entryPoint, ShaderStage stage,
                        std::vector<uint32_t>& spirv, std::string& messages) {
    initialiseGlslangOnce();
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

} // namespace tarnelix::d3dx
