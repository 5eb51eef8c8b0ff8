#include "shader/Semantics.h"

#include <cctype>

namespace tarnelix::d3dx {
namespace {

struct UsageName {
    const char* name;
    uint32_t usage; // D3DDECLUSAGE
};

constexpr UsageName kUsages[] = {
    {"POSITION", 0}, {"BLENDWEIGHT", 1}, {"BLENDINDICES", 2}, {"NORMAL", 3},     {"PSIZE", 4},
    {"TEXCOORD", 5}, {"TANGENT", 6},     {"BINORMAL", 7},     {"TESSFACTOR", 8}, {"POSITIONT", 9},
    {"COLOR", 10},   {"FOG", 11},        {"DEPTH", 12},       {"SAMPLE", 13},
};

} // namespace

Semantic parseSemantic(const std::string& text) {
    std::string upper;
    for (char c : text) {
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    size_t digits = upper.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(upper[digits - 1]))) {
        --digits;
    }
    Semantic s;
    s.name = upper.substr(0, digits);
    const std::string number = upper.substr(digits);
    s.index = number.empty() || number.size() > 3 ? 0 : static_cast<uint32_t>(std::stoul(number));
    if (s.name == "SV_POSITION") {
        s.name = "POSITION";
    } else if (s.name == "SV_TARGET") {
        s.name = "COLOR";
    } else if (s.name == "SV_DEPTH") {
        s.name = "DEPTH";
    }
    for (const UsageName& u : kUsages) {
        if (s.name == u.name) {
            s.usage = u.usage;
            s.known = true;
        }
    }
    return s;
}

bool isVertexInputSemantic(const Semantic& s) {
    if (!s.known) {
        return false;
    }
    switch (s.usage) {
    case 5:
        return s.index <= 7; // TEXCOORD0..7
    case 10:
        return s.index <= 1; // COLOR0/1
    case 0:                  // POSITION
    case 1:                  // BLENDWEIGHT
    case 2:                  // BLENDINDICES
    case 3:                  // NORMAL
    case 6:                  // TANGENT
    case 7:                  // BINORMAL
        return s.index == 0;
    default:
        return false;
    }
}

} // namespace tarnelix::d3dx
