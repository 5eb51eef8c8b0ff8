#pragma once

// The GL texture and the locked-memory copy behind a 2D, cube or volume texture. Locking hands
// out the copy of one level (of one face); unlocking uploads it.

#include "Formats.h"

#include <cstdint>
#include <vector>

namespace tarnelix::d3d9 {

class TextureStorage {
public:
    // target: GL_TEXTURE_2D, GL_TEXTURE_CUBE_MAP (six square faces) or GL_TEXTURE_3D.
    // levels: 0 = full chain.
    TextureStorage(GLenum target, UINT width, UINT height, UINT depth, UINT levels, DWORD usage,
                   D3DFORMAT format, D3DPOOL pool);
    ~TextureStorage();
    TextureStorage(const TextureStorage&) = delete;
    TextureStorage& operator=(const TextureStorage&) = delete;

    bool valid() const { return texture_ != 0; }
    void releaseGl();

    GLenum target() const { return target_; }
    GLuint texture() const { return texture_; }
    UINT levels() const { return levels_; }
    UINT width(UINT level) const { return mipSize(width_, level); }
    UINT height(UINT level) const { return mipSize(height_, level); }
    UINT depth(UINT level) const { return target_ == GL_TEXTURE_3D ? mipSize(depth_, level) : 1; }
    const FormatInfo& format() const { return *format_; }
    DWORD usage() const { return usage_; }
    D3DPOOL pool() const { return pool_; }
    bool renderTarget() const { return (usage_ & D3DUSAGE_RENDERTARGET) != 0; }
    UINT faces() const { return faces_; }
    // The GL target of one face's images (the texture's own target but for cube maps).
    GLenum imageTarget(UINT face) const {
        return faces_ == 6 ? GL_TEXTURE_CUBE_MAP_POSITIVE_X + face : target_;
    }

    // Locks a level of a face (whole or a region); returns the pitches and the first texel.
    // Direct3D locks only what lives in memory the program may write: never a render target,
    // nor a default-pool texture unless it was made dynamic.
    HRESULT lock(UINT face, UINT level, UINT left, UINT top, UINT front, UINT right, UINT bottom,
                 UINT back, INT& rowPitch, INT& slicePitch, void*& bits, DWORD flags);
    HRESULT unlock(UINT face, UINT level);
    void generateMips();
    // A level was written by GL (a copy or a fill), not through a lock.
    void levelWrittenByGl(UINT face, UINT level);

    // The memory copy of a level, as locks left it (zeros before any): what a system-memory
    // texture holds, to be copied from.
    const uint8_t* levelBits(UINT face, UINT level);
    // Writes a region of a 2D level (a face's) from rows `pitch` bytes apart, into GL and into
    // the memory copy where there is one; the caller has checked the bounds.
    void writeRect(UINT face, UINT level, UINT left, UINT top, UINT width, UINT height,
                   const uint8_t* bits, UINT pitch);
    // Replaces a whole level with the same level of another texture's memory (UpdateTexture).
    void copyLevel(UINT face, UINT level, TextureStorage& source, UINT sourceLevel);

    // Whether every texel of every level holds one and the same value, written through locks:
    // sampling such a texture gives that value whatever the coordinates, filters and mip level
    // (border addressing apart), so a draw may take it as a constant. The value is as a
    // sampler returns it: 0..1 per channel, the format's swizzle applied.
    bool constant() const { return constant_; }
    const float* constantTexel() const { return constantTexel_; }

private:
    UINT subresource(UINT face, UINT level) const { return face * levels_ + level; }
    void upload(UINT face, UINT level, const uint8_t* data);
    void contentsChanged(UINT face, UINT level);
    void findConstant();

    GLenum target_;
    UINT width_;
    UINT height_;
    UINT depth_;
    UINT levels_;
    UINT faces_;
    DWORD usage_;
    D3DPOOL pool_;
    const FormatInfo* format_;
    GLuint texture_ = 0;
    // One per level of each face (face * levels + level), allocated at first lock.
    std::vector<std::vector<uint8_t>> memory_;
    std::vector<bool> locked_;
    std::vector<int64_t> levelValue_; // a level's one texel value, or -1
    bool constant_ = false;
    float constantTexel_[4] = {};
};

} // namespace tarnelix::d3d9
