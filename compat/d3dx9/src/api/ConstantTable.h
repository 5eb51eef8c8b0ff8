#pragma once

#include "tarnelix/ShaderBlob.h"

#include <d3dx9.h>

#include <cstdint>
#include <vector>

namespace tarnelix::d3dx {

// A constant table over a compiled program: the blob's constants, and the serialized blob as
// the table's bytes.
ID3DXConstantTable* makeConstantTable(const ShaderBlob& blob);

} // namespace tarnelix::d3dx
