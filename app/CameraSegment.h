#pragma once

#include "engine/core/Matrix4.h"
#include "engine/core/Vec4.h"

#include <string>

// A timed view of the loaded scene through one named camera, fading in from and out to a
// colour. Its first frame is always plain black and jumps the animation forward by `startTime`.
template <class Show> struct CameraSegmentOf {
    using Engine = typename Show::Engine;
    using Scene = typename Show::Scene;

    float elapsed = 0.0f;
    bool firstFrame = true;
    Scene* scene = nullptr;
    std::string cameraName;
    float startTime = 0.0f;
    float duration = 0.0f;
    float fadeInTime = 0.0f;
    float fadeOutTime = 0.0f;
    Vec4 fadeInColour;
    Vec4 fadeOutColour;

    // Advances by dt and draws one frame; false, with nothing drawn, once the time has run out.
    // With `draw` false the scene still advances exactly as for a drawn frame: the tracks move
    // their cursors in float steps that wrap, so only the same steps in the same order reach the
    // same pose. The engine turns the frame over without drawing it.
    bool step(Engine& engine, float dt, bool draw = true) {
        const Matrix4 parent = Matrix4::identity();
        elapsed += dt;
        if (elapsed > duration) {
            return false;
        }
        if (firstFrame) {
            firstFrame = false;
            update(engine, parent, startTime);
            finishFrame(engine, draw, Vec4(0.0f, 0.0f, 0.0f, 1.0f), 1.0f);
            return true;
        }
        update(engine, parent, dt);
        float amount = 0.0f;
        Vec4 colour(0.0f, 0.0f, 0.0f, 1.0f);
        if (elapsed < fadeInTime) {
            amount = 1.0f - elapsed / fadeInTime;
            colour = fadeInColour;
        } else if (duration - fadeOutTime < elapsed) {
            amount = (elapsed - (duration - fadeOutTime)) / fadeOutTime;
            colour = fadeOutColour;
        }
        finishFrame(engine, draw, colour, amount);
        return true;
    }

private:
    static void finishFrame(Engine& engine, bool draw, const Vec4& fadeColour, float fadeAmount) {
        if (draw) {
            engine.renderFrame(fadeColour, fadeAmount);
        } else {
            engine.endFrame();
        }
    }

    void update(Engine& engine, const Matrix4& parent, float timeStep) {
        scene->updateCamera(engine, parent, cameraName.c_str(), timeStep, aspectOf(engine));
        scene->updateLights(engine, parent, timeStep);
        scene->updateObjects(engine, parent, timeStep);
    }

    // The projection follows the back buffer's shape.
    static float aspectOf(const Engine& engine) {
        int width = engine.screenWidth();
        int height = engine.screenHeight();
        return height > 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
    }
};
