#include "assets/TgaDecode.h"

#include <cstdint>
#include <new>

namespace {

constexpr std::size_t kHeaderSize = 18;
constexpr std::size_t kColourMapEntries = 256;
constexpr std::size_t kColourMapBytes = kColourMapEntries * 3;

unsigned ReadU16(const unsigned char* p)
{
    return static_cast<unsigned>(p[0]) | (static_cast<unsigned>(p[1]) << 8);
}

// The one colour map the loader knows: 256 entries of 24 bits from entry 0.
bool ColourMapIsSupported(const unsigned char* header)
{
    return ReadU16(header + 3) == 0 && ReadU16(header + 5) == kColourMapEntries && header[7] == 24;
}

} // namespace

std::optional<TgaImage> DecodeTGA(const unsigned char* data, std::size_t size)
{
    if (data == nullptr || size < kHeaderSize)
        return std::nullopt;

    const std::size_t idLength = data[0];
    const bool hasColourMap = data[1] != 0;
    const unsigned width = ReadU16(data + 12);
    const unsigned height = ReadU16(data + 14);
    const unsigned depth = data[16];

    if (depth != 8 && depth != 24 && depth != 32)
        return std::nullopt;
    if (width == 0 || height == 0)
        return std::nullopt;
    // A map in front of true-colour pixels would be read as pixels: refuse it, as any
    // map other than the one layout that is supported.
    if (hasColourMap && (depth != 8 || !ColourMapIsSupported(data)))
        return std::nullopt;

    const std::size_t pixelCount = static_cast<std::size_t>(width) * height;
    const std::size_t dataStart = kHeaderSize + idLength;
    const std::size_t mapBytes = hasColourMap ? kColourMapBytes : 0;
    const std::size_t pixelBytes = pixelCount * (depth / 8);
    // The resource must hold ID, map and every pixel. Compared step by step so that no
    // sum or product can wrap around where size_t has 32 bits (65535 x 65535 x 4 does).
    if (dataStart + mapBytes > size || pixelBytes / (depth / 8) != pixelCount ||
        pixelBytes > size - dataStart - mapBytes || pixelCount > SIZE_MAX / 4)
        return std::nullopt;

    TgaImage image;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    try {
        image.rgba.resize(pixelCount * 4);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }

    const unsigned char* in = data + dataStart;
    unsigned char* out = image.rgba.data();
    if (depth == 24) {
        for (std::size_t i = 0; i < pixelCount; ++i, in += 3, out += 4) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            out[3] = 255;
        }
    } else if (depth == 32) {
        for (std::size_t i = 0; i < pixelCount; ++i, in += 4, out += 4) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            out[3] = in[3];
        }
    } else if (hasColourMap) {
        const unsigned char* map = in;
        const unsigned char* index = in + kColourMapBytes;
        for (std::size_t i = 0; i < pixelCount; ++i, out += 4) {
            const unsigned char* entry = map + 3 * static_cast<std::size_t>(index[i]);
            out[0] = entry[2];
            out[1] = entry[1];
            out[2] = entry[0];
            out[3] = 255;
        }
    } else {
        // Grey: white, with the grey level as opacity.
        for (std::size_t i = 0; i < pixelCount; ++i, out += 4) {
            out[0] = 255;
            out[1] = 255;
            out[2] = 255;
            out[3] = in[i];
        }
    }
    return image;
}
