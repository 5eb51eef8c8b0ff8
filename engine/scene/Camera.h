#pragma once

#include "engine/core/Vec4.h"
#include "engine/scene/Track.h"

// A named scene camera; the timeline picks one by name for each camera segment.
struct Camera {
    static constexpr int kNameSize = 256;

    Vec4 eye;
    Vec4 target;
    float fov = 0.0f;
    char name[kNameSize] = {};

    bool animated = false;
    VectorTrack eyeTrack;
    VectorTrack targetTrack;
    FloatTrack fovTrack;
};
