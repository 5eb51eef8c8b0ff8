// Capture and Apply: each held state read back through the device's Get* call and set again
// through its Set* call, nothing else.

#include "StateBlock.h"

#include "Device.h"

namespace tarnelix::d3d9 {

namespace {

template <class T, size_t N, class Visit> void forEachHeld(HeldSlots<T, N>& slots, Visit visit) {
    for (size_t i = 0; i < N; ++i) {
        if (slots.held[i]) {
            visit(static_cast<DWORD>(i), slots.values[i]);
        }
    }
}

template <class T> T* adopted(HRESULT (IDirect3DDevice9::*get)(T**), IDirect3DDevice9* device) {
    T* object = nullptr;
    (device->*get)(&object);
    return object;
}

} // namespace

HRESULT StateBlock::GetDevice(IDirect3DDevice9** device) {
    TARNELIX_D3D9_CALL();
    return getDevice(device);
}

// Neither is allowed while the device records a block, as on Direct3D.
bool StateBlock::usable() const {
    return device() && !device()->recordingStateBlock();
}

HRESULT StateBlock::Capture() {
    TARNELIX_D3D9_CALL();
    if (!usable()) {
        return D3DERR_INVALIDCALL;
    }
    captureStates(device());
    captureObjects(device());
    captureConstants(device());
    captureFixedFunction(device());
    return D3D_OK;
}

HRESULT StateBlock::Apply() {
    TARNELIX_D3D9_CALL();
    if (!usable()) {
        return D3DERR_INVALIDCALL;
    }
    applyStates(device());
    applyObjects(device());
    applyConstants(device());
    applyFixedFunction(device());
    return D3D_OK;
}

void StateBlock::captureStates(IDirect3DDevice9* d) {
    forEachHeld(held_.render, [d](DWORD i, DWORD& value) {
        d->GetRenderState(static_cast<D3DRENDERSTATETYPE>(i), &value);
    });
    forEachHeld(held_.stage, [d](DWORD i, DWORD& value) {
        d->GetTextureStageState(i / kStageStateCount,
                                static_cast<D3DTEXTURESTAGESTATETYPE>(i % kStageStateCount),
                                &value);
    });
    forEachHeld(held_.sampler, [d](DWORD i, DWORD& value) {
        d->GetSamplerState(i / kSamplerStateCount,
                           static_cast<D3DSAMPLERSTATETYPE>(i % kSamplerStateCount), &value);
    });
}

void StateBlock::applyStates(IDirect3DDevice9* d) {
    forEachHeld(held_.render, [d](DWORD i, DWORD value) {
        d->SetRenderState(static_cast<D3DRENDERSTATETYPE>(i), value);
    });
    forEachHeld(held_.stage, [d](DWORD i, DWORD value) {
        d->SetTextureStageState(i / kStageStateCount,
                                static_cast<D3DTEXTURESTAGESTATETYPE>(i % kStageStateCount), value);
    });
    forEachHeld(held_.sampler, [d](DWORD i, DWORD value) {
        d->SetSamplerState(i / kSamplerStateCount,
                           static_cast<D3DSAMPLERSTATETYPE>(i % kSamplerStateCount), value);
    });
}

void StateBlock::captureObjects(IDirect3DDevice9* d) {
    forEachHeld(held_.textures, [d](DWORD i, Ref<IDirect3DBaseTexture9>& texture) {
        IDirect3DBaseTexture9* current = nullptr;
        d->GetTexture(i, &current);
        texture.adopt(current);
    });
    forEachHeld(held_.streams, [d](DWORD i, StreamSource& stream) {
        IDirect3DVertexBuffer9* buffer = nullptr;
        d->GetStreamSource(i, &buffer, &stream.offset, &stream.stride);
        stream.buffer.adopt(buffer);
    });
    forEachHeld(held_.frequencies,
                [d](DWORD i, UINT& value) { d->GetStreamSourceFreq(i, &value); });
    if (held_.indices.held) {
        held_.indices.value.adopt(adopted(&IDirect3DDevice9::GetIndices, d));
    }
    if (held_.vertexInput.held) {
        VertexInput& input = held_.vertexInput.value;
        input.declaration.adopt(adopted(&IDirect3DDevice9::GetVertexDeclaration, d));
        d->GetFVF(&input.fvf);
    }
    if (held_.vertexShader.held) {
        held_.vertexShader.value.adopt(adopted(&IDirect3DDevice9::GetVertexShader, d));
    }
    if (held_.pixelShader.held) {
        held_.pixelShader.value.adopt(adopted(&IDirect3DDevice9::GetPixelShader, d));
    }
}

void StateBlock::applyObjects(IDirect3DDevice9* d) {
    forEachHeld(held_.textures, [d](DWORD i, const Ref<IDirect3DBaseTexture9>& texture) {
        d->SetTexture(i, texture.get());
    });
    forEachHeld(held_.streams, [d](DWORD i, const StreamSource& stream) {
        d->SetStreamSource(i, stream.buffer.get(), stream.offset, stream.stride);
    });
    forEachHeld(held_.frequencies, [d](DWORD i, UINT value) { d->SetStreamSourceFreq(i, value); });
    if (held_.indices.held) {
        d->SetIndices(held_.indices.value.get());
    }
    if (held_.vertexInput.held) {
        const VertexInput& input = held_.vertexInput.value;
        if (input.fvf) {
            d->SetFVF(input.fvf);
        } else {
            d->SetVertexDeclaration(input.declaration.get());
        }
    }
    if (held_.vertexShader.held) {
        d->SetVertexShader(held_.vertexShader.value.get());
    }
    if (held_.pixelShader.held) {
        d->SetPixelShader(held_.pixelShader.value.get());
    }
}

void StateBlock::captureConstants(IDirect3DDevice9* d) {
    forEachHeld(held_.vsFloat,
                [d](DWORD i, Vector4& v) { d->GetVertexShaderConstantF(i, v.data(), 1); });
    forEachHeld(held_.vsInt,
                [d](DWORD i, IntVector4& v) { d->GetVertexShaderConstantI(i, v.data(), 1); });
    forEachHeld(held_.vsBool, [d](DWORD i, BOOL& v) { d->GetVertexShaderConstantB(i, &v, 1); });
    forEachHeld(held_.psFloat,
                [d](DWORD i, Vector4& v) { d->GetPixelShaderConstantF(i, v.data(), 1); });
    forEachHeld(held_.psInt,
                [d](DWORD i, IntVector4& v) { d->GetPixelShaderConstantI(i, v.data(), 1); });
    forEachHeld(held_.psBool, [d](DWORD i, BOOL& v) { d->GetPixelShaderConstantB(i, &v, 1); });
}

void StateBlock::applyConstants(IDirect3DDevice9* d) {
    forEachHeld(held_.vsFloat,
                [d](DWORD i, const Vector4& v) { d->SetVertexShaderConstantF(i, v.data(), 1); });
    forEachHeld(held_.vsInt,
                [d](DWORD i, const IntVector4& v) { d->SetVertexShaderConstantI(i, v.data(), 1); });
    forEachHeld(held_.vsBool, [d](DWORD i, BOOL v) { d->SetVertexShaderConstantB(i, &v, 1); });
    forEachHeld(held_.psFloat,
                [d](DWORD i, const Vector4& v) { d->SetPixelShaderConstantF(i, v.data(), 1); });
    forEachHeld(held_.psInt,
                [d](DWORD i, const IntVector4& v) { d->SetPixelShaderConstantI(i, v.data(), 1); });
    forEachHeld(held_.psBool, [d](DWORD i, BOOL v) { d->SetPixelShaderConstantB(i, &v, 1); });
}

void StateBlock::captureFixedFunction(IDirect3DDevice9* d) {
    forEachHeld(held_.transforms, [d](DWORD i, D3DMATRIX& m) {
        d->GetTransform(static_cast<D3DTRANSFORMSTATETYPE>(i), &m);
    });
    if (held_.viewport.held) {
        d->GetViewport(&held_.viewport.value);
    }
    if (held_.scissor.held) {
        d->GetScissorRect(&held_.scissor.value);
    }
    forEachHeld(held_.clipPlanes,
                [d](DWORD i, Vector4& plane) { d->GetClipPlane(i, plane.data()); });
    if (held_.material.held) {
        d->GetMaterial(&held_.material.value);
    }
    for (auto& [index, slot] : held_.lights) {
        if (slot.light.held) {
            d->GetLight(index, &slot.light.value);
        }
        if (slot.enabled.held) {
            d->GetLightEnable(index, &slot.enabled.value);
        }
    }
}

void StateBlock::applyFixedFunction(IDirect3DDevice9* d) {
    forEachHeld(held_.transforms, [d](DWORD i, const D3DMATRIX& m) {
        d->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(i), &m);
    });
    if (held_.viewport.held) {
        d->SetViewport(&held_.viewport.value);
    }
    if (held_.scissor.held) {
        d->SetScissorRect(&held_.scissor.value);
    }
    forEachHeld(held_.clipPlanes,
                [d](DWORD i, const Vector4& plane) { d->SetClipPlane(i, plane.data()); });
    if (held_.material.held) {
        d->SetMaterial(&held_.material.value);
    }
    for (const auto& [index, slot] : held_.lights) {
        if (slot.light.held) {
            d->SetLight(index, &slot.light.value);
        }
        if (slot.enabled.held) {
            d->LightEnable(index, slot.enabled.value);
        }
    }
}

} // namespace tarnelix::d3d9
