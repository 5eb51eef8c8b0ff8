#include "Varyings.h"

#include <cstring>

namespace tarnelix::d3d9 {

const char* varyingName(int index) {
    static const char* const kNames[kVaryingCount] = {
        "tx_v_COLOR0",    "tx_v_COLOR1",    "tx_v_TEXCOORD0", "tx_v_TEXCOORD1", "tx_v_TEXCOORD2",
        "tx_v_TEXCOORD3", "tx_v_TEXCOORD4", "tx_v_TEXCOORD5", "tx_v_TEXCOORD6", "tx_v_TEXCOORD7"};
    return kNames[index];
}

const char* glslType(int components) {
    static const char* const kTypes[5] = {"vec4", "float", "vec2", "vec3", "vec4"};
    return kTypes[components >= 0 && components <= 4 ? components : 0];
}

namespace {

int componentsOfType(const std::string& type) {
    if (type == "float") {
        return 1;
    }
    if (type == "vec2") {
        return 2;
    }
    if (type == "vec3") {
        return 3;
    }
    if (type == "vec4") {
        return 4;
    }
    return 0;
}

bool isIdentifierChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The word that ends just before position `end` (skipping spaces), and where it starts.
std::string wordBefore(const std::string& text, size_t end, size_t& start) {
    while (end > 0 && text[end - 1] == ' ') {
        --end;
    }
    start = end;
    while (start > 0 && isIdentifierChar(text[start - 1])) {
        --start;
    }
    return text.substr(start, end - start);
}

} // namespace

VaryingSignature readSignature(const std::string& glsl, const char* qualifier) {
    VaryingSignature signature;
    for (int i = 0; i < kVaryingCount; ++i) {
        std::string name = varyingName(i);
        size_t position = 0;
        while ((position = glsl.find(name, position)) != std::string::npos) {
            size_t after = position + name.size();
            bool wholeWord = (position == 0 || !isIdentifierChar(glsl[position - 1])) &&
                             after < glsl.size() && glsl[after] == ';';
            if (wholeWord) {
                size_t typeStart = 0;
                std::string type = wordBefore(glsl, position, typeStart);
                size_t qualifierStart = 0;
                std::string found = wordBefore(glsl, typeStart, qualifierStart);
                if (found == qualifier && componentsOfType(type) > 0) {
                    signature.components[i] = static_cast<uint8_t>(componentsOfType(type));
                    break;
                }
            }
            position = after;
        }
    }
    return signature;
}

} // namespace tarnelix::d3d9
