#include "engine/rar/RarDebugLog.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace rar {

namespace {

const char* const kSourcePath = "engine/rar/RarArchive.cpp";

unsigned long long nowMs() {
    using namespace std::chrono;
    return static_cast<unsigned long long>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// The system's folder for temporary files (TMPDIR or /tmp on Linux, the user's temporary folder
// on Windows); empty when there is none.
std::string temporaryDirectory() {
    std::error_code error;
    const std::filesystem::path dir = std::filesystem::temp_directory_path(error);
    return error ? std::string() : dir.string();
}

} // namespace

void DebugLog::startOnce() {
    if (!m_firstCall) {
        return;
    }
    m_firstCall = false;
    m_startMs = nowMs();
    const std::string folder = temporaryDirectory();
    if (folder.empty()) {
        return;
    }
    m_path = (std::filesystem::path(folder) / "debug_rar.txt").string();
    FILE* file = std::fopen(m_path.c_str(), "w");
    if (file == nullptr) {
        return;
    }
    m_enabled = true;
    std::fprintf(file, "Tarnelix RAR archive reader - debug log\n");
    std::fprintf(file, "RAR 2.x reader: normal and solid archives and volume sets, stored and "
                       "RAR 2.0 entries\n");
    std::fprintf(file, "(executable compiled on %s at %s)\n\n", __DATE__, __TIME__);
    std::fclose(file);
}

void DebugLog::write(unsigned line, const char* format, ...) {
    if (!m_enabled) {
        return;
    }
    FILE* file = std::fopen(m_path.c_str(), "a");
    if (file == nullptr) {
        return;
    }
    const unsigned long long elapsed = nowMs() - m_startMs;
    std::fprintf(file, " %8u ms (line %u in %s):\n", static_cast<unsigned>(elapsed), line,
                 kSourcePath);
    std::fprintf(file, "              - ");
    va_list args;
    va_start(args, format);
    std::vfprintf(file, format, args);
    va_end(args);
    std::fprintf(file, "\n");
    std::fclose(file);
}

void DebugLog::restart() {
    m_firstCall = true;
    m_enabled = false;
    m_path.clear();
}

void DebugLog::disable() {
    m_firstCall = false;
    m_enabled = false;
}

} // namespace rar
