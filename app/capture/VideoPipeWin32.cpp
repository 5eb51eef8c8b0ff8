#include "app/capture/VideoPipe.h"

// Windows has no encoder to hand frames to: numbered PNGs are what a capture writes there.

VideoPipe::~VideoPipe() = default;

bool VideoPipe::open(const std::vector<std::string>&, int, int, std::string& error) {
    error = "video is not written on Windows; write the frames with --frames DIR and encode "
            "them with ffmpeg";
    return false;
}

bool VideoPipe::write(const uint8_t*, std::string& error) {
    error = "the encoder is not running";
    return false;
}

bool VideoPipe::close(std::string&) {
    return true;
}
