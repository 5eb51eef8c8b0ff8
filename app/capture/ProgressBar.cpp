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
    std::string next = line(m_label, done, total);
    // Redraw only when the visible text changes, at most a few times per second of show.
    if (next == m_last || !m_stream) {
        return;
    }
    m_last = next;
    std::fprintf(m_stream, "\r%s", next.c_str());
    std::fflush(m_stream);
}

void ProgressBar::finish() {
    if (m_stream && !m_last.empty()) {
        std::fprintf(m_stream, "\n");
        std::fflush(m_stream);
    }
}
