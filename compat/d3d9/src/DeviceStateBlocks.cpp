// Making state blocks: of a type, captured at once, or recorded from the Set* calls between
// BeginStateBlock and EndStateBlock.

#include "Device.h"

#include "StateBlock.h"

namespace tarnelix::d3d9 {

HRESULT Device::CreateStateBlock(D3DSTATEBLOCKTYPE type, IDirect3DStateBlock9** block) {
    TARNELIX_D3D9_CALL();
    if (!block) {
        return D3DERR_INVALIDCALL;
    }
    *block = nullptr;
    if (recording_) {
        return D3DERR_INVALIDCALL;
    }
    auto* created = new StateBlock(this);
    if (!created->holdType(type)) {
        created->Release();
        return D3DERR_INVALIDCALL;
    }
    created->Capture();
    *block = created;
    return D3D_OK;
}

HRESULT Device::BeginStateBlock() {
    TARNELIX_D3D9_CALL();
    if (recording_) {
        return D3DERR_INVALIDCALL; // blocks do not nest
    }
    recording_ = new StateBlock(this);
    return D3D_OK;
}

HRESULT Device::EndStateBlock(IDirect3DStateBlock9** block) {
    TARNELIX_D3D9_CALL();
    if (!block || !recording_) {
        return D3DERR_INVALIDCALL;
    }
    *block = recording_;
    recording_ = nullptr;
    return D3D_OK;
}

} // namespace tarnelix::d3d9
