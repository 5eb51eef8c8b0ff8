#pragma once

#include <cstdio>
#include <string>

// A one-line progress bar on a stream, redrawn in place when the percentage changes.
class ProgressBar {
public:
    ProgressBar(std::FILE* stream, std::string label)
        : m_stream(stream), m_label(std::move(label)) {}
    // `done` of `total` (total 0 or less: unknown, shows only the count).
    void update(double done, double total);
    void finish();
    // The line as drawn, without the carriage return.
    static std::string line(const std::string& label, double done, double total);

private:
    std::FILE* m_stream;
    std::string m_label;
    int m_lastPercent = -1;
    bool m_drawn = false;
};
