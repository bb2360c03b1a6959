#include "SheetCanvas.h"

#include "tools/PngFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

std::vector<unsigned char> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t U32(const std::vector<unsigned char>& b, std::size_t at)
{
    if (at + 4 > b.size())
        throw std::runtime_error("truncated file");
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

unsigned U16(const std::vector<unsigned char>& b, std::size_t at)
{
    if (at + 2 > b.size())
        throw std::runtime_error("truncated file");
    return b[at] | (b[at + 1] << 8);
}

// A device-independent bitmap (8 bits with palette, 24 bits, or 4 bits with its AND mask
// as in an icon) as RGBA rows top-down.
struct Picture {
    int width = 0, height = 0;
    std::vector<Pixel> pixels;
    std::vector<unsigned char> opaque;
};

Picture DecodeDib(const std::vector<unsigned char>& b, std::size_t header, std::size_t pixelOffset, bool withMask)
{
    Picture p;
    p.width = static_cast<int>(U32(b, header + 4));
    const int storedHeight = static_cast<int>(U32(b, header + 8));
    p.height = withMask ? storedHeight / 2 : storedHeight;
    const unsigned bits = U16(b, header + 14);
    const std::size_t paletteAt = header + U32(b, header);
    const std::size_t stride = ((static_cast<std::size_t>(p.width) * bits + 31) / 32) * 4;
    const std::size_t paletteEntries = bits <= 8 ? (U32(b, header + 32) ? U32(b, header + 32) : (1u << bits)) : 0;
    if (pixelOffset == 0)
        pixelOffset = paletteAt + paletteEntries * 4;
    const std::size_t maskStride = ((static_cast<std::size_t>(p.width) + 31) / 32) * 4;
    const std::size_t maskAt = pixelOffset + stride * p.height;
    if (pixelOffset + stride * p.height > b.size() || (withMask && maskAt + maskStride * p.height > b.size()))
        throw std::runtime_error("truncated bitmap");
    p.pixels.resize(static_cast<std::size_t>(p.width) * p.height);
    p.opaque.assign(p.pixels.size(), 1);
    for (int row = 0; row < p.height; ++row) {
        const std::size_t line = pixelOffset + static_cast<std::size_t>(p.height - 1 - row) * stride;
        for (int x = 0; x < p.width; ++x) {
            Pixel& out = p.pixels[static_cast<std::size_t>(row) * p.width + x];
            if (bits == 24) {
                const std::size_t at = line + static_cast<std::size_t>(x) * 3;
                out = {b[at + 2], b[at + 1], b[at]};
            } else {
                unsigned index = bits == 8 ? b[line + x] : (b[line + x / 2] >> ((x % 2) ? 0 : 4)) & 15;
                const std::size_t at = paletteAt + index * 4;
                out = {b[at + 2], b[at + 1], b[at]};
            }
            if (withMask) {
                const std::size_t maskLine = maskAt + static_cast<std::size_t>(p.height - 1 - row) * maskStride;
                p.opaque[static_cast<std::size_t>(row) * p.width + x] = !((b[maskLine + x / 8] >> (7 - x % 8)) & 1);
            }
        }
    }
    return p;
}

Picture LoadBmp(const std::string& path)
{
    const std::vector<unsigned char> b = ReadFile(path);
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M')
        throw std::runtime_error(path + " is not a bitmap");
    return DecodeDib(b, 14, U32(b, 10), false);
}

} // namespace

SheetCanvas::SheetCanvas(int width, int height, Pixel background)
    : m_width(width), m_height(height), m_rgb(static_cast<std::size_t>(width) * height * 3)
{
    Fill(0, 0, width, height, background);
}

void SheetCanvas::Put(int x, int y, float r, float g, float b, float alpha, Blend blend)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    float* p = &m_rgb[(static_cast<std::size_t>(y) * m_width + x) * 3];
    const float src[3] = {r, g, b};
    for (int c = 0; c < 3; ++c) {
        switch (blend) {
        case Blend::Opaque: p[c] = src[c]; break;
        case Blend::Alpha: p[c] = src[c] * alpha + p[c] * (1.0f - alpha); break;
        case Blend::Add: p[c] = std::min(1.0f, p[c] + src[c] * alpha); break;
        }
    }
}

void SheetCanvas::Fill(int x, int y, int w, int h, Pixel colour)
{
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            Put(x + i, y + j, colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f, 1.0f, Blend::Opaque);
}

void SheetCanvas::Grid(int x, int y, int cells, int cellSize, Pixel colour)
{
    const int size = cells * cellSize;
    for (int k = 0; k <= cells; ++k) {
        for (int t = 0; t < size; ++t) {
            Put(x + k * cellSize, y + t, colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f, 0.5f, Blend::Alpha);
            Put(x + t, y + k * cellSize, colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f, 0.5f, Blend::Alpha);
        }
    }
}

void SheetCanvas::Draw(const TgaImage& image, int x, int y, const Look& look)
{
    const int w = image.width * look.zoom;
    const int h = image.height * look.zoom;
    for (int ty = 0; ty < look.repeat; ++ty) {
        for (int tx = 0; tx < look.repeat; ++tx) {
            for (int j = 0; j < h; ++j) {
                const int row = image.height - 1 - j / look.zoom;
                for (int i = 0; i < w; ++i) {
                    const unsigned char* t = &image.rgba[(static_cast<std::size_t>(row) * image.width + i / look.zoom) * 4];
                    Put(x + tx * w + i, y + ty * h + j, t[0] / 255.0f * look.light, t[1] / 255.0f * look.light,
                        t[2] / 255.0f * look.light, t[3] / 255.0f, look.blend);
                }
            }
        }
    }
}

void SheetCanvas::DrawStretched(const TgaImage& image, int x, int y, int w, int h, float light)
{
    for (int j = 0; j < h; ++j) {
        const int row = image.height - 1 - j * image.height / h;
        for (int i = 0; i < w; ++i) {
            // Average the texels that fall into this pixel's column span, as filtering would.
            const int x0 = i * image.width / w;
            const int x1 = std::max(x0 + 1, (i + 1) * image.width / w);
            float sum[3] = {0, 0, 0};
            for (int k = x0; k < x1; ++k)
                for (int c = 0; c < 3; ++c)
                    sum[c] += image.rgba[(static_cast<std::size_t>(row) * image.width + k) * 4 + c] / 255.0f;
            const float n = static_cast<float>(x1 - x0);
            Put(x + i, y + j, sum[0] / n * light, sum[1] / n * light, sum[2] / n * light, 1.0f, Blend::Add);
        }
    }
}

void SheetCanvas::Text(int x, int y, const std::string& text, int scale, float opacity)
{
    if (m_atlas.width != 256)
        return;
    for (std::size_t n = 0; n < text.size(); ++n) {
        const unsigned code = static_cast<unsigned char>(text[n]);
        const int cellX = static_cast<int>(code % 16) * 16;
        const int cellY = static_cast<int>(code / 16) * 16;
        for (int j = 0; j < 16 * scale; ++j) {
            const int row = 255 - (cellY + j / scale);
            for (int i = 0; i < 16 * scale; ++i) {
                const float alpha = m_atlas.rgba[(static_cast<std::size_t>(row) * 256 + cellX + i / scale) * 4 + 3] / 255.0f;
                // Labels advance 9 pixels a character: the mono glyphs are narrow in their cells.
                const int advance = scale == 1 ? 9 : 16 * scale;
                Put(x + static_cast<int>(n) * advance + i - (scale == 1 ? 3 : 0), y + j, 1, 1, 1, alpha * opacity, Blend::Alpha);
            }
        }
    }
}

void SheetCanvas::Waveform(int x, int y, int columns, int height, const std::vector<int>& samples, int marker)
{
    Fill(x, y, columns, height, {8, 10, 16});
    const std::size_t n = samples.size();
    for (int c = 0; c < columns; ++c) {
        const std::size_t begin = n * static_cast<std::size_t>(c) / static_cast<std::size_t>(columns);
        const std::size_t end = std::max(begin + 1, n * static_cast<std::size_t>(c + 1) / static_cast<std::size_t>(columns));
        int low = 255, high = 0;
        for (std::size_t i = begin; i < end && i < n; ++i) {
            low = std::min(low, samples[i]);
            high = std::max(high, samples[i]);
        }
        const int top = y + (255 - high) * (height - 1) / 255;
        const int bottom = y + (255 - low) * (height - 1) / 255;
        for (int row = top; row <= bottom; ++row)
            Put(x + c, row, 0.55f, 0.75f, 1.0f, 1.0f, Blend::Opaque);
    }
    if (marker >= 0)
        for (int row = 0; row < height; ++row)
            Put(x + marker, y + row, 1.0f, 0.3f, 0.2f, 0.6f, Blend::Alpha);
}

void SheetCanvas::DrawBmp(const std::string& path, int x, int y, int zoom)
{
    const Picture p = LoadBmp(path);
    DrawBmpScaled(path, x, y, p.width * zoom, p.height * zoom);
}

void SheetCanvas::DrawBmpScaled(const std::string& path, int x, int y, int w, int h)
{
    const Picture p = LoadBmp(path);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const Pixel& s = p.pixels[static_cast<std::size_t>(j * p.height / h) * p.width + i * p.width / w];
            Put(x + i, y + j, s.r / 255.0f, s.g / 255.0f, s.b / 255.0f, 1.0f, Blend::Opaque);
        }
}

void SheetCanvas::DrawIcon(const std::string& path, int x, int y, int zoom)
{
    const std::vector<unsigned char> b = ReadFile(path);
    if (b.size() < 22 || U16(b, 2) != 1)
        throw std::runtime_error(path + " is not an icon");
    const Picture p = DecodeDib(b, U32(b, 18), 0, true);
    for (int j = 0; j < p.height * zoom; ++j)
        for (int i = 0; i < p.width * zoom; ++i) {
            const std::size_t at = static_cast<std::size_t>(j / zoom) * p.width + i / zoom;
            // Transparent pixels show a checkerboard.
            const float check = ((i / 4 + j / 4) % 2) ? 0.75f : 0.55f;
            if (p.opaque[at])
                Put(x + i, y + j, p.pixels[at].r / 255.0f, p.pixels[at].g / 255.0f, p.pixels[at].b / 255.0f, 1.0f, Blend::Opaque);
            else
                Put(x + i, y + j, check, check, check, 1.0f, Blend::Opaque);
        }
}

void SheetCanvas::WritePng(const std::string& path) const
{
    RgbImage image;
    image.width = m_width;
    image.height = m_height;
    image.pixels.resize(m_rgb.size());
    for (std::size_t i = 0; i < m_rgb.size(); ++i)
        image.pixels[i] = static_cast<unsigned char>(std::clamp(m_rgb[i], 0.0f, 1.0f) * 255.0f + 0.5f);
    std::string error;
    if (!::WritePng(path, image, error))
        throw std::runtime_error(error);
}
