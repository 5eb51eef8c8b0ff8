#include "engine/core/Log.h"

#include <cstdio>

namespace {

Log::Sink gSink = nullptr;
void* gSinkUser = nullptr;

} // namespace

void Log::section(int level, const char* title) {
    if (gSink != nullptr) {
        gSink(Kind::Section, level, title != nullptr ? title : "", gSinkUser);
    }
}

void Log::write(int level, const char* format, ...) {
    // Formatting is skipped entirely while nobody listens, so the show pays nothing for it.
    if (gSink == nullptr) {
        return;
    }
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    gSink(Kind::Line, level, text, gSinkUser);
}

void Log::setSink(Sink sink, void* user) {
    gSink = sink;
    gSinkUser = user;
}

bool Log::hasSink() {
    return gSink != nullptr;
}
