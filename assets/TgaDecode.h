#pragma once
// Decoding of the TGA images the textures are made from, as a pure function over bytes
// (no OpenGL), so that every case can be tested without a context.
//
// Accepted: uncompressed pixels of 8 bits (colour-mapped through a 256-entry 24-bit map
// starting at entry 0, or grey when no map is present), 24 bits (blue, green, red) or
// 32 bits (blue, green, red, alpha). Rows stay in stored order: the first stored row
// becomes texture row 0. Anything else, and anything that would read past the end of
// the bytes, is refused.
#include <cstddef>
#include <optional>
#include <vector>

struct TgaImage {
    int width = 0;
    int height = 0;
    // width x height pixels of red, green, blue, alpha bytes, in stored order.
    std::vector<unsigned char> rgba;
};

std::optional<TgaImage> DecodeTGA(const unsigned char* data, std::size_t size);
