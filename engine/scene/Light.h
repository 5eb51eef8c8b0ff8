#pragma once

#include "engine/core/Vec4.h"
#include "engine/scene/Track.h"

// A point light. position, color and radius are this frame's values, written by the scene's
// update and read by the renderer; the static values come from the file.
struct Light {
    Vec4 position;
    Vec4 color;
    float radius = 0.0f;

    Vec4 staticPosition;
    Vec4 staticColor;
    float staticRadius = 0.0f;

    bool animated = false;
    VectorTrack positionTrack;
    VectorTrack colorTrack;
    FloatTrack radiusTrack;
};
