// PNG files through libpng, written whole or not at all, compressed for speed.
#include "platform/png_io.h"

#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/files.h"

namespace {

// Encodes the rows into file with libpng's full interface, which (unlike the simplified one)
// lets the compression be chosen. The show's frames are mostly flat colour, so unfiltered rows
// with zlib's run-length strategy write a typical frame about five times faster than the default
// adaptive filters at level 6, for files about an eighth larger. Holds nothing with a
// destructor, since libpng reports errors by longjmp.
bool EncodePng(std::FILE* file, int32_t width, int32_t height, const uint8_t* rgb) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 1);
    png_set_compression_strategy(png, Z_RLE);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(png, info);
    for (int32_t y = 0; y < height; ++y) {
        png_write_row(png, rgb + static_cast<size_t>(y) * static_cast<size_t>(width) * 3);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePngRgb(const char* path, int32_t width, int32_t height, const uint8_t* rgb) {
    if (width <= 0 || height <= 0 || rgb == nullptr) {
        return false;
    }
    // Written under a temporary name beside the final one and renamed when complete, so the
    // final name only ever holds a whole picture.
    const std::string partial = std::string(path) + ".part";
    std::FILE* file = std::fopen(partial.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    // Not synchronised to disk: at a few tens of milliseconds per file that would double a
    // capture's time. The rename alone keeps a crash from leaving a partial picture.
    bool ok = EncodePng(file, width, height, rgb);
    ok = std::fclose(file) == 0 && ok;
    if (!ok || !ReplaceFileAtomically(partial.c_str(), path)) {
        std::remove(partial.c_str());
        return false;
    }
    return true;
}

bool ReadPngRgb(const char* path, int32_t* width, int32_t* height, std::vector<uint8_t>* rgb) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path) == 0) {
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    rgb->assign(PNG_IMAGE_SIZE(image), 0);
    if (png_image_finish_read(&image, nullptr, rgb->data(), 0, nullptr) == 0) {
        png_image_free(&image);
        return false;
    }
    *width = static_cast<int32_t>(image.width);
    *height = static_cast<int32_t>(image.height);
    return true;
}
