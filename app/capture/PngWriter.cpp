#include "app/capture/PngWriter.h"

#include "app/capture/PartialFile.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// libpng reports a failed write here instead of on stderr; the call must not return. The
// system's reason (a full disk, say) beats libpng's generic one.
void onPngError(png_structp png, png_const_charp message) {
    auto* reason = static_cast<std::string*>(png_get_error_ptr(png));
    *reason = errno != 0 ? std::strerror(errno) : message;
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

bool encode(FILE* file, int width, int height, const uint8_t* rgb, size_t stride,
            std::string& reason) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &reason, onPngError, onPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        reason = "out of memory";
        return false;
    }
    std::vector<png_const_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        rows[static_cast<size_t>(y)] = rgb + static_cast<size_t>(y) * stride;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    // Frames are written by the thousand: favour speed over size.
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_rows(png, const_cast<png_bytepp>(rows.data()), static_cast<png_uint_32>(height));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool writePng(const std::string& path, int width, int height, const uint8_t* rgb, size_t stride,
              std::string& error) {
    if (width <= 0 || height <= 0 || !rgb) {
        error = "nothing to write";
        return false;
    }
    PartialFile partial(path);
    FILE* file = std::fopen(partial.path().c_str(), "wb");
    if (!file) {
        error = "cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    std::string reason;
    errno = 0;
    const bool encoded = encode(file, width, height, rgb, stride, reason);
    // The last buffered bytes reach the disk only here, and can fail here.
    const bool closed = std::fclose(file) == 0;
    if (!encoded || !closed) {
        error = "cannot write " + path + ": " + (reason.empty() ? std::strerror(errno) : reason);
        return false;
    }
    return partial.commit(error);
}
