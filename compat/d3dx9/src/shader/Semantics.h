#pragma once

#include <cstdint>
#include <string>

namespace tarnelix::d3dx {

// A Direct3D 9 semantic split into its usage (a D3DDECLUSAGE value) and index.
struct Semantic {
    std::string name; // upper case, without the index: "TEXCOORD"
    uint32_t usage = 0;
    uint32_t index = 0;
    bool known = false;

    // "TEXCOORD3", the form used in the generated GLSL names.
    std::string label() const { return name + std::to_string(index); }
};

// Parses "texcoord3", "COLOR", "SV_Position": upper-cased, a missing index means 0, and the
// system-value spellings of later HLSL are folded onto the Direct3D 9 names.
Semantic parseSemantic(const std::string& text);

// True for the semantics a vertex program may read from vertex streams.
bool isVertexInputSemantic(const Semantic& semantic);

} // namespace tarnelix::d3dx
