#pragma once
// RGB pictures written as PNG files (libpng), for the offscreen renderer and the contact
// sheet. Pixels are 3 bytes each, rows top-down.
#include <string>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels; // width x height x 3, top row first
};

// Small files for keeping; Fast for frames written to be looked at or compared: about
// five times faster to write, a fifth larger.
enum class PngCompression { Small, Fast };

// False, with the reason in `error`, when the file cannot be written.
bool WritePng(const std::string& path, const RgbImage& image, std::string& error,
              PngCompression compression = PngCompression::Small);
