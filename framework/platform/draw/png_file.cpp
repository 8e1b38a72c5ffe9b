#include "framework/platform/draw/png_file.h"

#include <png.h>

#include <cstring>

namespace {

png_image BlankImage() {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    return image;
}

}  // namespace

bool JWritePng(const JSurface& surface, const char* path) {
    if (surface.width <= 0 || surface.height <= 0) {
        return false;
    }
    std::vector<png_byte> rgb(static_cast<std::size_t>(surface.width) * surface.height * 3);
    std::size_t at = 0;
    for (std::uint32_t pixel : surface.pixels) {
        rgb[at++] = static_cast<png_byte>(JRgbRed(pixel));
        rgb[at++] = static_cast<png_byte>(JRgbGreen(pixel));
        rgb[at++] = static_cast<png_byte>(JRgbBlue(pixel));
    }
    png_image image = BlankImage();
    image.width = static_cast<png_uint_32>(surface.width);
    image.height = static_cast<png_uint_32>(surface.height);
    image.format = PNG_FORMAT_RGB;
    const bool written = png_image_write_to_file(&image, path, 0, rgb.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return written;
}

bool JReadPng(const char* path, JSurface* surface) {
    png_image image = BlankImage();
    if (png_image_begin_read_from_file(&image, path) == 0) {
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) {
        png_image_free(&image);
        return false;
    }
    JSurfaceResize(surface, static_cast<int>(image.width), static_cast<int>(image.height));
    for (std::size_t i = 0; i < surface->pixels.size(); ++i) {
        surface->pixels[i] = JRgb(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    }
    return true;
}
