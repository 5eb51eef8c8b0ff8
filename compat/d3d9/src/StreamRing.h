#pragma once

// A GL buffer that client-memory draws stream their vertices or indices through. Writes go to
// ever later offsets; when the end is reached the storage is orphaned and writing starts over,
// so the driver never waits for a draw still using older data.

#include "Gl.h"

#include <cstddef>

namespace tarnelix::d3d9 {

class StreamRing {
public:
    StreamRing(GLenum target, size_t capacity);
    ~StreamRing();
    StreamRing(const StreamRing&) = delete;
    StreamRing& operator=(const StreamRing&) = delete;

    // Copies `size` bytes at an offset that is a multiple of `alignment`; returns the offset.
    // The buffer must be bound to the ring's target by the caller (for element buffers the
    // vertex array's binding).
    size_t write(const void* data, size_t size, size_t alignment);
    GLuint buffer() const { return buffer_; }
    void releaseGl();

private:
    GLenum target_;
    size_t capacity_;
    size_t offset_ = 0;
    GLuint buffer_ = 0;
};

} // namespace tarnelix::d3d9
