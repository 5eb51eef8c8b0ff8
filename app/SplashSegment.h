#pragma once

#include "engine/core/Vec4.h"

// A timed full-screen image that fades in from one colour and out to another. `Show` names the
// engine and sprite types (see ShowTypes.h); tests give stand-ins.
template <class Show> struct SplashSegmentOf {
    using Engine = typename Show::Engine;
    using Sprite = typename Show::Sprite;

    float elapsed = 0.0f;
    Sprite sprite;
    float fadeInTime = 0.0f;
    float fadeOutTime = 0.0f;
    float duration = 1.0f;
    Vec4 fadeInColour;
    Vec4 fadeOutColour;

    // Advances by dt and draws one frame (unless `draw` is false); false, with nothing drawn,
    // once the time has run out. Nothing but the clock carries over from frame to frame.
    bool step(Engine& engine, float dt, bool draw = true) {
        elapsed += dt;
        if (elapsed > duration) {
            return false;
        }
        if (!draw) {
            engine.endFrame();
            return true;
        }
        float visibility = 1.0f;
        Vec4 colour(0.0f, 0.0f, 0.0f, 1.0f);
        if (elapsed < fadeInTime) {
            visibility = elapsed / fadeInTime;
            colour = fadeInColour;
        } else if (duration - fadeOutTime < elapsed) {
            visibility = 1.0f - (elapsed - (duration - fadeOutTime)) / fadeOutTime;
            colour = fadeOutColour;
        }
        sprite.colour = Vec4(1.0f, 1.0f, 1.0f, 1.0f);
        engine.addSprite(&sprite);
        engine.renderFrame(colour, 1.0f - visibility);
        return true;
    }
};
