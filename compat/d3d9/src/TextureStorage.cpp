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
    : target_(target), width_(width), height_(height), depth_(depth),
      faces_(target == GL_TEXTURE_CUBE_MAP ? 6 : 1), usage_(usage), pool_(pool),
      format_(findFormat(format)) {
    UINT full = fullMipCount(width, height, target == GL_TEXTURE_3D ? depth : 1);
    levels_ = (levels == 0 || levels > full) ? full : levels;
    if (usage & D3DUSAGE_AUTOGENMIPMAP) {
        levels_ = full; // the chain exists in GL; Direct3D reports one level
    }
    if (!format_ || width == 0 || height == 0 || depth == 0) {
        return;
    }
    memory_.resize(faces_ * levels_);
    locked_.assign(faces_ * levels_, false);
    levelValue_.assign(faces_ * levels_, -1);
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
            continue;
        }
        for (UINT face = 0; face < faces_; ++face) {
            glTexImage2D(imageTarget(face), static_cast<GLint>(level), glInternalFormat(*format_),
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

HRESULT TextureStorage::lock(UINT face, UINT level, UINT left, UINT top, UINT front, UINT right,
                             UINT bottom, UINT back, INT& rowPitch, INT& slicePitch, void*& bits,
                             DWORD) {
    if (face >= faces_ || level >= levels_ || renderTarget() ||
        (pool_ == D3DPOOL_DEFAULT && !(usage_ & D3DUSAGE_DYNAMIC))) {
        return D3DERR_INVALIDCALL;
    }
    UINT sub = subresource(face, level);
    if (locked_[sub]) {
        return D3DERR_INVALIDCALL;
    }
    if (right > width(level) || bottom > height(level) || back > depth(level) || left >= right ||
        top >= bottom || front >= back) {
        return D3DERR_INVALIDCALL;
    }
    UINT row = d3d9::rowPitch(*format_, width(level));
    UINT slice = row * height(level);
    uint8_t* data = const_cast<uint8_t*>(levelBits(face, level));
    rowPitch = static_cast<INT>(row);
    slicePitch = static_cast<INT>(slice);
    bits = data + static_cast<size_t>(front) * slice + static_cast<size_t>(top) * row +
           static_cast<size_t>(left) * format_->bytesPerPixel;
    locked_[sub] = true;
    return D3D_OK;
}

HRESULT TextureStorage::unlock(UINT face, UINT level) {
    if (face >= faces_ || level >= levels_ || !locked_[subresource(face, level)]) {
        return D3DERR_INVALIDCALL;
    }
    UINT sub = subresource(face, level);
    locked_[sub] = false;
    upload(face, level, memory_[sub].data());
    contentsChanged(face, level);
    return D3D_OK;
}

const uint8_t* TextureStorage::levelBits(UINT face, UINT level) {
    std::vector<uint8_t>& data = memory_[subresource(face, level)];
    if (data.empty()) {
        size_t slice = static_cast<size_t>(d3d9::rowPitch(*format_, width(level))) * height(level);
        data.assign(slice * depth(level), 0);
    }
    return data.data();
}

void TextureStorage::writeRect(UINT face, UINT level, UINT left, UINT top, UINT width, UINT height,
                               const uint8_t* bits, UINT pitch) {
    std::vector<uint8_t>& data = memory_[subresource(face, level)];
    size_t bytes = static_cast<size_t>(width) * format_->bytesPerPixel;
    if (!data.empty()) {
        size_t row = d3d9::rowPitch(*format_, this->width(level));
        for (UINT y = 0; y < height; ++y) {
            std::memcpy(&data[(top + y) * row + left * format_->bytesPerPixel],
                        bits + static_cast<size_t>(y) * pitch, bytes);
        }
    }
    if (texture_) {
        bindScratch(target_, texture_);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(pitch / format_->bytesPerPixel));
        glTexSubImage2D(imageTarget(face), static_cast<GLint>(level), static_cast<GLint>(left),
                        static_cast<GLint>(top), static_cast<GLsizei>(width),
                        static_cast<GLsizei>(height), format_->pixelFormat, format_->pixelType,
                        bits);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    }
    levelWrittenByGl(face, level);
    if ((usage_ & D3DUSAGE_AUTOGENMIPMAP) && level == 0) {
        generateMips();
    }
}

void TextureStorage::copyLevel(UINT face, UINT level, TextureStorage& source, UINT sourceLevel) {
    const uint8_t* bits = source.levelBits(face, sourceLevel);
    std::vector<uint8_t>& data = memory_[subresource(face, level)];
    if (!data.empty()) {
        std::memcpy(data.data(), bits, data.size());
    }
    upload(face, level, bits);
    UINT sub = subresource(face, level);
    levelValue_[sub] = source.levelValue_[source.subresource(face, sourceLevel)];
    findConstant();
    if ((usage_ & D3DUSAGE_AUTOGENMIPMAP) && level == 0) {
        generateMips();
    }
}

void TextureStorage::upload(UINT face, UINT level, const uint8_t* data) {
    if (!texture_) {
        return;
    }
    bindScratch(target_, texture_);
    if (target_ == GL_TEXTURE_3D) {
        glTexSubImage3D(target_, static_cast<GLint>(level), 0, 0, 0,
                        static_cast<GLsizei>(width(level)), static_cast<GLsizei>(height(level)),
                        static_cast<GLsizei>(depth(level)), format_->pixelFormat,
                        format_->pixelType, data);
    } else {
        glTexSubImage2D(imageTarget(face), static_cast<GLint>(level), 0, 0,
                        static_cast<GLsizei>(width(level)), static_cast<GLsizei>(height(level)),
                        format_->pixelFormat, format_->pixelType, data);
    }
}

// After a lock: the level's one value (for the constant-texture shortcut), and the chain below
// level 0 where GL makes it.
void TextureStorage::contentsChanged(UINT face, UINT level) {
    UINT sub = subresource(face, level);
    if (eightBitRgba(*format_) && !renderTarget() && !(usage_ & D3DUSAGE_AUTOGENMIPMAP)) {
        levelValue_[sub] = oneValue(memory_[sub]);
        findConstant();
    }
    if ((usage_ & D3DUSAGE_AUTOGENMIPMAP) && level == 0) {
        generateMips();
    }
}

void TextureStorage::levelWrittenByGl(UINT face, UINT level) {
    if (face < faces_ && level < levels_) {
        levelValue_[subresource(face, level)] = -1;
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
