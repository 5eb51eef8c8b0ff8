#include "StreamRing.h"

namespace tarnelix::d3d9 {

StreamRing::StreamRing(GLenum target, size_t capacity) : target_(target), capacity_(capacity) {
    glGenBuffers(1, &buffer_);
    glBindBuffer(target_, buffer_);
    glBufferData(target_, static_cast<GLsizeiptr>(capacity_), nullptr, GL_STREAM_DRAW);
}

StreamRing::~StreamRing() {
    releaseGl();
}

void StreamRing::releaseGl() {
    if (buffer_) {
        glDeleteBuffers(1, &buffer_);
        buffer_ = 0;
    }
}

size_t StreamRing::write(const void* data, size_t size, size_t alignment) {
    size_t start = alignment > 1 ? (offset_ + alignment - 1) / alignment * alignment : offset_;
    if (start + size > capacity_) {
        if (size > capacity_) {
            capacity_ = size * 2;
        }
        glBufferData(target_, static_cast<GLsizeiptr>(capacity_), nullptr, GL_STREAM_DRAW);
        start = 0;
    }
    glBufferSubData(target_, static_cast<GLintptr>(start), static_cast<GLsizeiptr>(size), data);
    offset_ = start + size;
    return start;
}

} // namespace tarnelix::d3d9
