#pragma once

#include <cstdio>
#include <string>

// A one-line progress bar on a stream, redrawn in place when the percentage changes. On a
// stream no one watches live (`live` false: a file, a pipe, a log) only the last state is
// written, once, by finish: a hundred carriage-return redraws are noise there.
class ProgressBar {
public:
    ProgressBar(std::FILE* stream, std::string label, bool live)
        : m_stream(stream), m_label(std::move(label)), m_live(live) {}
    // `done` of `total` (total 0 or less: unknown, shows only the count).
    void update(double done, double total);
    void finish();
    // The line as drawn, without the carriage return.
    static std::string line(const std::string& label, double done, double total);

private:
    std::FILE* m_stream;
    std::string m_label;
    bool m_live;
    int m_lastPercent = -1;
    std::string m_last; // the line last drawn, or to be drawn by finish
    bool m_drawn = false;
};
