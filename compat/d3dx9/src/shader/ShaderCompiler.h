#pragma once

#include "tarnelix/ShaderBlob.h"

#include <string>

namespace tarnelix::d3dx {

struct ShaderProfile {
    ShaderStage stage = ShaderStage::Vertex;
    uint32_t major = 0;
    uint32_t minor = 0;
};

// "vs_1_1", "vs_2_0", "vs_2_a", "vs_3_0", "ps_1_1" to "ps_1_4", "ps_2_0", "ps_2_a", "ps_2_b",
// "ps_3_0". Anything else is refused.
bool parseShaderProfile(const std::string& text, ShaderProfile& profile);

// Compiles one HLSL program. `fileName` only labels the messages.
bool compileHlsl(const std::string& source, const std::string& fileName,
                 const std::string& entryPoint, const ShaderProfile& profile, ShaderBlob& blob,
                 std::string& messages);

} // namespace tarnelix::d3dx
