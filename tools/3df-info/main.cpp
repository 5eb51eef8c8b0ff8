// 3df-info: prints what a 3DF scene file holds, or why the loader refuses it.
//
//   3df-info [--json] FILE
//
// The file is read by the show's own loader on a headless device, so what it reports is what
// the show would see. Texture files are looked up relative to the working directory.
#include "SceneReport.h"

#include "engine/core/Log.h"
#include "engine/resources/ProgramDevice.h"
#include "engine/resources/TextureCache.h"
#include "engine/scene/Scene.h"
#include "tools/common/HeadlessDevice.h"

#include <cstdio>
#include <cstring>

namespace {

int usage() {
    std::fprintf(stderr, "usage: 3df-info [--json] FILE\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    bool json = false;
    const char* file = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0) {
            json = true;
        } else if (argv[i][0] == '-' || file != nullptr) {
            return usage();
        } else {
            file = argv[i];
        }
    }
    if (file == nullptr) {
        return usage();
    }

    HeadlessDevice device;
    if (device.device() == nullptr) {
        std::fprintf(stderr, "3df-info: cannot create a headless device: %s\n", device.error());
        return 1;
    }
    setProgramDevice(device.device());
    TextureCache textures;
    Scene scene;
    if (!scene.load(file, device.device(), textures)) {
        std::fprintf(stderr, "3df-info: %s: %s\n", file, scene.loadError());
        return 1;
    }
    if (json) {
        printSceneJson(scene, textures, stdout);
    } else {
        printSceneText(scene, textures, stdout);
    }
    return 0;
}
