#pragma once
// Float pictures the artwork is painted in before it is quantised into a file format.
// Rows run top to bottom in memory; the file writers put them in their own order.
#include <algorithm>
#include <cmath>
#include <vector>

struct Colour {
    float r = 0, g = 0, b = 0;
};

inline Colour operator+(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Colour operator*(Colour a, float k) { return {a.r * k, a.g * k, a.b * k}; }
inline Colour Mix(Colour a, Colour b, float t) { return a * (1.0f - t) + b * t; }

template <typename Pixel>
struct Raster {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;

    Raster() = default;
    Raster(int w, int h, Pixel fill = Pixel{}) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}
    Pixel& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    const Pixel& At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    // Calls paint(x, y, u, v) for every pixel, row by row; u and v are x and y over
    // `tile`, the size that one repeat of the picture spans.
    template <typename Paint>
    void ForEachPixel(int tile, Paint paint)
    {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                paint(x, y, static_cast<float>(x) / tile, static_cast<float>(y) / tile);
        }
    }
    // Coordinates wrap around: for pictures that tile.
    Pixel& Wrapped(int x, int y)
    {
        x %= width;
        y %= height;
        return At(x < 0 ? x + width : x, y < 0 ? y + height : y);
    }
};

using GreyRaster = Raster<float>;
using ColourRaster = Raster<Colour>;

inline float Clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }
inline Colour Clamp01(Colour c) { return {Clamp01(c.r), Clamp01(c.g), Clamp01(c.b)}; }
inline unsigned char ToByte(float v) { return static_cast<unsigned char>(std::lround(Clamp01(v) * 255.0f)); }
inline float SmoothStep(float edge0, float edge1, float x)
{
    const float t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}
