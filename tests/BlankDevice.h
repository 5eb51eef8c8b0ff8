#pragma once

// Every method of the Direct3D 9 interfaces the extension library touches, answering "not
// implemented". Test doubles derive from these and override what they need, so that a test
// notices when the library starts relying on something new.

#include "SilentDirect3D.h"

template <class Interface> class BlankUnknown : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references;
        if (left == 0) {
            delete this;
        }
        return left;
    }
    ULONG references = 1;

protected:
    virtual ~BlankUnknown() = default;
};

class BlankDevice : public BlankUnknown<AnsweringDevice<E_NOTIMPL>> {};
class BlankTexture : public BlankUnknown<AnsweringTexture<E_NOTIMPL>> {};
class BlankVertexBuffer : public BlankUnknown<AnsweringVertexBuffer<E_NOTIMPL>> {};
class BlankIndexBuffer : public BlankUnknown<AnsweringIndexBuffer<E_NOTIMPL>> {};
class BlankVertexDeclaration : public BlankUnknown<AnsweringVertexDeclaration<E_NOTIMPL>> {};
class BlankVertexShader : public BlankUnknown<AnsweringVertexShader<E_NOTIMPL>> {};
class BlankPixelShader : public BlankUnknown<AnsweringPixelShader<E_NOTIMPL>> {};
