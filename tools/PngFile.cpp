#include "tools/PngFile.h"

#include <png.h>

#include <cstring>

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
