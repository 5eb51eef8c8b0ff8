#pragma once

#include "tarnelix/ShaderBlob.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarnelix::d3dx {

// Parses HLSL of the Direct3D 9 era and lowers it to SPIR-V with the HLSL legalisation passes
// applied. Kept apart from the GLSL back end because both libraries declare `namespace spv`.
// On failure `messages` holds the compiler's diagnostics ("file(line): error ...").
bool compileHlslToSpirv(const std::string& source, const std::string& fileName,
                        const std::string& entryPoint, ShaderStage stage,
                        std::vector<uint32_t>& spirv, std::string& messages);

} // namespace tarnelix::d3dx
