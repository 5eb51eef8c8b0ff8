#pragma once

#include "app/player/FreeCamera.h"

#include <string>

// Which camera the player looks through: the one the show's script names, one of the scene's
// cameras by name, or the free camera.
struct CameraChoice {
    enum class Mode { Script, Named, Free };
    Mode mode = Mode::Script;
    std::string name;
    FreeCamera free;
};
