#pragma once

#include <cstdarg>

// The program-wide log. The show itself discards everything it is given; tools and tests may
// install a sink to see the texts (a loader's reason for refusing a file, say).
class Log {
public:
    enum class Kind { Section, Line };

    // Receives each formatted text with its level; `user` is what was passed to setSink.
    using Sink = void (*)(Kind kind, int level, const char* text, void* user);

    static void section(int level, const char* title);
    static void write(int level, const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    // Installs a sink (null restores discarding). Only tools and tests call this.
    static void setSink(Sink sink, void* user = nullptr);
    static bool hasSink();
};
