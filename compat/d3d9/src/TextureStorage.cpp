#include "TextureStorage.h"

#include "GlScratch.h"

#include <algorithm>
#include <cstring>

namespace tarnelix::d3d9 {

namespace {

// Only four-byte texels of 8-bit channels are looked at; other formats never count as one value.
bool eightBitRgba(const FormatInfo& format) {
    return format.bytesPerPixel == 4 && format.pixelType == GL_UNSIGNED_INT_8_8_8_8_REV &&
           (format.pixelFormat == GL_BGRA || format.pixelFormat == GL_RGBA);
}

// The value every four-byte texel of a level's memory holds, or -1.
int64_t oneValue(const std::vector<uint8_t>& data) {
    if (data.size() < 4) {
        return -1;
    }
    uint32_t first = 0;
    std::memcpy(&first, data.data(), 4);
    for (size_t i = 4; i + 4 <= data.size(); i += 4) {
        uint32_t texel = 0;
        std::memcpy(&texel, &data[i], 4);
        if (texel != first) {
            return -1;
        }
    }
    return first;
}

} // namespace

TextureStorage::TextureStorage(GLenum target, UINT width, UINT height, UINT depth, UINT levels,
                               DWORD usage, D3DFORMAT format, D3DPOOL pool)
    : target_(target), width_(width), height_(height), depth_(depth), usage_(usage), pool_(pool),
      format_(findFormat(format)) {
    UINT full = fullMipCount(width, height, target == GL_TEXTURE_3D ? depth : 1);
    levels_ = (levels == 0 || levels > full) ? full : levels;
    if (usage & D3DUSAGE_AUTOGENMIPMAP) {
        levels_ = full; // the chain exists in GL; Direct3D reports one level
    }
    if (!format_ || width == 0 || height == 0 || depth == 0) {
        return;
    }
    memory_.resize(levels_);
    locked_.assign(levels_, false);
    levelValue_.assign(levels_, -1);
    glGenTextures(1, &texture_);
    bindScratch(target_, texture_);
    glTexParameteri(target_, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(target_, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(levels_ - 1));
    glTexParameteri(target_, GL_TEXTURE_SWIZZLE_R, format_->swizzle[0]);
    glTexParameteri(target_, GL_TEXTURE_SWIZZLE_G, format_->swizzle[1]);
    glTexParameteri(target_, GL_TEXTURE_SWIZZLE_B, format_->swizzle[2]);
    glTexParameteri(target_, GL_TEXTURE_SWIZZLE_A, format_->swizzle[3]);
    for (UINT level = 0; level < levels_; ++level) {
        if (target_ == GL_TEXTURE_3D) {
            glTexImage3D(target_, static_cast<GLint>(level), glInternalFormat(*format_),
                         static_cast<GLsizei>(this->width(level)),
                         static_cast<GLsizei>(this->height(level)),
                         static_cast<GLsizei>(this->depth(level)), 0, format_->pixelFormat,
                         format_->pixelType, nullptr);
        } else {
            glTexImage2D(target_, static_cast<GLint>(level), glInternalFormat(*format_),
                         static_cast<GLsizei>(this->width(level)),
                         static_cast<GLsizei>(this->height(level)), 0, format_->pixelFormat,
                         format_->pixelType, nullptr);
        }
    }
}

TextureStorage::~TextureStorage() {
    releaseGl();
}

void TextureStorage::releaseGl() {
    if (texture_) {
        glDeleteTextures(1, &texture_);
        texture_ = 0;
    }
}

HRESULT TextureStorage::lock(UINT level, UINT left, UINT top, UINT front, UINT right, UINT bottom,
                             UINT back, INT& rowPitch, INT& slicePitch, void*& bits, DWORD) {
    if (level >= levels_ || locked_[level] || renderTarget()) {
        return D3DERR_INVALIDCALL;
    }
    if (right > width(level) || bottom > height(level) || back > depth(level) || left >= right ||
        top >= bottom || front >= back) {
        return D3DERR_INVALIDCALL;
    }
    UINT row = d3d9::rowPitch(*format_, width(level));
    UINT slice = row * height(level);
    std::vector<uint8_t>& data = memory_[level];
    if (data.empty()) {
        data.assign(static_cast<size_t>(slice) * depth(level), 0);
    }
    rowPitch = static_cast<INT>(row);
    slicePitch = static_cast<INT>(slice);
    bits = data.data() + static_cast<size_t>(front) * slice + static_cast<size_t>(top) * row +
           static_cast<size_t>(left) * format_->bytesPerPixel;
    locked_[level] = true;
    return D3D_OK;
}

HRESULT TextureStorage::unlock(UINT level) {
    if (level >= levels_ || !locked_[level]) {
        return D3DERR_INVALIDCALL;
    }
    locked_[level] = false;
    upload(level);
    if (eightBitRgba(*format_) && !renderTarget() && !(usage_ & D3DUSAGE_AUTOGENMIPMAP)) {
        levelValue_[level] = oneValue(memory_[level]);
        findConstant();
    }
    if ((usage_ & D3DUSAGE_AUTOGENMIPMAP) && level == 0) {
        generateMips();
    }
    return D3D_OK;
}

void TextureStorage::upload(UINT level) {
    if (!texture_) {
        return;
    }
    bindScratch(target_, texture_);
    const std::vector<uint8_t>& data = memory_[level];
    if (target_ == GL_TEXTURE_3D) {
        glTexSubImage3D(target_, static_cast<GLint>(level), 0, 0, 0,
                        static_cast<GLsizei>(width(level)), static_cast<GLsizei>(height(level)),
                        static_cast<GLsizei>(depth(level)), format_->pixelFormat,
                        format_->pixelType, data.data());
    } else {
        glTexSubImage2D(target_, static_cast<GLint>(level), 0, 0,
                        static_cast<GLsizei>(width(level)), static_cast<GLsizei>(height(level)),
                        format_->pixelFormat, format_->pixelType, data.data());
    }
}

void TextureStorage::levelWrittenByGl(UINT level) {
    if (level < levels_) {
        levelValue_[level] = -1;
        constant_ = false;
    }
}

void TextureStorage::findConstant() {
    constant_ = false;
    if (levelValue_.empty()) {
        return;
    }
    for (int64_t value : levelValue_) {
        if (value < 0 || value != levelValue_[0]) {
            return;
        }
    }
    // Memory holds B, G, R, A (BGRA) or R, G, B, A (RGBA) bytes, as GL reads them.
    uint8_t bytes[4];
    uint32_t texel = static_cast<uint32_t>(levelValue_[0]);
    std::memcpy(bytes, &texel, 4);
    bool bgra = format_->pixelFormat == GL_BGRA;
    float rgba[4] = {(bgra ? bytes[2] : bytes[0]) / 255.0f, bytes[1] / 255.0f,
                     (bgra ? bytes[0] : bytes[2]) / 255.0f, bytes[3] / 255.0f};
    // Each channel as the format's swizzle routes it: red, green, blue, alpha, one or zero.
    const GLint sources[5] = {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA, GL_ONE};
    const float values[5] = {rgba[0], rgba[1], rgba[2], rgba[3], 1.0f};
    for (int c = 0; c < 4; ++c) {
        const GLint* source = std::find(sources, sources + 5, format_->swizzle[c]);
        constantTexel_[c] = source == sources + 5 ? 0.0f : values[source - sources];
    }
    constant_ = true;
}

void TextureStorage::generateMips() {
    if (texture_ && levels_ > 1) {
        bindScratch(target_, texture_);
        glGenerateMipmap(target_);
    }
}

} // namespace tarnelix::d3d9
