#pragma once
// Writers for the file formats the program carries: TGA (colour-mapped and grey),
// BMP (8 bits with palette, 24 bits), ICO, CUR and RIFF WAVE.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;
using Rgb = std::array<unsigned char, 3>; // red, green, blue

// An 8-bit picture: indices top row first, a palette of exactly 256 entries.
struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> indices;
    std::vector<Rgb> palette;
};

// Uncompressed colour-mapped TGA (type 1): 256 entries of 24 bits from entry 0, rows
// bottom-up, descriptor 0x08, TGA 2.0 footer.
Bytes EncodeColourMappedTga(const IndexedPicture& picture);
// Uncompressed grey TGA (type 3), same layout without a colour map.
Bytes EncodeGreyTga(int width, int height, const std::vector<unsigned char>& greyTopDown);

// 8 bits per pixel with a 256-entry palette, bottom-up, uncompressed.
Bytes EncodeBmp8(const IndexedPicture& picture);
// 24 bits per pixel, bottom-up, uncompressed; `trailingPad` zero bytes follow the pixels
// and are counted in the image size, as some paint programs write them.
Bytes EncodeBmp24(int width, int height, const std::vector<Rgb>& pixelsTopDown, int trailingPad);

// A 32 x 32 icon of 16 colours: `indices` (top-down, values 0..15) over `palette`, shown
// where `opaque` is non-zero.
Bytes EncodeIcon16(const std::vector<unsigned char>& indices, const std::vector<Rgb>& palette,
                   const std::vector<unsigned char>& opaque);
// A 32 x 32 monochrome cursor whose every pixel is transparent, hotspot (0, 0).
Bytes EncodeInvisibleCursor();

struct WaveInfoList {
    std::string creationDate; // ICRD
    std::string software;     // ISFT
};
// PCM WAVE of 8-bit unsigned samples, channels interleaved, then a LIST/INFO chunk.
Bytes EncodeWave8(int channels, int samplesPerSecond, const std::vector<unsigned char>& samples,
                  const WaveInfoList& info);

void WriteBytes(const std::string& path, const Bytes& bytes);
