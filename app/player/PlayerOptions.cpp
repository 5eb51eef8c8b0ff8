#include "app/player/PlayerOptions.h"

#include "app/OptionNumbers.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

const char* const kPlayerUsage =
    "usage: tarnelix-player [options]\n"
    "Plays the show in a window that can be paused, seeked and looped, and reloads the scene,\n"
    "its textures and the shaders when they change on disk.\n"
    "  --dir DIR                 the show's folder (default: the working directory)\n"
    "  --show FILE.toml          another show: its scene, music and segments; its folder is\n"
    "                            the show's (--scene and --music still override)\n"
    "  --scene FILE              the scene (default the show's, teste5.3df)\n"
    "  --music FILE              the music (default the show's, preview1.mp3); --silent for none\n"
    "  --width N --height N      window size (default 1024 x 768)\n"
    "  --fullscreen              full screen at that size\n"
    "  --from SECONDS            start there (default 0, or FROM of --loop)\n"
    "  --paused                  start paused\n"
    "  --loop FROM:TO            play that stretch over and over, from FROM; with --from the\n"
    "                            first pass starts at --from, every later one at FROM\n"
    "Keys: space pause, left/right -/+1 s, down/up -/+10 s, Home start, 1 to 9 the scene's\n"
    "cameras, 0 the script's camera, F the free camera (W A S D Q E to fly, right mouse button\n"
    "to turn, shift faster), I and O loop from and to here, L loop off, H overlay, Esc quit.\n";

namespace {

// FROM:TO with 0 <= FROM < TO.
bool parseRange(const char* text, double& from, double& to) {
    const char* colon = std::strchr(text, ':');
    if (!colon) {
        return false;
    }
    const std::string first(text, colon);
    return parseNumber(first.c_str(), from) && parseNumber(colon + 1, to) && from >= 0.0 &&
           to > from;
}

} // namespace

bool parsePlayerOptions(int argc, const char* const* argv, PlayerOptions& options,
                        std::string& error) {
    for (int i = 0; i < argc; ++i) {
        const char* name = argv[i];
        if (std::strcmp(name, "--fullscreen") == 0) {
            options.fullscreen = true;
            continue;
        }
        if (std::strcmp(name, "--paused") == 0) {
            options.paused = true;
            continue;
        }
        if (std::strcmp(name, "--silent") == 0) {
            options.silent = true;
            continue;
        }
        if (std::strcmp(name, "--help") == 0 || std::strcmp(name, "-h") == 0) {
            options.help = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = std::string("unknown option or missing value: ") + name;
            return false;
        }
        const char* value = argv[++i];
        bool ok = true;
        if (std::strcmp(name, "--dir") == 0) {
            options.dir = value;
            ok = *value != '\0';
        } else if (std::strcmp(name, "--scene") == 0) {
            options.scene = value;
            ok = *value != '\0';
        } else if (std::strcmp(name, "--music") == 0) {
            options.music = value;
            ok = *value != '\0';
        } else if (std::strcmp(name, "--show") == 0) {
            options.show = value;
            ok = *value != '\0';
        } else if (std::strcmp(name, "--width") == 0) {
            ok = parseInteger(value, 16, 8192, options.width);
        } else if (std::strcmp(name, "--height") == 0) {
            ok = parseInteger(value, 16, 8192, options.height);
        } else if (std::strcmp(name, "--from") == 0) {
            ok = parseNumber(value, options.from) && options.from >= 0.0;
        } else if (std::strcmp(name, "--loop") == 0) {
            ok = parseRange(value, options.loopFrom, options.loopTo);
        } else {
            error = std::string("unknown option: ") + name;
            return false;
        }
        if (!ok) {
            error = std::string("bad value for ") + name + ": " + value;
            return false;
        }
    }
    if (!options.show.empty() && !options.dir.empty()) {
        error = "--show names the show's folder: leave out --dir";
        return false;
    }
    return true;
}
