#pragma once

// Reference counting and the parts of the resource interface that every object shares.

#include "GlCheck.h"

#include <d3d9.h>

#include <atomic>

namespace tarnelix::d3d9 {

class Device;

template <class Interface> class ComObject : public Interface {
public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;
    virtual ~ComObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        if (object) {
            *object = nullptr;
        }
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        TARNELIX_D3D9_CALL();
        ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

private:
    std::atomic<ULONG> references_{1};
};

// Points a slot at another object, holding a reference to the new one and dropping the old one's
// (taken first, so assigning an object to its own slot is safe).
template <class T> void assign(T*& slot, T* value) {
    if (value) {
        value->AddRef();
    }
    if (slot) {
        slot->Release();
    }
    slot = value;
}

// Gives a caller's out pointer the held object (or null) with a reference of its own.
template <class Out, class T> void handOut(T* held, Out** out) {
    if (held) {
        held->AddRef();
    }
    *out = held;
}

// A device child: keeps a plain pointer to its device, which the device clears when it goes
// first (objects may outlive the device at process end; they then only free their memory).
class DeviceChild {
public:
    explicit DeviceChild(Device* device);
    virtual ~DeviceChild();
    DeviceChild(const DeviceChild&) = delete;
    DeviceChild& operator=(const DeviceChild&) = delete;

    Device* device() const { return device_; }
    // Called by the device as it is destroyed: free GL objects now, forget the device.
    virtual void releaseGl() = 0;
    void detach() {
        releaseGl();
        device_ = nullptr;
    }

protected:
    HRESULT getDevice(IDirect3DDevice9** out) const;

private:
    Device* device_;
};

template <class Interface, D3DRESOURCETYPE Type>
class Resource : public ComObject<Interface>, public DeviceChild {
public:
    explicit Resource(Device* device) : DeviceChild(device) {}

    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** out) override { return getDevice(out); }
    HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID, const void*, DWORD, DWORD) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID, void*, DWORD*) override {
        return D3DERR_NOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE FreePrivateData(REFGUID) override { return D3DERR_NOTFOUND; }
    DWORD STDMETHODCALLTYPE SetPriority(DWORD priority) override {
        DWORD old = priority_;
        priority_ = priority;
        return old;
    }
    DWORD STDMETHODCALLTYPE GetPriority() override { return priority_; }
    void STDMETHODCALLTYPE PreLoad() override {}
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return Type; }

private:
    DWORD priority_ = 0;
};

} // namespace tarnelix::d3d9
