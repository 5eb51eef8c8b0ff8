#pragma once

#include "Gl.h"

namespace tarnelix::d3d9 {

// The texture unit used for uploads and copies, apart from the units draws use, so that the
// device's record of bound textures stays true.
constexpr GLenum kScratchUnit = GL_TEXTURE0 + 31;

inline void bindScratch(GLenum target, GLuint texture) {
    glActiveTexture(kScratchUnit);
    glBindTexture(target, texture);
}

} // namespace tarnelix::d3d9
