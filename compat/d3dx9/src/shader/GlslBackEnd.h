#pragma once

#include "tarnelix/ShaderBlob.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarnelix::d3dx {

// Turns the SPIR-V of one HLSL program into the GLSL 330 program and binding facts the device
// needs (see tarnelix/ShaderBlob.h for the conventions). `blob.stage` and the version fields
// are left for the caller; on failure `messages` says why.
bool translateSpirvToBlob(std::vector<uint32_t> spirv, ShaderStage stage, ShaderBlob& blob,
                          std::string& messages);

} // namespace tarnelix::d3dx
