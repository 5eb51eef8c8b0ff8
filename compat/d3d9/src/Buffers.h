#pragma once

// Vertex and index buffers: a memory copy that Lock hands out, uploaded to a GL buffer on Unlock.

#include "ComObject.h"
#include "Gl.h"

#include <vector>

namespace tarnelix::d3d9 {

class BufferStorage {
public:
    explicit BufferStorage(UINT size);
    ~BufferStorage();
    BufferStorage(const BufferStorage&) = delete;
    BufferStorage& operator=(const BufferStorage&) = delete;

    HRESULT lock(UINT offset, UINT size, void** data);
    HRESULT unlock();
    void releaseGl();
    GLuint buffer() const { return buffer_; }
    UINT size() const { return static_cast<UINT>(memory_.size()); }
    const uint8_t* memory() const { return memory_.data(); }

private:
    std::vector<uint8_t> memory_;
    GLuint buffer_ = 0;
    int locks_ = 0;
    UINT dirtyBegin_ = 0;
    UINT dirtyEnd_ = 0;
};

class VertexBuffer : public Resource<IDirect3DVertexBuffer9, D3DRTYPE_VERTEXBUFFER> {
public:
    VertexBuffer(Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool);

    HRESULT STDMETHODCALLTYPE Lock(UINT offset, UINT size, void** data, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Unlock() override;
    HRESULT STDMETHODCALLTYPE GetDesc(D3DVERTEXBUFFER_DESC* desc) override;
    void releaseGl() override { storage_.releaseGl(); }
    GLuint glBuffer() const { return storage_.buffer(); }
    UINT size() const { return storage_.size(); }

private:
    BufferStorage storage_;
    D3DVERTEXBUFFER_DESC desc_{};
};

class IndexBuffer : public Resource<IDirect3DIndexBuffer9, D3DRTYPE_INDEXBUFFER> {
public:
    IndexBuffer(Device* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool);

    HRESULT STDMETHODCALLTYPE Lock(UINT offset, UINT size, void** data, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Unlock() override;
    HRESULT STDMETHODCALLTYPE GetDesc(D3DINDEXBUFFER_DESC* desc) override;
    void releaseGl() override { storage_.releaseGl(); }
    GLuint glBuffer() const { return storage_.buffer(); }
    UINT size() const { return storage_.size(); }
    UINT indexSize() const { return desc_.Format == D3DFMT_INDEX32 ? 4 : 2; }
    GLenum glIndexType() const {
        return desc_.Format == D3DFMT_INDEX32 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT;
    }

private:
    BufferStorage storage_;
    D3DINDEXBUFFER_DESC desc_{};
};

} // namespace tarnelix::d3d9
