#include "engine/rar/RarVolumeName.h"

namespace rar {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Adds one to the decimal digits in [first, last) of `name`; false when they were all nines
// (they are then all zeros).
bool countUp(std::string& name, size_t first, size_t last) {
    for (size_t i = last; i > first; --i) {
        if (name[i - 1] != '9') {
            ++name[i - 1];
            return true;
        }
        name[i - 1] = '0';
    }
    return false;
}

// Where the extension's dot is, or npos when the file name (after any folder) has none.
size_t extensionDot(const std::string& name) {
    const size_t slash = name.find_last_of('/');
    const size_t dot = name.find_last_of('.');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash)
               ? dot
               : std::string::npos;
}

std::string nextNewStyle(const std::string& current) {
    const size_t slash = current.find_last_of('/');
    const size_t fileStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = extensionDot(current);
    size_t end = dot == std::string::npos ? current.size() : dot;
    while (end > fileStart && !isDigit(current[end - 1])) {
        --end;
    }
    size_t start = end;
    while (start > fileStart && isDigit(current[start - 1])) {
        --start;
    }
    if (start == end) {
        return std::string();
    }
    std::string next = current;
    if (!countUp(next, start, end)) {
        next.insert(start, 1, '1'); // "part99" becomes "part100"
    }
    return next;
}

std::string nextOldStyle(const std::string& current) {
    const size_t dot = extensionDot(current);
    if (dot == std::string::npos) {
        return current + ".r00";
    }
    std::string next = current;
    const bool numbered =
        next.size() == dot + 4 && isDigit(next[dot + 2]) && isDigit(next[dot + 3]);
    if (!numbered) {
        // The first volume: ".rar" (or any other extension) gives way to ".r00", in the case
        // of the extension's first letter.
        const bool upper = dot + 1 < next.size() && next[dot + 1] >= 'A' && next[dot + 1] <= 'Z';
        return next.substr(0, dot) + (upper ? ".R00" : ".r00");
    }
    if (countUp(next, dot + 2, dot + 4)) {
        return next;
    }
    char& letter = next[dot + 1];
    const bool canStep = (letter >= 'a' && letter < 'z') || (letter >= 'A' && letter < 'Z');
    if (!canStep) {
        return std::string();
    }
    ++letter;
    return next;
}

} // namespace

std::string nextVolumeName(const std::string& current, bool newNumbering) {
    return newNumbering ? nextNewStyle(current) : nextOldStyle(current);
}

} // namespace rar
