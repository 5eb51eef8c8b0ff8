#include "RarTestSupport.h"

#include "engine/rar/RarArchive.h"
#include "engine/rar/RarState.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

void RarLogTest::SetUp() {
    const char* old = std::getenv("TMPDIR");
    m_oldTmp = old != nullptr ? old : "";
    m_hadTmp = old != nullptr;
    setenv("TMPDIR", m_dir.path().c_str(), 1);
    rar::rarState().log.restart();
}

void RarLogTest::TearDown() {
    if (m_hadTmp) {
        setenv("TMPDIR", m_oldTmp.c_str(), 1);
    } else {
        unsetenv("TMPDIR");
    }
    rar::rarState().log.restart();
}

std::string rarTestData(const std::string& relative) {
    return std::string(TARNELIX_RAR_TESTDATA) + "/" + relative;
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string patched(std::string bytes, size_t offset, const std::string& with) {
    bytes.replace(offset, with.size(), with);
    return bytes;
}

Extraction extract(const std::string& archive, const std::string& entry, const char* password) {
    uint8_t* data = reinterpret_cast<uint8_t*>(1); // must be overwritten either way
    uint32_t size = 12345;
    Extraction result;
    result.ok = extractFromArchive(&data, &size, entry.c_str(), archive.c_str(), password) != 0;
    if (result.ok) {
        EXPECT_NE(data, nullptr);
        result.bytes.assign(reinterpret_cast<const char*>(data), size);
    } else {
        EXPECT_EQ(data, nullptr);
        EXPECT_EQ(size, 0u);
    }
    std::free(result.ok ? data : nullptr);
    return result;
}

namespace {

// The MANIFEST writes bytes outside ASCII as \xHH and keeps backslashes as they are.
std::string unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 3]))) {
            out += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

std::vector<ManifestRow> readManifest() {
    std::vector<ManifestRow> rows;
    std::istringstream lines(readWholeFile(rarTestData("MANIFEST.tsv")));
    std::string line;
    std::getline(lines, line); // column titles
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, '\t')) {
            fields.push_back(cell);
        }
        if (fields.size() < 8) {
            continue;
        }
        ManifestRow row;
        row.file = fields[0];
        row.entry = unescape(fields[1]);
        row.unpackVersion = std::stoi(fields[2]);
        row.unpackedSize = static_cast<uint32_t>(std::stoul(fields[5]));
        row.crc = static_cast<uint32_t>(std::stoul(fields[6], nullptr, 16));
        row.encrypted = fields[7].find("encrypted") != std::string::npos;
        rows.push_back(row);
    }
    return rows;
}
