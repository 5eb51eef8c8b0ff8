#include "Device.h"

namespace tarnelix::d3d9 {

HRESULT Device::create(Direct3D9*, HWND, DWORD, D3DPRESENT_PARAMETERS&, IDirect3DDevice9** out) {
    *out = nullptr;
    return D3DERR_NOTAVAILABLE;
}

} // namespace tarnelix::d3d9
