#include "tools/showgen/ImageFiles.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
#include <png.h>

namespace showgen {

namespace {

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void jpegFail(j_common_ptr info) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    std::longjmp(error->jump, 1);
}

void jpegQuiet(j_common_ptr, int) {}

std::vector<uint8_t> rgbRow(const Image& image, int y) {
    std::vector<uint8_t> row(static_cast<size_t>(image.width()) * 3);
    const uint8_t* src = &image.rgba()[static_cast<size_t>(y) * image.width() * 4];
    for (int x = 0; x < image.width(); ++x) {
        std::memcpy(&row[static_cast<size_t>(x) * 3], src + static_cast<size_t>(x) * 4, 3);
    }
    return row;
}

} // namespace

std::vector<uint8_t> encodeJpeg(const Image& image, int quality, JpegChannels channels) {
    jpeg_compress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jpegFail;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    // Declared before the jump point so that an error leaves no destructor skipped.
    std::vector<uint8_t> row;
    if (setjmp(error.jump) != 0) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    if (channels == JpegChannels::Rgb) {
        jpeg_set_colorspace(&info, JCS_RGB);
    }
    jpeg_set_quality(&info, quality, TRUE);
    info.dct_method = JDCT_ISLOW;
    info.optimize_coding = TRUE;
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        row = rgbRow(image, static_cast<int>(info.next_scanline));
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

bool decodeJpeg(const std::vector<uint8_t>& bytes, Image& out) {
    if (bytes.empty()) {
        return false;
    }
    jpeg_decompress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jpegFail;
    error.manager.emit_message = jpegQuiet;
    Image image;
    std::vector<uint8_t> row;
    if (setjmp(error.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image = Image(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    row.resize(static_cast<size_t>(info.output_width) * 3);
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        for (int x = 0; x < image.width(); ++x) {
            const uint8_t* p = &row[static_cast<size_t>(x) * 3];
            image.set(x, y, Colour(p[0] / 255.0, p[1] / 255.0, p[2] / 255.0));
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    out = std::move(image);
    return true;
}

namespace {

void pngAppend(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void pngFlush(png_structp) {}

struct PngSource {
    const std::vector<uint8_t>* bytes;
    size_t position;
};

void pngRead(png_structp png, png_bytep data, png_size_t length) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > source->bytes->size() - source->position) {
        png_error(png, "truncated");
    }
    std::memcpy(data, source->bytes->data() + source->position, length);
    source->position += length;
}

void pngQuietWarning(png_structp, png_const_charp) {}

} // namespace

std::vector<uint8_t> encodePng(const Image& image) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, pngAppend, pngFlush);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()),
                 static_cast<png_uint_32>(image.height()), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height(); ++y) {
        png_write_row(png, &image.rgba()[static_cast<size_t>(y) * image.width() * 4]);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

bool decodePng(const std::vector<uint8_t>& bytes, Image& out) {
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) {
        return false;
    }
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, pngQuietWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    // Kept outside the jump's reach so nothing with a destructor is skipped by longjmp.
    std::vector<uint8_t> row;
    Image image;
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    PngSource source{&bytes, 0};
    png_set_read_fn(png, &source, pngRead);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    const int width = static_cast<int>(png_get_image_width(png, info));
    const int height = static_cast<int>(png_get_image_height(png, info));
    image = Image(width, height);
    row.resize(static_cast<size_t>(width) * 4);
    for (int y = 0; y < height; ++y) {
        png_read_row(png, row.data(), nullptr);
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = &row[static_cast<size_t>(x) * 4];
            image.set(x, y, Colour(p[0] / 255.0, p[1] / 255.0, p[2] / 255.0, p[3] / 255.0));
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    out = std::move(image);
    return true;
}

} // namespace showgen
