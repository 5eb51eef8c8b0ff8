#include "app/ShowFile.h"

#define TOML_HEADER_ONLY 1
#define TOML_EXCEPTIONS 0
#include <toml++/toml.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

// Collects the first error of a read, with its place in the file.
class Reader {
public:
    Reader(const std::string& file, std::vector<std::string>& warnings)
        : m_file(file), m_warnings(warnings) {}

    bool failed() const { return !m_error.empty(); }
    const std::string& error() const { return m_error; }

    static ShowFilePlace placeOf(const toml::source_region& source) {
        return ShowFilePlace{static_cast<int>(source.begin.line),
                             static_cast<int>(source.begin.column)};
    }

    void fail(const toml::source_region& source, const std::string& what) {
        if (m_error.empty()) {
            m_error = showFilePlace(m_file, placeOf(source)) + what;
        }
    }

    void warnUnknown(const toml::key& key) {
        m_warnings.push_back(showFilePlace(m_file, placeOf(key.source())) + "unknown key \"" +
                             std::string(key.str()) + "\" is left out");
    }

    std::string text(const toml::node& node, const char* key) {
        const auto* value = node.as_string();
        if (!value || value->get().empty()) {
            fail(node.source(), std::string(key) + ": expected a file or camera name in quotes");
            return "";
        }
        return value->get();
    }

    float seconds(const toml::node& node, const char* key) {
        const auto value = node.value<double>();
        if (!node.is_number() || !value || !std::isfinite(*value) || *value < 0.0 || *value > 1e6) {
            fail(node.source(), std::string(key) + ": expected a number of seconds, 0 or more");
            return 0.0f;
        }
        return static_cast<float>(*value);
    }

    Vec4 colour(const toml::node& node, const char* key) {
        const auto* array = node.as_array();
        float c[3] = {0.0f, 0.0f, 0.0f};
        bool ok = array && array->size() == 3;
        for (size_t i = 0; ok && i < 3; ++i) {
            const auto value = (*array)[i].value<double>();
            ok = (*array)[i].is_number() && value && *value >= 0.0 && *value <= 1.0;
            c[i] = ok ? static_cast<float>(*value) : 0.0f;
        }
        if (!ok) {
            fail(node.source(),
                 std::string(key) + ": expected [red, green, blue], each from 0 to 1");
        }
        return Vec4(c[0], c[1], c[2], 1.0f);
    }

private:
    std::string m_file;
    std::vector<std::string>& m_warnings;
    std::string m_error;
};

void readSegment(Reader& reader, const toml::table& table, ShowSegment& segment) {
    bool kindGiven = false;
    bool durationGiven = false;
    bool startGiven = false;
    for (auto&& [key, node] : table) {
        const std::string name(key.str());
        if (name == "splash" || name == "camera") {
            if (kindGiven) {
                reader.fail(key.source(), "expected one of splash and camera, not both");
            }
            kindGiven = true;
            segment.kind = name == "splash" ? ShowSegment::Kind::Splash : ShowSegment::Kind::Camera;
            segment.content = reader.text(node, name.c_str());
            segment.place = reader.placeOf(node.source());
        } else if (name == "duration") {
            durationGiven = true;
            segment.duration = reader.seconds(node, "duration");
            if (!reader.failed() && segment.duration <= 0.0f) {
                reader.fail(node.source(), "duration: expected more than 0 seconds");
            }
        } else if (name == "fade_in") {
            segment.fadeInTime = reader.seconds(node, "fade_in");
        } else if (name == "fade_out") {
            segment.fadeOutTime = reader.seconds(node, "fade_out");
        } else if (name == "start") {
            startGiven = true;
            segment.startTime = reader.seconds(node, "start");
        } else {
            reader.warnUnknown(key);
        }
    }
    if (!kindGiven) {
        reader.fail(table.source(), "a segment: expected splash = \"IMAGE\" or camera = \"NAME\"");
    } else if (!durationGiven) {
        reader.fail(table.source(), "a segment: expected duration = SECONDS");
    } else if (startGiven && segment.kind == ShowSegment::Kind::Splash) {
        reader.fail(table.source(), "start: expected only in a camera segment");
    } else if (segment.fadeInTime + segment.fadeOutTime > segment.duration) {
        reader.fail(table.source(), "fade_in + fade_out: expected no longer than the duration");
    }
    segment.rewinds = startGiven;
}

// toml++ quotes what it met in its messages, raw: a line break or another control character
// there would break the one line a fault is told in.
std::string oneLine(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

// The length of the UTF-8 sequence at `at` and its code point; 0 for bytes that are no such
// sequence (a stray continuation byte, a short or overlong sequence, a surrogate, past U+10FFFF).
size_t decodeUtf8(std::string_view text, size_t at, uint32_t& code) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || at + length > text.size()) {
        return 0;
    }
    code = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < least[length] || surrogate || code > 0x10FFFF ? 0 : length;
}

// What toml++ is given: the file in ASCII alone. toml++ 3.3 (Debian 12's) reaches undefined
// behaviour (an "unreachable" branch of its whitespace test) on most code points from U+00A1 to
// U+0499 and from U+FBF6 to U+FEFE wherever it looks for whitespace, and it looks far: an error
// message reads on through the rest of the token, strings included. So a letter beyond ASCII in
// a double-quoted string becomes its \u escape, one in a comment a '?', and one anywhere else
// (a single-quoted string included, which has no escapes) is refused at its place. Columns after
// an escaped letter on the same line move by a few.
bool asciiForParser(std::string_view text, std::string& out, ShowFilePlace& place) {
    enum class In { Plain, Basic, Literal, MultiBasic, MultiLiteral, Comment };
    In in = In::Plain;
    int line = 1;
    size_t lineStart = 0;
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool triple = i + 2 < text.size() && text[i + 1] == c && text[i + 2] == c;
        if (static_cast<unsigned char>(c) >= 0x80) {
            uint32_t code = 0;
            const size_t length = decodeUtf8(text, i, code);
            if (length == 0 || (in != In::Basic && in != In::MultiBasic && in != In::Comment)) {
                place = ShowFilePlace{line, static_cast<int>(i - lineStart) + 1};
                return false;
            }
            char escaped[12];
            std::snprintf(escaped, sizeof escaped, code > 0xFFFF ? "\\U%08X" : "\\u%04X",
                          static_cast<unsigned>(code));
            out += in == In::Comment ? "?" : escaped;
            i += length - 1;
            continue;
        }
        out += c;
        if (c == '\n') {
            ++line;
            lineStart = i + 1;
            in = in == In::MultiBasic || in == In::MultiLiteral ? in : In::Plain;
            continue;
        }
        const size_t more = triple ? 2 : 0;
        switch (in) {
        case In::Plain:
            if (c == '#') {
                in = In::Comment;
            } else if (c == '"' || c == '\'') {
                in = triple ? (c == '"' ? In::MultiBasic : In::MultiLiteral)
                            : (c == '"' ? In::Basic : In::Literal);
                out.append(text.substr(i + 1, more));
                i += more;
            }
            break;
        case In::Basic:
        case In::MultiBasic:
            if (c == '\\' && i + 1 < text.size() && text[i + 1] != '\n' &&
                static_cast<unsigned char>(text[i + 1]) < 0x80) {
                out += text[++i]; // an escaped character, never the string's end
            } else if (c == '"' && (in == In::Basic || triple)) {
                out.append(text.substr(i + 1, in == In::Basic ? 0 : 2));
                i += in == In::Basic ? 0 : 2;
                in = In::Plain;
            }
            break;
        case In::Literal:
        case In::MultiLiteral:
            if (c == '\'' && (in == In::Literal || triple)) {
                out.append(text.substr(i + 1, in == In::Literal ? 0 : 2));
                i += in == In::Literal ? 0 : 2;
                in = In::Plain;
            }
            break;
        case In::Comment:
            break;
        }
    }
    return true;
}

} // namespace

bool parseShowFile(std::string_view text, const std::string& file, ShowScript& script,
                   std::string& error, std::vector<std::string>& warnings) {
    ShowFilePlace place;
    std::string ascii;
    if (!asciiForParser(text, ascii, place)) {
        error = showFilePlace(file, place) +
                "expected letters beyond ASCII (in UTF-8) only in double-quoted names and comments";
        return false;
    }
    toml::parse_result parsed = toml::parse(ascii, file);
    if (!parsed) {
        const toml::parse_error& e = parsed.error();
        error = showFilePlace(file, Reader::placeOf(e.source())) + oneLine(e.description());
        return false;
    }
    Reader reader(file, warnings);
    ShowScript read;
    read.file = file;
    read.background = builtInShow().background;
    read.ambient = builtInShow().ambient;
    bool sceneGiven = false;
    const toml::table& top = parsed.table();
    for (auto&& [key, node] : top) {
        const std::string name(key.str());
        if (name == "scene") {
            sceneGiven = true;
            read.scene = reader.text(node, "scene");
            read.scenePlace = reader.placeOf(node.source());
        } else if (name == "music") {
            read.music = reader.text(node, "music");
        } else if (name == "background") {
            read.background = reader.colour(node, "background");
        } else if (name == "ambient") {
            read.ambient = reader.colour(node, "ambient");
        } else if (name == "segment") {
            const auto* segments = node.as_array();
            if (!segments || !segments->is_array_of_tables()) {
                reader.fail(node.source(), "segment: expected [[segment]] tables");
                continue;
            }
            for (const toml::node& table : *segments) {
                ShowSegment segment;
                readSegment(reader, *table.as_table(), segment);
                read.segments.push_back(segment);
            }
        } else {
            reader.warnUnknown(key);
        }
    }
    if (!sceneGiven) {
        reader.fail(top.source(), "expected scene = \"FILE.3df\"");
    } else if (read.segments.empty()) {
        reader.fail(top.source(), "expected at least one [[segment]]");
    }
    if (reader.failed()) {
        error = reader.error();
        return false;
    }
    script = std::move(read);
    return true;
}

bool readShowFile(const std::string& file, ShowScript& script, std::string& error,
                  std::vector<std::string>& warnings) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = file + ": the file is missing or cannot be read";
        return false;
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return parseShowFile(text, file, script, error, warnings);
}
