#include "engine/render/RenderCamera.h"

#include <d3dx9.h>

namespace {

constexpr float kNearPlane = 2.0f;
constexpr float kFarPlane = 5000.0f;

D3DXVECTOR3 vector3(const Vec4& v) { return D3DXVECTOR3(v.x, v.y, v.z); }

} // namespace

void RenderCamera::update(IDirect3DDevice9* device) {
    static_assert(sizeof(D3DXMATRIX) == sizeof(Matrix4), "both are 16 row-major floats");
    D3DXMatrixPerspectiveFovLH(reinterpret_cast<D3DXMATRIX*>(&m_projection), m_fov, m_aspect,
                               kNearPlane, kFarPlane);
    const D3DXVECTOR3 eye = vector3(m_eye);
    const D3DXVECTOR3 target = vector3(m_target);
    const D3DXVECTOR3 up = vector3(m_up);
    D3DXMatrixLookAtLH(reinterpret_cast<D3DXMATRIX*>(&m_view), &eye, &target, &up);
    m_viewProjection = m_view * m_projection;
    device->SetTransform(D3DTS_PROJECTION, reinterpret_cast<const D3DMATRIX*>(&m_projection));
    device->SetTransform(D3DTS_VIEW, reinterpret_cast<const D3DMATRIX*>(&m_view));
}
