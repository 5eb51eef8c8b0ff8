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

// libjpeg's size at scale n/8: the file's size times n/8, rounded up.
uint32_t scaled(uint32_t side, unsigned eighths) {
    return static_cast<uint32_t>((uint64_t(side) * eighths + 7) / 8);
}

unsigned smallestScaleCovering(uint32_t width, uint32_t height, uint32_t atLeastWidth,
                               uint32_t atLeastHeight) {
    unsigned eighths = 1;
    while (eighths < 8 &&
           (scaled(width, eighths) < atLeastWidth || scaled(height, eighths) < atLeastHeight)) {
        ++eighths;
    }
    return eighths;
}

// Everything libjpeg touches between setjmp and longjmp lives here, in plain storage, so that
// the jump skips no destructor.
struct Decode {
    jpeg_decompress_struct info;
    ErrorManager errors;
    uint32_t atLeastWidth; // the smallest picture wanted; 0 x 0 for the file's own size
    uint32_t atLeastHeight;
    uint8_t* pixels; // owned by the caller's vector
    size_t capacity;
};

enum Result { kDecoded = 0, kLibraryError = 1, kOutOfRange = 2 };

// Two passes of the caller: the first (pixels null) reads the header only, and gives the size
// of the picture at the scale chosen from it.
int runDecode(Decode& d, const uint8_t* data, size_t size, bool headerOnly) {
    d.info.err = jpeg_std_error(&d.errors.base);
    d.errors.base.error_exit = onFatalError;
    d.errors.base.emit_message = onMessage;
    d.errors.message[0] = '\0';
    if (setjmp(d.errors.jump) != 0) {
        jpeg_destroy_decompress(&d.info);
        return kLibraryError;
    }
    jpeg_create_decompress(&d.info);
    jpeg_mem_src(&d.info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&d.info, TRUE);
    if (d.info.image_width == 0 || d.info.image_height == 0 || d.info.image_width > kMaxImageSide ||
        d.info.image_height > kMaxImageSide ||
        (d.info.jpeg_color_space != JCS_GRAYSCALE && d.info.jpeg_color_space != JCS_YCbCr &&
         d.info.jpeg_color_space != JCS_RGB)) {
        jpeg_destroy_decompress(&d.info);
        return kOutOfRange;
    }
    d.info.out_color_space = JCS_EXT_BGRA;
    d.info.scale_num = smallestScaleCovering(d.info.image_width, d.info.image_height,
                                             d.atLeastWidth, d.atLeastHeight);
    d.info.scale_denom = 8;
    if (headerOnly) {
        jpeg_calc_output_dimensions(&d.info);
        jpeg_destroy_decompress(&d.info);
        return kDecoded;
    }
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
    return kDecoded;
}

std::string describe(int result, const Decode& d) {
    return result == kLibraryError ? std::string("JPEG: ") + d.errors.message
                                   : "JPEG: unsupported colour space or size";
}

} // namespace

bool readJpegHeader(const uint8_t* data, size_t size, ImageHeader& header, std::string& error) {
    Decode d{};
    const int result = runDecode(d, data, size, true);
    if (result != kDecoded) {
        error = describe(result, d);
        return false;
    }
    header.format = ImageFileFormat::Jpeg;
    header.width = d.info.image_width;
    header.height = d.info.image_height;
    header.hasAlpha = false;
    return true;
}

bool decodeJpeg(const uint8_t* data, size_t size, Image& image, std::string& error,
                uint32_t atLeastWidth, uint32_t atLeastHeight) {
    Decode header{};
    header.atLeastWidth = atLeastWidth == 0 ? kMaxImageSide : atLeastWidth;
    header.atLeastHeight = atLeastHeight == 0 ? kMaxImageSide : atLeastHeight;
    int result = runDecode(header, data, size, true);
    if (result != kDecoded) {
        error = describe(result, header);
        return false;
    }
    std::vector<uint8_t> pixels(static_cast<size_t>(header.info.output_width) *
                                header.info.output_height * 4);
    Decode full{};
    full.atLeastWidth = header.atLeastWidth;
    full.atLeastHeight = header.atLeastHeight;
    full.pixels = pixels.data();
    full.capacity = pixels.size();
    result = runDecode(full, data, size, false);
    if (result != kDecoded) {
        error = describe(result, full);
        return false;
    }
    image.width = header.info.output_width;
    image.height = header.info.output_height;
    image.hasAlpha = false;
    image.pixels = std::move(pixels);
    return true;
}

} // namespace tarnelix::d3dx
