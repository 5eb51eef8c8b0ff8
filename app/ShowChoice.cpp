#include "app/ShowFile.h"

#include <cstdio>

bool chooseShowScript(const std::string& showFile, const std::string& scene,
                      const std::string& music, ShowScript& script, std::string& error) {
    script = builtInShow();
    if (!showFile.empty()) {
        script.file = showFile;
        std::vector<std::string> warnings;
        if (!readShowFile(showFile, script, error, warnings)) {
            return false;
        }
        for (const std::string& warning : warnings) {
            std::fprintf(stderr, "%s\n", warning.c_str());
        }
    }
    if (!scene.empty()) {
        script.scene = scene;
    }
    if (!music.empty()) {
        script.music = music;
    }
    return true;
}
