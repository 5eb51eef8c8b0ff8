#include "engine/render/RenderCamera.h"

#include <d3dx9.h>

#include <cstring>

namespace {

constexpr float kNearPlane = 2.0f;
constexpr float kFarPlane = 5000.0f;

D3DXVECTOR3 vector3(const Vec4& v) {
    return D3DXVECTOR3(v.x, v.y, v.z);
}

void copyMatrix(Matrix4& to, const D3DXMATRIX& from) {
    static_assert(sizeof(D3DXMATRIX) == sizeof(to.m), "both are 16 row-major floats");
    std::memcpy(to.m, &from, sizeof to.m);
}

} // namespace

void RenderCamera::update(IDirect3DDevice9* device) {
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, m_fov, m_aspect, kNearPlane, kFarPlane);
    const D3DXVECTOR3 eye = vector3(m_eye);
    const D3DXVECTOR3 target = vector3(m_target);
    const D3DXVECTOR3 up = vector3(m_up);
    D3DXMATRIX view;
    D3DXMatrixLookAtLH(&view, &eye, &target, &up);

    copyMatrix(m_projection, projection);
    copyMatrix(m_view, view);
    m_viewProjection = m_view * m_projection;
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->SetTransform(D3DTS_VIEW, &view);
}
