#include "app/ShowScriptCheck.h"

#include "engine/resources/ResourceFile.h"

#include <d3dx9.h>

namespace {

bool readableImage(const std::string& name, std::string& reason) {
    ResourceFile file;
    if (!file.open(name.c_str())) {
        reason = "the file is missing or cannot be read";
        return false;
    }
    D3DXIMAGE_INFO info{};
    if (FAILED(D3DXGetImageInfoFromFileInMemory(file.data(), file.size(), &info))) {
        reason = "not a JPEG or PNG image that can be read";
        return false;
    }
    return true;
}

// Scene::findCamera stands the first camera in for a missing one, as the show wants; a show
// file that names a camera means that one.
bool hasCamera(const Scene& scene, const std::string& name) {
    for (const Camera& camera : scene.cameras) {
        if (name == camera.name) {
            return true;
        }
    }
    return false;
}

} // namespace

bool checkShowContent(const ShowScript& script, const Scene& scene, std::string& error) {
    for (const ShowSegment& segment : script.segments) {
        std::string reason;
        if (segment.kind == ShowSegment::Kind::Camera && !hasCamera(scene, segment.content)) {
            error = script.at(segment.place) + "camera \"" + segment.content +
                    "\": expected a camera of " + script.scene;
            return false;
        }
        if (segment.kind == ShowSegment::Kind::Splash && !readableImage(segment.content, reason)) {
            error = script.at(segment.place) + segment.content + ": " + reason;
            return false;
        }
    }
    return true;
}
