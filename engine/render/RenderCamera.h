#pragma once

#include "engine/core/Matrix4.h"

struct IDirect3DDevice9;

// The view the engine draws from. The scene points it every frame of a camera segment; the
// frame builds the matrices from what was set last.
class RenderCamera {
public:
    void setProjection(float fov, float aspect) {
        m_fov = fov;
        m_aspect = aspect;
    }
    void setView(const Vec4& eye, const Vec4& target, const Vec4& up) {
        m_eye = eye;
        m_target = target;
        m_up = up;
    }

    // Builds projection (near 2, far 5000), view and their product, and gives the first two to
    // the device.
    void update(IDirect3DDevice9* device);

    float fov() const { return m_fov; }
    float aspect() const { return m_aspect; }
    const Vec4& eye() const { return m_eye; }
    const Vec4& target() const { return m_target; }
    const Vec4& up() const { return m_up; }
    const Matrix4& view() const { return m_view; }
    const Matrix4& projection() const { return m_projection; }
    const Matrix4& viewProjection() const { return m_viewProjection; }

private:
    float m_fov = 1.57079632679f;
    float m_aspect = 1.0f;
    Vec4 m_eye;
    Vec4 m_target = Vec4(0.0f, 0.0f, 1.0f, 0.0f);
    Vec4 m_up = Vec4(0.0f, 1.0f, 0.0f, 1.0f);
    Matrix4 m_view;
    Matrix4 m_projection;
    Matrix4 m_viewProjection;
};
