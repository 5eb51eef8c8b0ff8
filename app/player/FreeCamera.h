#pragma once

#include "engine/core/Vec4.h"

// A camera flown by hand: a position, and a heading and pitch (radians) that turn with the
// mouse. Y is up, as in the scene. It takes over from wherever the show's camera was.
class FreeCamera {
public:
    // Looks from `eye` towards `target`; a target on the eye leaves the heading as it was.
    void lookFrom(const Vec4& eye, const Vec4& target);
    // Pitch stops short of straight up and down, where the heading would be lost.
    void turn(float headingRadians, float pitchRadians);
    // Moves along the view (forward), across it (right) and along the world's up.
    void move(float forward, float right, float up);

    const Vec4& eye() const { return m_eye; }
    // A unit vector along the view.
    Vec4 direction() const;
    Vec4 target() const { return m_eye + direction(); }
    float heading() const { return m_heading; }
    float pitch() const { return m_pitch; }

private:
    Vec4 m_eye = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
    float m_heading = 0.0f; // 0 looks along +z, a quarter turn along +x
    float m_pitch = 0.0f;
};
