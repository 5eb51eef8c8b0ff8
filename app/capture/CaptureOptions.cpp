#include "app/capture/CaptureOptions.h"

#include "app/OptionNumbers.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

const char* const kCaptureUsage =
    "usage: tarnelix-capture [options] (--at SECONDS --out FILE.png | --frames DIR |\n"
    "                                   --video FILE.mp4 | --benchmark)\n"
    "Plays the show headless at a fixed frame rate, from the show's data in the working\n"
    "directory, and writes what it draws.\n"
    "  --at SECONDS --out FILE.png  one frame, the one shown at that moment\n"
    "  --frames DIR                 every frame as DIR/frame-000000.png, ...\n"
    "  --video FILE.mp4             H.264 video with the music, through ffmpeg\n"
    "  --benchmark                  render without writing; print frame times per segment\n"
    "  --width N --height N         picture size (default 1024 x 768)\n"
    "  --fps N                      frames per second, 10 or more (default 60)\n"
    "  --from SECONDS --to SECONDS  the part of the show to write (default: all of it)\n"
    "  --no-seek                    draw every frame before --at or --from too, not only\n"
    "                               step the show's state through them (slow; the same picture)\n"
    "  --dir DIR                    the show's folder: shaders, textures, scene and music\n"
    "                               (default: the working directory)\n"
    "  --scene FILE --music FILE    another scene or music (default teste5.3df, preview1.mp3)\n"
    "  --show FILE.toml             another show: its scene, music and segments; its folder\n"
    "                               is the show's (--scene and --music still override)\n";

namespace {

bool setMode(CaptureOptions& options, CaptureOptions::Mode mode, std::string& error) {
    if (options.mode != CaptureOptions::Mode::None && options.mode != mode) {
        error = "choose one of --at, --frames, --video and --benchmark";
        return false;
    }
    options.mode = mode;
    return true;
}

bool checkTimes(const CaptureOptions& options, std::string& error) {
    if (options.from < 0.0 || (options.to >= 0.0 && options.to < options.from)) {
        error = "--from and --to need 0 <= from <= to";
        return false;
    }
    if (options.mode == CaptureOptions::Mode::Still && options.out.empty()) {
        error = "--at needs --out FILE.png";
        return false;
    }
    if (options.mode != CaptureOptions::Mode::Still && !options.out.empty()) {
        error = "--out goes with --at";
        return false;
    }
    if (!options.show.empty() && !options.dir.empty()) {
        error = "--show names the show's folder: leave out --dir";
        return false;
    }
    if (options.mode == CaptureOptions::Mode::None) {
        error = "nothing to do: give --at, --frames, --video or --benchmark";
        return false;
    }
    return true;
}

} // namespace

bool parseCaptureOptions(int argc, const char* const* argv, CaptureOptions& options,
                         std::string& error) {
    using Mode = CaptureOptions::Mode;
    for (int i = 0; i < argc; ++i) {
        const char* name = argv[i];
        if (std::strcmp(name, "--benchmark") == 0) {
            if (!setMode(options, Mode::Benchmark, error)) {
                return false;
            }
            continue;
        }
        if (std::strcmp(name, "--no-seek") == 0) {
            options.seek = false;
            continue;
        }
        if (i + 1 >= argc) {
            error = std::string("unknown option or missing value: ") + name;
            return false;
        }
        const char* value = argv[++i];
        bool ok = true;
        if (std::strcmp(name, "--at") == 0) {
            ok = parseNumber(value, options.at) && options.at >= 0.0 &&
                 setMode(options, Mode::Still, error);
        } else if (std::strcmp(name, "--out") == 0) {
            options.out = value;
        } else if (std::strcmp(name, "--frames") == 0) {
            options.framesDir = value;
            ok = setMode(options, Mode::Frames, error);
        } else if (std::strcmp(name, "--video") == 0) {
            options.videoPath = value;
            ok = setMode(options, Mode::Video, error);
        } else if (std::strcmp(name, "--width") == 0) {
            ok = parseInteger(value, 16, 8192, options.width);
        } else if (std::strcmp(name, "--height") == 0) {
            ok = parseInteger(value, 16, 8192, options.height);
        } else if (std::strcmp(name, "--fps") == 0) {
            // Below 10 frames per second a frame would exceed the timeline's 0.1 s clamp and the
            // show would run slow.
            ok = parseInteger(value, 10, 1000, options.fps);
        } else if (std::strcmp(name, "--from") == 0) {
            ok = parseNumber(value, options.from);
        } else if (std::strcmp(name, "--dir") == 0) {
            options.dir = value;
        } else if (std::strcmp(name, "--scene") == 0) {
            options.scene = value;
        } else if (std::strcmp(name, "--music") == 0) {
            options.music = value;
        } else if (std::strcmp(name, "--show") == 0) {
            options.show = value;
            ok = *value != '\0';
        } else if (std::strcmp(name, "--to") == 0) {
            ok = parseNumber(value, options.to) && options.to >= 0.0;
        } else {
            error = std::string("unknown option: ") + name;
            return false;
        }
        if (!ok) {
            if (error.empty()) {
                error = std::string("bad value for ") + name + ": " + value;
            }
            return false;
        }
    }
    return checkTimes(options, error);
}
