#pragma once
// Builds TGA images byte by byte for the decoder and loader tests.
#include <cstdint>
#include <vector>

struct TgaBuilder {
    std::uint8_t idLength = 0;
    std::uint8_t colourMapType = 0;
    std::uint8_t imageType = 3;
    std::uint16_t mapFirst = 0;
    std::uint16_t mapLength = 0;
    std::uint8_t mapEntryBits = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t depth = 8;
    std::uint8_t descriptor = 0x08;
    std::vector<unsigned char> id;
    std::vector<unsigned char> colourMap;
    std::vector<unsigned char> pixels;

    static TgaBuilder Grey(std::uint16_t w, std::uint16_t h, std::vector<unsigned char> levels)
    {
        TgaBuilder b;
        b.width = w;
        b.height = h;
        b.pixels = std::move(levels);
        return b;
    }

    // A colour-mapped image whose entry i is (blue i, green 255 - i, red i ^ 0x5A).
    static TgaBuilder Mapped(std::uint16_t w, std::uint16_t h, std::vector<unsigned char> indices)
    {
        TgaBuilder b;
        b.colourMapType = 1;
        b.imageType = 1;
        b.mapLength = 256;
        b.mapEntryBits = 24;
        b.width = w;
        b.height = h;
        for (int i = 0; i < 256; ++i) {
            b.colourMap.push_back(static_cast<unsigned char>(i));
            b.colourMap.push_back(static_cast<unsigned char>(255 - i));
            b.colourMap.push_back(static_cast<unsigned char>(i ^ 0x5A));
        }
        b.pixels = std::move(indices);
        return b;
    }

    static TgaBuilder TrueColour(std::uint16_t w, std::uint16_t h, std::uint8_t bits, std::vector<unsigned char> bytes)
    {
        TgaBuilder b;
        b.imageType = 2;
        b.width = w;
        b.height = h;
        b.depth = bits;
        b.pixels = std::move(bytes);
        return b;
    }

    std::vector<unsigned char> Bytes() const
    {
        std::vector<unsigned char> out = {
            static_cast<unsigned char>(id.empty() ? idLength : id.size()),
            colourMapType,
            imageType,
            static_cast<unsigned char>(mapFirst & 0xFF),
            static_cast<unsigned char>(mapFirst >> 8),
            static_cast<unsigned char>(mapLength & 0xFF),
            static_cast<unsigned char>(mapLength >> 8),
            mapEntryBits,
            0, 0, 0, 0,
            static_cast<unsigned char>(width & 0xFF),
            static_cast<unsigned char>(width >> 8),
            static_cast<unsigned char>(height & 0xFF),
            static_cast<unsigned char>(height >> 8),
            depth,
            descriptor,
        };
        // Element by element: GCC 12 at -O3 misjudges range inserts into a fresh vector.
        for (const std::vector<unsigned char>* part : {&id, &colourMap, &pixels})
            for (unsigned char byte : *part)
                out.push_back(byte);
        return out;
    }
};
