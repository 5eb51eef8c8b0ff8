#include "GltfTestFile.h"

#include <algorithm>
#include <cstring>

namespace {

size_t componentsOf(const char* type) {
    const std::string t = type;
    return t == "SCALAR" ? 1 : t == "VEC2" ? 2 : t == "VEC3" ? 3 : t == "MAT4" ? 16 : 4;
}

std::string numberList(const std::vector<float>& values) {
    std::string out = "[";
    for (size_t i = 0; i < values.size(); ++i) {
        out += (i ? "," : "") + std::to_string(values[i]);
    }
    return out + "]";
}

} // namespace

std::string base64(const std::vector<uint8_t>& bytes) {
    static const char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const uint32_t n = (uint32_t(bytes[i]) << 16) |
                           (i + 1 < bytes.size() ? uint32_t(bytes[i + 1]) << 8 : 0) |
                           (i + 2 < bytes.size() ? uint32_t(bytes[i + 2]) : 0);
        out += kDigits[(n >> 18) & 63];
        out += kDigits[(n >> 12) & 63];
        out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
    }
    return out;
}

int GltfTestFile::add(const void* data, size_t size, int componentType, size_t count,
                      const char* type, const std::string& extra) {
    while (m_data.size() % 4 != 0) {
        m_data.push_back(0);
    }
    const size_t offset = m_data.size();
    m_data.resize(offset + size);
    std::memcpy(m_data.data() + offset, data, size);
    m_views.push_back("{\"buffer\":0,\"byteOffset\":" + std::to_string(offset) +
                      ",\"byteLength\":" + std::to_string(size) + "}");
    m_accessors.push_back("{\"bufferView\":" + std::to_string(m_views.size() - 1) +
                          ",\"componentType\":" + std::to_string(componentType) + ",\"count\":" +
                          std::to_string(count) + ",\"type\":\"" + type + "\"" + extra + "}");
    return static_cast<int>(m_accessors.size() - 1);
}

int GltfTestFile::floats(const std::vector<float>& values, const char* type) {
    const size_t n = componentsOf(type);
    const size_t count = values.size() / n;
    // glTF wants bounds on positions and on animation times; other accessors may carry them.
    std::vector<float> low(values.begin(), values.begin() + n);
    std::vector<float> high = low;
    for (size_t i = 0; i < values.size(); ++i) {
        low[i % n] = std::min(low[i % n], values[i]);
        high[i % n] = std::max(high[i % n], values[i]);
    }
    return add(values.data(), values.size() * sizeof(float), 5126, count, type,
               ",\"min\":" + numberList(low) + ",\"max\":" + numberList(high));
}

int GltfTestFile::bytes(const std::vector<uint8_t>& values, const char* type) {
    return add(values.data(), values.size(), 5121, values.size() / componentsOf(type), type, "");
}

int GltfTestFile::indices(const std::vector<uint16_t>& values) {
    return add(values.data(), values.size() * sizeof(uint16_t), 5123, values.size(), "SCALAR", "");
}

std::string GltfTestFile::json(const std::string& body) const {
    std::string out = "{\"asset\":{\"version\":\"2.0\"},";
    out += body;
    out += ",\"buffers\":[{\"byteLength\":" + std::to_string(m_data.size()) +
           ",\"uri\":\"data:application/octet-stream;base64," + base64(m_data) + "\"}]";
    out += ",\"bufferViews\":[";
    for (size_t i = 0; i < m_views.size(); ++i) {
        out += (i ? "," : "") + m_views[i];
    }
    out += "],\"accessors\":[";
    for (size_t i = 0; i < m_accessors.size(); ++i) {
        out += (i ? "," : "") + m_accessors[i];
    }
    return out + "]}";
}
