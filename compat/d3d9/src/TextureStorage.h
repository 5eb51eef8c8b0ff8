#pragma once

// The GL texture and the locked-memory copy behind a 2D or volume texture. Locking hands out the
// copy of one level; unlocking uploads it.

#include "Formats.h"

#include <cstdint>
#include <vector>

namespace tarnelix::d3d9 {

class TextureStorage {
public:
    // target: GL_TEXTURE_2D or GL_TEXTURE_3D. levels: 0 = full chain.
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

    // Locks a level (whole or a region); returns the pitches and the first texel.
    HRESULT lock(UINT level, UINT left, UINT top, UINT front, UINT right, UINT bottom, UINT back,
                 INT& rowPitch, INT& slicePitch, void*& bits, DWORD flags);
    HRESULT unlock(UINT level);
    void generateMips();
    // A level was written by GL (a copy or a fill), not through a lock.
    void levelWrittenByGl(UINT level);

    // Whether every texel of every level holds one and the same value, written through locks:
    // sampling such a texture gives that value whatever the coordinates, filters and mip level
    // (border addressing apart), so a draw may take it as a constant. The value is as a
    // sampler returns it: 0..1 per channel, the format's swizzle applied.
    bool constant() const { return constant_; }
    const float* constantTexel() const { return constantTexel_; }

private:
    void upload(UINT level);
    void findConstant();

    GLenum target_;
    UINT width_;
    UINT height_;
    UINT depth_;
    UINT levels_;
    DWORD usage_;
    D3DPOOL pool_;
    const FormatInfo* format_;
    GLuint texture_ = 0;
    std::vector<std::vector<uint8_t>> memory_; // one per level, allocated at first lock
    std::vector<bool> locked_;
    std::vector<int64_t> levelValue_; // a level's one texel value, or -1
    bool constant_ = false;
    float constantTexel_[4] = {};
};

} // namespace tarnelix::d3d9
