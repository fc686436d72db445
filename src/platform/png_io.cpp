// PNG files through libpng's simplified API.
#include "platform/png_io.h"

#include <png.h>

#include <cstdio>
#include <cstring>

bool WritePngRgb(const char* path, int32_t width, int32_t height, const uint8_t* rgb) {
    if (width <= 0 || height <= 0 || rgb == nullptr) {
        return false;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    if (png_image_write_to_file(&image, path, 0, rgb, width * 3, nullptr) == 0) {
        std::remove(path);
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
