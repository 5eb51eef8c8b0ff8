#include "api/Buffer.h"

#include "api/RefCounted.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace tarnelix::d3dx {
namespace {

class Buffer : public RefCounted<ID3DXBuffer> {
public:
    Buffer(const void* data, size_t size) : m_bytes(size) {
        if (data != nullptr && size > 0) {
            std::memcpy(m_bytes.data(), data, size);
        }
    }
    LPVOID STDMETHODCALLTYPE GetBufferPointer() override { return m_bytes.data(); }
    DWORD STDMETHODCALLTYPE GetBufferSize() override { return static_cast<DWORD>(m_bytes.size()); }

private:
    std::vector<uint8_t> m_bytes;
};

} // namespace

ID3DXBuffer* makeBuffer(const void* data, size_t size) {
    return new Buffer(data, size);
}

ID3DXBuffer* makeTextBuffer(const std::string& text) {
    return new Buffer(text.c_str(), text.size() + 1);
}

} // namespace tarnelix::d3dx

HRESULT WINAPI D3DXCreateBuffer(DWORD NumBytes, LPD3DXBUFFER* ppBuffer) {
    if (ppBuffer == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *ppBuffer = tarnelix::d3dx::makeBuffer(nullptr, NumBytes);
    return D3D_OK;
}
