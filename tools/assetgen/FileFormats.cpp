#include "FileFormats.h"

#include <cstdio>
#include <stdexcept>

namespace {

void Put8(Bytes& out, unsigned v) { out.push_back(static_cast<unsigned char>(v & 0xFF)); }
void Put16(Bytes& out, unsigned v)
{
    Put8(out, v);
    Put8(out, v >> 8);
}
void Put32(Bytes& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void PutText(Bytes& out, const char* text, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out.push_back(static_cast<unsigned char>(text[i]));
}

void PutTgaFooter(Bytes& out)
{
    Put32(out, 0); // no extension area
    Put32(out, 0); // no developer directory
    static const char signature[] = "TRUEVISION-XFILE."; // with its terminating NUL
    PutText(out, signature, sizeof signature);
}

void PutTgaHeader(Bytes& out, bool colourMapped, int width, int height)
{
    Put8(out, 0);                         // no image ID
    Put8(out, colourMapped ? 1 : 0);      // colour-map type
    Put8(out, colourMapped ? 1 : 3);      // image type: colour-mapped or grey, uncompressed
    Put16(out, 0);                        // first colour-map entry
    Put16(out, colourMapped ? 256 : 0);   // colour-map length
    Put8(out, colourMapped ? 24 : 0);     // colour-map entry size
    Put16(out, 0);                        // x origin
    Put16(out, 0);                        // y origin
    Put16(out, static_cast<unsigned>(width));
    Put16(out, static_cast<unsigned>(height));
    Put8(out, 8);                         // bits per pixel
    Put8(out, 0x08);                      // 8 attribute bits, bottom-left origin
}

void CheckPicture(const IndexedPicture& picture)
{
    if (picture.palette.size() != 256 ||
        picture.indices.size() != static_cast<std::size_t>(picture.width) * picture.height)
        throw std::logic_error("indexed picture must have 256 palette entries and one index per pixel");
}

void PutBitmapInfoHeader(Bytes& out, int width, int height, int bitCount, std::uint32_t imageSize,
                         std::uint32_t coloursUsed)
{
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(bitCount));
    Put32(out, 0); // BI_RGB
    Put32(out, imageSize);
    Put32(out, 2835); // 72 dpi
    Put32(out, 2835);
    Put32(out, coloursUsed);
    Put32(out, 0);
}

void PutFileHeader(Bytes& out, std::uint32_t fileSize, std::uint32_t pixelOffset)
{
    PutText(out, "BM", 2);
    Put32(out, fileSize);
    Put32(out, 0);
    Put32(out, pixelOffset);
}

} // namespace

Bytes EncodeColourMappedTga(const IndexedPicture& picture)
{
    CheckPicture(picture);
    Bytes out;
    PutTgaHeader(out, true, picture.width, picture.height);
    for (const Rgb& entry : picture.palette) {
        Put8(out, entry[2]);
        Put8(out, entry[1]);
        Put8(out, entry[0]);
    }
    for (int y = picture.height - 1; y >= 0; --y) {
        const auto row = picture.indices.begin() + static_cast<std::ptrdiff_t>(y) * picture.width;
        out.insert(out.end(), row, row + picture.width);
    }
    PutTgaFooter(out);
    return out;
}

Bytes EncodeGreyTga(int width, int height, const std::vector<unsigned char>& greyTopDown)
{
    Bytes out;
    PutTgaHeader(out, false, width, height);
    for (int y = height - 1; y >= 0; --y) {
        const auto row = greyTopDown.begin() + static_cast<std::ptrdiff_t>(y) * width;
        out.insert(out.end(), row, row + width);
    }
    PutTgaFooter(out);
    return out;
}

Bytes EncodeBmp8(const IndexedPicture& picture)
{
    CheckPicture(picture);
    const int stride = (picture.width + 3) & ~3;
    const std::uint32_t imageSize = static_cast<std::uint32_t>(stride) * picture.height;
    const std::uint32_t pixelOffset = 14 + 40 + 256 * 4;
    Bytes out;
    PutFileHeader(out, pixelOffset + imageSize, pixelOffset);
    PutBitmapInfoHeader(out, picture.width, picture.height, 8, imageSize, 256);
    for (const Rgb& entry : picture.palette) {
        Put8(out, entry[2]);
        Put8(out, entry[1]);
        Put8(out, entry[0]);
        Put8(out, 0);
    }
    for (int y = picture.height - 1; y >= 0; --y) {
        const auto row = picture.indices.begin() + static_cast<std::ptrdiff_t>(y) * picture.width;
        out.insert(out.end(), row, row + picture.width);
        out.insert(out.end(), static_cast<std::size_t>(stride - picture.width), 0);
    }
    return out;
}

Bytes EncodeBmp24(int width, int height, const std::vector<Rgb>& pixelsTopDown, int trailingPad)
{
    const int stride = (width * 3 + 3) & ~3;
    const std::uint32_t imageSize = static_cast<std::uint32_t>(stride) * height + static_cast<std::uint32_t>(trailingPad);
    Bytes out;
    PutFileHeader(out, 14 + 40 + imageSize, 14 + 40);
    PutBitmapInfoHeader(out, width, height, 24, imageSize, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const Rgb& p = pixelsTopDown[static_cast<std::size_t>(y) * width + x];
            Put8(out, p[2]);
            Put8(out, p[1]);
            Put8(out, p[0]);
        }
        out.insert(out.end(), static_cast<std::size_t>(stride - width * 3), 0);
    }
    out.insert(out.end(), static_cast<std::size_t>(trailingPad), 0);
    return out;
}

Bytes EncodeIcon16(const std::vector<unsigned char>& indices, const std::vector<Rgb>& palette,
                   const std::vector<unsigned char>& opaque)
{
    constexpr int kSize = 32;
    if (indices.size() != kSize * kSize || opaque.size() != kSize * kSize || palette.size() != 16)
        throw std::logic_error("icon needs 32 x 32 indices and mask and 16 colours");
    const std::uint32_t imageBytes = 40 + 16 * 4 + kSize * kSize / 2 + kSize * 4;
    Bytes out;
    Put16(out, 0); // reserved
    Put16(out, 1); // icon
    Put16(out, 1); // one image
    Put8(out, kSize);
    Put8(out, kSize);
    Put8(out, 16); // colours
    Put8(out, 0);
    Put16(out, 1); // planes
    Put16(out, 4); // bits per pixel
    Put32(out, imageBytes);
    Put32(out, 6 + 16);
    // The height counts the colour image and the mask together.
    PutBitmapInfoHeader(out, kSize, kSize * 2, 4, kSize * kSize / 2 + kSize * 4, 0);
    for (const Rgb& entry : palette) {
        Put8(out, entry[2]);
        Put8(out, entry[1]);
        Put8(out, entry[0]);
        Put8(out, 0);
    }
    for (int y = kSize - 1; y >= 0; --y) {
        for (int x = 0; x < kSize; x += 2) {
            const std::size_t i = static_cast<std::size_t>(y) * kSize + x;
            // Transparent pixels carry colour 0 so the mask alone decides.
            const unsigned hi = opaque[i] ? indices[i] & 15 : 0;
            const unsigned lo = opaque[i + 1] ? indices[i + 1] & 15 : 0;
            Put8(out, (hi << 4) | lo);
        }
    }
    for (int y = kSize - 1; y >= 0; --y) {
        for (int x = 0; x < kSize; x += 8) {
            unsigned bits = 0;
            for (int b = 0; b < 8; ++b) {
                if (!opaque[static_cast<std::size_t>(y) * kSize + x + b])
                    bits |= 0x80u >> b;
            }
            Put8(out, bits);
        }
    }
    return out;
}

Bytes EncodeInvisibleCursor()
{
    constexpr int kSize = 32;
    const std::uint32_t imageBytes = 40 + 2 * 4 + kSize * 4 * 2;
    Bytes out;
    Put16(out, 0);
    Put16(out, 2); // cursor
    Put16(out, 1);
    Put8(out, kSize);
    Put8(out, kSize);
    Put8(out, 2); // colours
    Put8(out, 0);
    Put16(out, 0); // hotspot x
    Put16(out, 0); // hotspot y
    Put32(out, imageBytes);
    Put32(out, 6 + 16);
    PutBitmapInfoHeader(out, kSize, kSize * 2, 1, kSize * 4 * 2, 0);
    Put32(out, 0x00000000); // black
    Put32(out, 0x00FFFFFF); // white
    // AND mask 1 with colour 0 everywhere: the screen shows through unchanged.
    out.insert(out.end(), kSize * 4, 0x00);
    out.insert(out.end(), kSize * 4, 0xFF);
    return out;
}

Bytes EncodeWave8(int channels, int samplesPerSecond, const std::vector<unsigned char>& samples,
                  const WaveInfoList& info)
{
    Bytes list;
    PutText(list, "INFO", 4);
    auto putInfo = [&list](const char* id, const std::string& text) {
        PutText(list, id, 4);
        Put32(list, static_cast<std::uint32_t>(text.size() + 1));
        PutText(list, text.c_str(), text.size() + 1);
        if ((text.size() + 1) & 1)
            Put8(list, 0);
    };
    putInfo("ICRD", info.creationDate);
    putInfo("ISFT", info.software);

    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size());
    Bytes out;
    PutText(out, "RIFF", 4);
    Put32(out, 4 + (8 + 16) + (8 + dataBytes + (dataBytes & 1)) + (8 + static_cast<std::uint32_t>(list.size())));
    PutText(out, "WAVE", 4);
    PutText(out, "fmt ", 4);
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, static_cast<unsigned>(channels));
    Put32(out, static_cast<std::uint32_t>(samplesPerSecond));
    Put32(out, static_cast<std::uint32_t>(samplesPerSecond * channels));
    Put16(out, static_cast<unsigned>(channels));
    Put16(out, 8);
    PutText(out, "data", 4);
    Put32(out, dataBytes);
    out.insert(out.end(), samples.begin(), samples.end());
    if (dataBytes & 1)
        Put8(out, 0x80);
    PutText(out, "LIST", 4);
    Put32(out, static_cast<std::uint32_t>(list.size()));
    out.insert(out.end(), list.begin(), list.end());
    return out;
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        throw std::runtime_error("cannot create " + path);
    const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file);
    const bool closed = std::fclose(file) == 0;
    if (written != bytes.size() || !closed)
        throw std::runtime_error("cannot write " + path);
}
