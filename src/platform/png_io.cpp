// PNG files through libpng's simplified API; written whole or not at all.
#include "platform/png_io.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/files.h"

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
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    // Not synchronised to disk: at a few tens of milliseconds per file that would double a
    // capture's time. The rename alone keeps a crash from leaving a partial picture.
    bool ok = png_image_write_to_stdio(&image, file, 0, rgb, width * 3, nullptr) != 0;
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
