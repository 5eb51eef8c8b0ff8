#include "app/player/FreeCamera.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kPitchLimit = 1.55f;

} // namespace

void FreeCamera::lookFrom(const Vec4& eye, const Vec4& target) {
    m_eye = Vec4(eye.x, eye.y, eye.z, 1.0f);
    const Vec4 d = target - eye;
    const float flat = std::sqrt(d.x * d.x + d.z * d.z);
    if (flat == 0.0f && d.y == 0.0f) {
        return;
    }
    if (flat > 0.0f) {
        m_heading = std::atan2(d.x, d.z);
    }
    m_pitch = std::clamp(std::atan2(d.y, flat), -kPitchLimit, kPitchLimit);
}

void FreeCamera::turn(float headingRadians, float pitchRadians) {
    m_heading = std::remainder(m_heading + headingRadians, 2.0f * 3.14159265358979f);
    m_pitch = std::clamp(m_pitch + pitchRadians, -kPitchLimit, kPitchLimit);
}

Vec4 FreeCamera::direction() const {
    const float c = std::cos(m_pitch);
    return Vec4(c * std::sin(m_heading), std::sin(m_pitch), c * std::cos(m_heading), 1.0f);
}

void FreeCamera::move(float forward, float right, float up) {
    const Vec4 ahead = direction();
    // Right of the view with y up in a left-handed world: +x when looking along +z.
    const Vec4 across(std::cos(m_heading), 0.0f, -std::sin(m_heading), 1.0f);
    m_eye = Vec4(m_eye.x + ahead.x * forward + across.x * right, m_eye.y + ahead.y * forward + up,
                 m_eye.z + ahead.z * forward + across.z * right, 1.0f);
}
