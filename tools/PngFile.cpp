#include "tools/PngFile.h"

#include <png.h>

#include <cstring>

RgbImage RgbFromBottomUpRgba(const std::vector<unsigned char>& rgba, int width, int height)
{
    RgbImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const unsigned char* source = &rgba[static_cast<std::size_t>(height - 1 - y) * width * 4];
        unsigned char* target = &image.pixels[static_cast<std::size_t>(y) * width * 3];
        for (int x = 0; x < width; ++x) {
            target[3 * x] = source[4 * x];
            target[3 * x + 1] = source[4 * x + 1];
            target[3 * x + 2] = source[4 * x + 2];
        }
    }
    return image;
}

bool WritePng(const std::string& path, const RgbImage& image, std::string& error, PngCompression compression)
{
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGB;
    if (compression == PngCompression::Fast)
        png.flags = PNG_IMAGE_FLAG_FAST;
    if (!png_image_write_to_file(&png, path.c_str(), 0, image.pixels.data(), 0, nullptr)) {
        error = "cannot write " + path + ": " + png.message;
        return false;
    }
    return true;
}

bool ReadPng(const std::string& path, RgbImage& image, std::string& error)
{
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        error = "cannot read " + path + ": " + png.message;
        return false;
    }
    png.format = PNG_FORMAT_RGB;
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.pixels.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) {
        error = "cannot decode " + path + ": " + png.message;
        png_image_free(&png);
        return false;
    }
    return true;
}
