#include "app/capture/ProgressBar.h"

#include <algorithm>

namespace {
constexpr int kBarWidth = 30;
}

std::string ProgressBar::line(const std::string& label, double done, double total) {
    char text[160];
    if (total <= 0.0) {
        std::snprintf(text, sizeof(text), "%s %.1f s", label.c_str(), done);
        return text;
    }
    double fraction = std::clamp(done / total, 0.0, 1.0);
    int filled = static_cast<int>(fraction * kBarWidth);
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(kBarWidth - filled), '.');
    std::snprintf(text, sizeof(text), "%s [%s] %3d%%  %.1f / %.1f s", label.c_str(), bar.c_str(),
                  static_cast<int>(fraction * 100.0), done, total);
    return text;
}

void ProgressBar::update(double done, double total) {
    // Redraw only when the percentage changes: at most a hundred lines, in a log as well.
    int percent = total > 0.0 ? static_cast<int>(std::clamp(done / total, 0.0, 1.0) * 100.0) : 0;
    if (percent == m_lastPercent || !m_stream) {
        return;
    }
    m_lastPercent = percent;
    m_last = line(m_label, done, total);
    if (m_live) {
        m_drawn = true;
        std::fprintf(m_stream, "\r%s", m_last.c_str());
        std::fflush(m_stream);
    }
}

void ProgressBar::finish() {
    if (!m_stream || m_last.empty()) {
        return;
    }
    std::fprintf(m_stream, m_drawn ? "\n" : "%s\n", m_last.c_str());
    std::fflush(m_stream);
}
