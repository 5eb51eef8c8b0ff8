#pragma once

#include "app/ShowScript.h"
#include "engine/scene/Scene.h"

#include <string>

// What a show file names must be there before a frame is drawn: each camera segment's camera in
// the loaded scene, each splash's image readable as a picture. False, with one line naming the
// place in the file, for the first that is not. (The built-in show plays on without what is
// missing instead, as the show program does.)
bool checkShowContent(const ShowScript& script, const Scene& scene, std::string& error);
