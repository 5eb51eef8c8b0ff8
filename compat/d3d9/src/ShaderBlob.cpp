#include "tarnelix/ShaderBlob.h"

#include <cstring>

namespace tarnelix {
namespace {

// A generous ceiling: a shader program of the era is a few KiB.
constexpr uint32_t kMaxBlobWords = 16u << 20;

class Writer {
public:
    void word(uint32_t w) { m_words.push_back(w); }
    void text(const std::string& s) {
        word(static_cast<uint32_t>(s.size()));
        const size_t start = m_words.size();
        m_words.resize(start + (s.size() + 3) / 4, 0);
        if (!s.empty()) {
            std::memcpy(m_words.data() + start, s.data(), s.size());
        }
    }
    std::vector<uint32_t>& words() { return m_words; }

private:
    std::vector<uint32_t> m_words;
};

class Reader {
public:
    Reader(const uint32_t* words, size_t count) : m_words(words), m_count(count) {}
    bool word(uint32_t& w) {
        if (m_at >= m_count) {
            return false;
        }
        w = m_words[m_at++];
        return true;
    }
    bool text(std::string& s) {
        uint32_t length = 0;
        if (!word(length)) {
            return false;
        }
        const size_t padded = (static_cast<size_t>(length) + 3) / 4;
        if (padded > m_count - m_at) {
            return false;
        }
        s.assign(reinterpret_cast<const char*>(m_words + m_at), length);
        m_at += padded;
        return true;
    }

private:
    const uint32_t* m_words;
    size_t m_count;
    size_t m_at = 0;
};

void writeVaryings(Writer& w, const std::vector<ShaderVarying>& list) {
    w.word(static_cast<uint32_t>(list.size()));
    for (const ShaderVarying& v : list) {
        w.text(v.glslName);
        w.word(v.usage);
        w.word(v.usageIndex);
    }
}

bool readVaryings(Reader& r, std::vector<ShaderVarying>& list) {
    uint32_t count = 0;
    if (!r.word(count) || count > 4096) {
        return false;
    }
    list.resize(count);
    for (ShaderVarying& v : list) {
        if (!r.text(v.glslName) || !r.word(v.usage) || !r.word(v.usageIndex)) {
            return false;
        }
    }
    return true;
}

} // namespace

std::vector<uint32_t> serializeShaderBlob(const ShaderBlob& blob) {
    Writer w;
    w.word(kShaderBlobMagic);
    w.word(0); // length, patched below
    w.word(static_cast<uint32_t>(blob.stage));
    w.word(blob.versionMajor);
    w.word(blob.versionMinor);
    w.text(blob.glsl);
    w.text(blob.uniformBlock);
    w.word(blob.uniformBlockSize);
    writeVaryings(w, blob.inputs);
    writeVaryings(w, blob.outputs);
    w.word(static_cast<uint32_t>(blob.constants.size()));
    for (const ShaderConstant& c : blob.constants) {
        w.text(c.name);
        w.text(c.glslName);
        for (uint32_t v : {static_cast<uint32_t>(c.set), c.registerIndex, c.registerCount,
                           c.uniformOffset, c.bytesPerRegister, c.rows, c.columns, c.elements,
                           c.parameterClass, c.parameterType}) {
            w.word(v);
        }
    }
    w.word(kShaderBlobEnd);
    std::vector<uint32_t>& words = w.words();
    words[1] = static_cast<uint32_t>(words.size());
    return words;
}

size_t shaderBlobSize(const uint32_t* words) {
    if (words == nullptr || words[0] != kShaderBlobMagic || words[1] < 3 ||
        words[1] > kMaxBlobWords) {
        return 0;
    }
    return words[1];
}

bool parseShaderBlob(const uint32_t* words, ShaderBlob& out) {
    const size_t size = shaderBlobSize(words);
    if (size == 0 || words[size - 1] != kShaderBlobEnd) {
        return false;
    }
    Reader r(words + 2, size - 3);
    uint32_t stage = 0;
    ShaderBlob blob;
    if (!r.word(stage) || stage > 1 || !r.word(blob.versionMajor) || !r.word(blob.versionMinor) ||
        !r.text(blob.glsl) || !r.text(blob.uniformBlock) || !r.word(blob.uniformBlockSize) ||
        !readVaryings(r, blob.inputs) || !readVaryings(r, blob.outputs)) {
        return false;
    }
    blob.stage = static_cast<ShaderStage>(stage);
    uint32_t count = 0;
    if (!r.word(count) || count > 4096) {
        return false;
    }
    blob.constants.resize(count);
    for (ShaderConstant& c : blob.constants) {
        uint32_t set = 0;
        if (!r.text(c.name) || !r.text(c.glslName) || !r.word(set) || set > 3 ||
            !r.word(c.registerIndex) || !r.word(c.registerCount) || !r.word(c.uniformOffset) ||
            !r.word(c.bytesPerRegister) || !r.word(c.rows) || !r.word(c.columns) ||
            !r.word(c.elements) || !r.word(c.parameterClass) || !r.word(c.parameterType)) {
            return false;
        }
        c.set = static_cast<RegisterSet>(set);
    }
    out = std::move(blob);
    return true;
}

} // namespace tarnelix
