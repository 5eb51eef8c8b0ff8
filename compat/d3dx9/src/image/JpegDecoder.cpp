#include "image/Image.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace tarnelix::d3dx {
namespace {

// libjpeg reports fatal errors through a callback that must not return; jumping back to the
// decoder's entry keeps a corrupt file from ending the process.
struct ErrorManager {
    jpeg_error_mgr base;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onFatalError(j_common_ptr info) {
    ErrorManager* errors = reinterpret_cast<ErrorManager*>(info->err);
    errors->base.format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void onMessage(j_common_ptr, int) {} // warnings of damaged but decodable files stay quiet

// Everything libjpeg touches between setjmp and longjmp lives here, in plain storage, so that
// the jump skips no destructor.
struct Decode {
    jpeg_decompress_struct info;
    ErrorManager errors;
    uint8_t* pixels; // owned by the caller's vector
    size_t capacity;
};

// Returns 0 on success, 1 on a libjpeg error, 2 on an image out of range. Two passes of the
// caller: the first (pixels null) reads the header only.
int runDecode(Decode& d, const uint8_t* data, size_t size, bool headerOnly) {
    d.info.err = jpeg_std_error(&d.errors.base);
    d.errors.base.error_exit = onFatalError;
    d.errors.base.emit_message = onMessage;
    d.errors.message[0] = '\0';
    if (setjmp(d.errors.jump) != 0) {
        jpeg_destroy_decompress(&d.info);
        return 1;
    }
    jpeg_create_decompress(&d.info);
    jpeg_mem_src(&d.info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&d.info, TRUE);
    if (d.info.image_width == 0 || d.info.image_height == 0 || d.info.image_width > kMaxImageSide ||
        d.info.image_height > kMaxImageSide ||
        (d.info.jpeg_color_space != JCS_GRAYSCALE && d.info.jpeg_color_space != JCS_YCbCr &&
         d.info.jpeg_color_space != JCS_RGB)) {
        jpeg_destroy_decompress(&d.info);
        return 2;
    }
    if (headerOnly) {
        jpeg_destroy_decompress(&d.info);
        return 0;
    }
    d.info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&d.info);
    const size_t stride = static_cast<size_t>(d.info.output_width) * 4;
    while (d.info.output_scanline < d.info.output_height) {
        const size_t offset = static_cast<size_t>(d.info.output_scanline) * stride;
        if (offset + stride > d.capacity) {
            break;
        }
        JSAMPROW row = d.pixels + offset;
        jpeg_read_scanlines(&d.info, &row, 1);
    }
    jpeg_finish_decompress(&d.info);
    jpeg_destroy_decompress(&d.info);
    return 0;
}

} // namespace

bool decodeJpeg(const uint8_t* data, size_t size, Image& image, std::string& error) {
    Decode header{};
    const int headerResult = runDecode(header, data, size, true);
    if (headerResult != 0) {
        error = headerResult == 1 ? std::string("JPEG: ") + header.errors.message
                                  : "JPEG: unsupported colour space or size";
        return false;
    }
    std::vector<uint8_t> pixels(static_cast<size_t>(header.info.image_width) *
                                header.info.image_height * 4);
    Decode full{};
    full.pixels = pixels.data();
    full.capacity = pixels.size();
    const int result = runDecode(full, data, size, false);
    if (result != 0) {
        error = result == 1 ? std::string("JPEG: ") + full.errors.message
                            : "JPEG: unsupported colour space or size";
        return false;
    }
    image.width = header.info.image_width;
    image.height = header.info.image_height;
    image.hasAlpha = false;
    image.pixels = std::move(pixels);
    return true;
}

} // namespace tarnelix::d3dx
