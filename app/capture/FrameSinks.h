#pragma once

#include "app/capture/CaptureHost.h"
#include "app/capture/VideoPipe.h"

#include <string>

// --at: one PNG file.
class StillSink : public FrameSink {
public:
    StillSink(std::string path, int width, int height)
        : m_path(std::move(path)), m_width(width), m_height(height) {}
    bool write(int64_t frame, const uint8_t* rgb, std::string& error) override;

private:
    std::string m_path;
    int m_width;
    int m_height;
};

// --frames: DIR/frame-000000.png, numbered by the frame's place in the show.
class SequenceSink : public FrameSink {
public:
    SequenceSink(std::string folder, int width, int height)
        : m_folder(std::move(folder)), m_width(width), m_height(height) {}
    bool write(int64_t frame, const uint8_t* rgb, std::string& error) override;
    static std::string fileName(const std::string& folder, int64_t frame);

private:
    std::string m_folder;
    int m_width;
    int m_height;
};

// --video: frames into the encoder.
class VideoSink : public FrameSink {
public:
    explicit VideoSink(VideoPipe& pipe) : m_pipe(pipe) {}
    bool write(int64_t, const uint8_t* rgb, std::string& error) override {
        return m_pipe.write(rgb, error);
    }

private:
    VideoPipe& m_pipe;
};
