#include "shader/ShaderCompiler.h"

#include "shader/GlslBackEnd.h"
#include "shader/HlslFrontEnd.h"

namespace tarnelix::d3dx {

bool parseShaderProfile(const std::string& text, ShaderProfile& profile) {
    static const struct {
        const char* name;
        ShaderStage stage;
        uint32_t major, minor;
    } kProfiles[] = {
        {"vs_1_1", ShaderStage::Vertex, 1, 1}, {"vs_2_0", ShaderStage::Vertex, 2, 0},
        {"vs_2_a", ShaderStage::Vertex, 2, 1}, {"vs_3_0", ShaderStage::Vertex, 3, 0},
        {"ps_1_1", ShaderStage::Pixel, 1, 1},  {"ps_1_2", ShaderStage::Pixel, 1, 2},
        {"ps_1_3", ShaderStage::Pixel, 1, 3},  {"ps_1_4", ShaderStage::Pixel, 1, 4},
        {"ps_2_0", ShaderStage::Pixel, 2, 0},  {"ps_2_a", ShaderStage::Pixel, 2, 1},
        {"ps_2_b", ShaderStage::Pixel, 2, 2},  {"ps_3_0", ShaderStage::Pixel, 3, 0},
    };
    for (const auto& p : kProfiles) {
        if (text == p.name) {
            profile = {p.stage, p.major, p.minor};
            return true;
        }
    }
    return false;
}

bool compileHlsl(const std::string& source, const std::string& fileName,
                 const std::string& entryPoint, const ShaderProfile& profile, ShaderBlob& blob,
                 std::string& messages) {
    std::vector<uint32_t> spirv;
    if (!compileHlslToSpirv(source, fileName, entryPoint, profile.stage, spirv, messages)) {
        return false;
    }
    ShaderBlob result;
    result.stage = profile.stage;
    result.versionMajor = profile.major;
    result.versionMinor = profile.minor;
    if (!translateSpirvToBlob(std::move(spirv), profile.stage, result, messages)) {
        messages.insert(0, fileName + ": ");
        return false;
    }
    blob = std::move(result);
    return true;
}

} // namespace tarnelix::d3dx
