#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/types.h>
#include <vector>

// An H.264 video written by an ffmpeg child process that reads raw RGB frames from a pipe and
// muxes in a music file, from a given offset, padded with silence to the video's length.
class VideoPipe {
public:
    VideoPipe() = default;
    ~VideoPipe();
    VideoPipe(const VideoPipe&) = delete;
    VideoPipe& operator=(const VideoPipe&) = delete;

    // The ffmpeg command line; `musicPath` empty leaves the video silent.
    static std::vector<std::string> command(const std::string& videoPath, int width, int height,
                                            int fps, const std::string& musicPath,
                                            double musicOffset);

    bool open(const std::vector<std::string>& command, int width, int height, std::string& error);
    // One frame of width x height RGB pixels, rows top to bottom, tightly packed.
    bool write(const uint8_t* rgb, std::string& error);
    // Ends the stream and waits for ffmpeg; false when it failed.
    bool close(std::string& error);

private:
    std::FILE* m_pipe = nullptr;
    pid_t m_child = -1;
    size_t m_frameBytes = 0;
};
