#include "tools/scene-import/GltfExtras.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <set>
#include <vector>

namespace sceneimport {

namespace {

// Just enough JSON for the lights: objects, arrays, numbers, strings, literals.
struct Value {
    enum Kind { Null, Number, String, Array, Object } kind = Null;
    double number = 0.0;
    std::string text;
    std::vector<Value> items;
    std::map<std::string, Value> members;

    const Value* member(const char* name) const {
        const auto found = members.find(name);
        return kind == Object && found != members.end() ? &found->second : nullptr;
    }
};

class Parser {
public:
    explicit Parser(const std::string& text) : m_text(text) {}

    bool parse(Value& out) { return value(out, 0) && (skip(), m_pos == m_text.size()); }

private:
    static constexpr int kMaxDepth = 64;

    void skip() {
        while (m_pos < m_text.size() && std::strchr(" \t\r\n", m_text[m_pos]) != nullptr) {
            ++m_pos;
        }
    }
    bool eat(char c) {
        skip();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    bool string(std::string& out) {
        if (!eat('"')) {
            return false;
        }
        while (m_pos < m_text.size() && m_text[m_pos] != '"') {
            if (m_text[m_pos] == '\\') {
                ++m_pos; // kept as the escaped character; \u sequences stay as written
            }
            if (m_pos < m_text.size()) {
                out += m_text[m_pos++];
            }
        }
        return eat('"');
    }
    bool value(Value& out, int depth) {
        skip();
        if (depth > kMaxDepth || m_pos >= m_text.size()) {
            return false;
        }
        const char c = m_text[m_pos];
        if (c == '{') {
            ++m_pos;
            out.kind = Value::Object;
            if (eat('}')) {
                return true;
            }
            do {
                std::string name;
                Value member;
                if (!string(name) || !eat(':') || !value(member, depth + 1)) {
                    return false;
                }
                out.members[name] = std::move(member);
            } while (eat(','));
            return eat('}');
        }
        if (c == '[') {
            ++m_pos;
            out.kind = Value::Array;
            if (eat(']')) {
                return true;
            }
            do {
                out.items.emplace_back();
                if (!value(out.items.back(), depth + 1)) {
                    return false;
                }
            } while (eat(','));
            return eat(']');
        }
        if (c == '"') {
            out.kind = Value::String;
            return string(out.text);
        }
        for (const char* literal : {"true", "false", "null"}) {
            if (m_text.compare(m_pos, std::strlen(literal), literal) == 0) {
                m_pos += std::strlen(literal);
                return true;
            }
        }
        // JSON numbers only: strtod would also take "nan", "inf" and hexadecimal.
        if (c != '-' && (c < '0' || c > '9')) {
            return false;
        }
        const char* start = m_text.c_str() + m_pos;
        char* end = nullptr;
        out.number = std::strtod(start, &end);
        if (end == start || !std::isfinite(out.number) ||
            std::memchr(start, 'x', static_cast<size_t>(end - start)) != nullptr ||
            std::memchr(start, 'X', static_cast<size_t>(end - start)) != nullptr) {
            return false;
        }
        out.kind = Value::Number;
        m_pos += static_cast<size_t>(end - start);
        return true;
    }

    const std::string& m_text;
    size_t m_pos = 0;
};

uint32_t le32(const std::string& bytes, size_t at) {
    return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
           uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
}

} // namespace

GltfExtras gltfExtrasFromJson(const std::string& json) {
    Value root;
    GltfExtras extras;
    const Value* nodes = nullptr;
    if (!Parser(json).parse(root) || (nodes = root.member("nodes")) == nullptr) {
        return extras;
    }
    const Value* extensions = root.member("extensions");
    const Value* punctual = extensions ? extensions->member("KHR_lights_punctual") : nullptr;
    const Value* lights = punctual ? punctual->member("lights") : nullptr;
    const size_t lightCount = lights != nullptr ? lights->items.size() : 0;
    std::set<double> camerasSeen;
    std::set<double> lightsSeen;
    for (const Value& node : nodes->items) {
        const Value* camera = node.member("camera");
        if (camera != nullptr && camera->kind == Value::Number &&
            !camerasSeen.insert(camera->number).second) {
            ++extras.sharedCamerasAndLights;
        }
        const Value* own = node.member("extensions");
        const Value* use = own ? own->member("KHR_lights_punctual") : nullptr;
        const Value* index = use ? use->member("light") : nullptr;
        if (index == nullptr || index->kind != Value::Number ||
            !(index->number >= 0 && index->number < static_cast<double>(lightCount))) {
            continue;
        }
        if (!lightsSeen.insert(index->number).second) {
            ++extras.sharedCamerasAndLights;
        }
        const Value* name = node.member("name");
        const Value* range = lights->items[static_cast<size_t>(index->number)].member("range");
        if (name == nullptr || name->kind != Value::String || range == nullptr ||
            range->kind != Value::Number) {
            continue;
        }
        // The engine keeps radii as floats: a range past the float's reach, or so small that
        // it becomes 0, is no range the engine can use.
        if (range->number > 0.0 && range->number <= std::numeric_limits<float>::max()) {
            const float radius = static_cast<float>(range->number);
            if (radius > 0.0f) {
                extras.lightRanges[name->text] = radius;
            }
        }
    }
    return extras;
}

GltfExtras readGltfExtras(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return gltfExtrasFromFile(
        std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
}

GltfExtras gltfExtrasFromFile(const std::string& bytes) {
    // Binary glTF: a 12-byte header, then the JSON chunk (length, "JSON", text).
    if (bytes.size() >= 20 && bytes.compare(0, 4, "glTF") == 0 &&
        bytes.compare(16, 4, "JSON") == 0) {
        const uint32_t length = le32(bytes, 12);
        if (length <= bytes.size() - 20) {
            return gltfExtrasFromJson(bytes.substr(20, length));
        }
        return {};
    }
    const size_t first = bytes.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    if (first == std::string::npos || bytes[first] != '{') {
        return {};
    }
    return gltfExtrasFromJson(bytes);
}

} // namespace sceneimport
