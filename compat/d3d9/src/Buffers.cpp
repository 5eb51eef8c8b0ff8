#include "Buffers.h"

#include <algorithm>

namespace tarnelix::d3d9 {

BufferStorage::BufferStorage(UINT size) : memory_(size, 0) {
    glGenBuffers(1, &buffer_);
    // The copy-write binding point touches no state the draws rely on.
    glBindBuffer(GL_COPY_WRITE_BUFFER, buffer_);
    glBufferData(GL_COPY_WRITE_BUFFER, static_cast<GLsizeiptr>(size), memory_.data(),
                 GL_DYNAMIC_DRAW);
}

BufferStorage::~BufferStorage() {
    releaseGl();
}

void BufferStorage::releaseGl() {
    if (buffer_) {
        glDeleteBuffers(1, &buffer_);
        buffer_ = 0;
    }
}

HRESULT BufferStorage::lock(UINT offset, UINT size, void** data) {
    if (!data || offset > memory_.size()) {
        return D3DERR_INVALIDCALL;
    }
    UINT end = size == 0 ? static_cast<UINT>(memory_.size()) : offset + size;
    if (end > memory_.size() || end < offset) {
        return D3DERR_INVALIDCALL;
    }
    if (locks_ == 0) {
        dirtyBegin_ = offset;
        dirtyEnd_ = end;
    } else {
        dirtyBegin_ = std::min(dirtyBegin_, offset);
        dirtyEnd_ = std::max(dirtyEnd_, end);
    }
    ++locks_;
    *data = memory_.data() + offset;
    return D3D_OK;
}

HRESULT BufferStorage::unlock() {
    if (locks_ == 0) {
        return D3DERR_INVALIDCALL;
    }
    if (--locks_ == 0 && buffer_ && dirtyEnd_ > dirtyBegin_) {
        glBindBuffer(GL_COPY_WRITE_BUFFER, buffer_);
        glBufferSubData(GL_COPY_WRITE_BUFFER, dirtyBegin_, dirtyEnd_ - dirtyBegin_,
                        memory_.data() + dirtyBegin_);
    }
    return D3D_OK;
}

VertexBuffer::VertexBuffer(Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool)
    : Resource(device), storage_(length) {
    desc_ =
        D3DVERTEXBUFFER_DESC{D3DFMT_VERTEXDATA, D3DRTYPE_VERTEXBUFFER, usage, pool, length, fvf};
}

HRESULT VertexBuffer::Lock(UINT offset, UINT size, void** data, DWORD) {
    TARNELIX_D3D9_CALL();
    return storage_.lock(offset, size, data);
}

HRESULT VertexBuffer::Unlock() {
    TARNELIX_D3D9_CALL();
    return storage_.unlock();
}

HRESULT VertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* desc) {
    TARNELIX_D3D9_CALL();
    if (!desc) {
        return D3DERR_INVALIDCALL;
    }
    *desc = desc_;
    return D3D_OK;
}

IndexBuffer::IndexBuffer(Device* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool)
    : Resource(device), storage_(length) {
    desc_ = D3DINDEXBUFFER_DESC{format, D3DRTYPE_INDEXBUFFER, usage, pool, length};
}

HRESULT IndexBuffer::Lock(UINT offset, UINT size, void** data, DWORD) {
    TARNELIX_D3D9_CALL();
    return storage_.lock(offset, size, data);
}

HRESULT IndexBuffer::Unlock() {
    TARNELIX_D3D9_CALL();
    return storage_.unlock();
}

HRESULT IndexBuffer::GetDesc(D3DINDEXBUFFER_DESC* desc) {
    TARNELIX_D3D9_CALL();
    if (!desc) {
        return D3DERR_INVALIDCALL;
    }
    *desc = desc_;
    return D3D_OK;
}

} // namespace tarnelix::d3d9
