#pragma once

#include "ComObject.h"

namespace tarnelix::d3d9 {

class Direct3D9;

class Device {
public:
    static HRESULT create(Direct3D9* parent, HWND focusWindow, DWORD behaviorFlags,
                          D3DPRESENT_PARAMETERS& parameters, IDirect3DDevice9** out);
};

} // namespace tarnelix::d3d9
