#include "app/capture/FrameSinks.h"

#include "app/capture/PngWriter.h"

#include <cinttypes>
#include <cstdio>

bool StillSink::write(int64_t, const uint8_t* rgb, std::string& error) {
    return writePng(m_path, m_width, m_height, rgb, static_cast<size_t>(m_width) * 3, error);
}

std::string SequenceSink::fileName(const std::string& folder, int64_t frame) {
    char name[64];
    std::snprintf(name, sizeof(name), "frame-%06" PRId64 ".png", frame);
    return folder.empty() ? name : folder + "/" + name;
}

bool SequenceSink::write(int64_t frame, const uint8_t* rgb, std::string& error) {
    return writePng(fileName(m_folder, frame), m_width, m_height, rgb,
                    static_cast<size_t>(m_width) * 3, error);
}
