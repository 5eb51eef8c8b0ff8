#pragma once

// Small glTF files for the importer's tests: the JSON is written by each test, the binary data
// goes into one base64 data-URI buffer made here.

#include <cstdint>
#include <string>
#include <vector>

class GltfTestFile {
public:
    // Each returns the new accessor's index. `type` is "SCALAR", "VEC2", "VEC3", "VEC4" or "MAT4".
    int floats(const std::vector<float>& values, const char* type);
    int bytes(const std::vector<uint8_t>& values, const char* type);
    int indices(const std::vector<uint16_t>& values);

    // The whole file: `body` holds the JSON members other than "asset", "buffers",
    // "bufferViews" and "accessors", without the surrounding braces.
    std::string json(const std::string& body) const;

private:
    int add(const void* data, size_t size, int componentType, size_t count, const char* type,
            const std::string& extra);

    std::vector<uint8_t> m_data;
    std::vector<std::string> m_views;
    std::vector<std::string> m_accessors;
};

std::string base64(const std::vector<uint8_t>& bytes);
