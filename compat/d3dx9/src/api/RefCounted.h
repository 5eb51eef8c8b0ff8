#pragma once

#include <d3d9.h>

namespace tarnelix::d3dx {

// The reference counting every interface of the library shares: created with one reference,
// deleted when the last one is released. Other interfaces are not offered.
template <class Interface> class RefCounted : public Interface {
public:
    RefCounted() = default;
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppvObj) override {
        if (ppvObj != nullptr) {
            *ppvObj = nullptr;
        }
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_references;
        if (left == 0) {
            delete this;
        }
        return left;
    }

protected:
    virtual ~RefCounted() = default;

private:
    ULONG m_references = 1;
};

} // namespace tarnelix::d3dx
