#include "app/capture/VideoPipe.h"

std::vector<std::string> VideoPipe::command(const std::string& videoPath, int width, int height,
                                            int fps, const std::string& musicPath,
                                            double musicOffset) {
    std::vector<std::string> args = {
        "ffmpeg",     "-hide_banner",
        "-loglevel",  "error",
        "-nostdin",   "-y",
        "-f",         "rawvideo",
        "-pix_fmt",   "rgb24",
        "-s",         std::to_string(width) + "x" + std::to_string(height),
        "-framerate", std::to_string(fps),
        "-i",         "-"};
    if (!musicPath.empty()) {
        args.insert(args.end(), {"-ss", std::to_string(musicOffset), "-i", musicPath});
    }
    args.insert(args.end(), {"-map", "0:v:0", "-c:v", "libx264", "-preset", "veryfast", "-crf",
                             "18", "-pix_fmt", "yuv420p"});
    if (!musicPath.empty()) {
        // Silence after the music ends, and the file as long as the pictures.
        args.insert(args.end(),
                    {"-map", "1:a:0", "-c:a", "aac", "-b:a", "192k", "-af", "apad", "-shortest"});
    }
    args.insert(args.end(), {"-movflags", "+faststart", videoPath});
    return args;
}
