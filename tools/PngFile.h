#pragma once
// RGB pictures to and from PNG files (libpng), for the offscreen renderer and the
// pixel tests. Pixels are 3 bytes each, rows top-down.
#include <string>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels; // width x height x 3, top row first
};

// From OpenGL's read-back: RGBA bytes with the bottom row first.
RgbImage RgbFromBottomUpRgba(const std::vector<unsigned char>& rgba, int width, int height);

// Small files for keeping; Fast for frames written to be looked at or compared: about
// five times faster to write, a fifth larger.
enum class PngCompression { Small, Fast };

// False, with the reason in `error`, when the file cannot be written or read.
bool WritePng(const std::string& path, const RgbImage& image, std::string& error,
              PngCompression compression = PngCompression::Small);
bool ReadPng(const std::string& path, RgbImage& image, std::string& error);
