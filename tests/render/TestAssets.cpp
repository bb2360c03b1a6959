#include "tests/render/TestAssets.h"

#include <cmath>
#include <map>

#include "platform/Resources.h"

namespace {

void PutHeader(std::vector<unsigned char>& out, bool colourMapped, int width, int height)
{
    const unsigned char header[18] = {
        0,                                      // no image ID
        static_cast<unsigned char>(colourMapped ? 1 : 0),
        static_cast<unsigned char>(colourMapped ? 1 : 3),
        0, 0,                                   // first map entry
        static_cast<unsigned char>(colourMapped ? 0 : 0), static_cast<unsigned char>(colourMapped ? 1 : 0), // 256 entries
        static_cast<unsigned char>(colourMapped ? 24 : 0),
        0, 0, 0, 0,
        static_cast<unsigned char>(width & 255), static_cast<unsigned char>(width >> 8),
        static_cast<unsigned char>(height & 255), static_cast<unsigned char>(height >> 8),
        8, 0x08};
    out.insert(out.end(), header, header + 18);
}

void PutFooter(std::vector<unsigned char>& out)
{
    const unsigned char zeros[8] = {};
    out.insert(out.end(), zeros, zeros + 8);
    const char signature[] = "TRUEVISION-XFILE.";
    out.insert(out.end(), signature, signature + sizeof signature);
}

// A small deterministic hash for texture noise, apart from the scene's generator.
std::uint8_t Noise(int x, int y, int seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                      static_cast<std::uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<std::uint8_t>(h >> 24);
}

std::vector<std::uint8_t> GreyPalette(int r, int g, int b)
{
    std::vector<std::uint8_t> palette;
    for (int i = 0; i < 256; ++i) {
        palette.push_back(static_cast<std::uint8_t>(r * i / 255));
        palette.push_back(static_cast<std::uint8_t>(g * i / 255));
        palette.push_back(static_cast<std::uint8_t>(b * i / 255));
    }
    return palette;
}

std::map<int, std::vector<unsigned char>>& Table()
{
    static std::map<int, std::vector<unsigned char>> table;
    return table;
}

void BuildTable()
{
    auto& table = Table();
    if (!table.empty())
        return;

    // Glow: round, falling to black well inside the square.
    std::vector<std::uint8_t> glow(64 * 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const double r = std::hypot(x - 31.5, y - 31.5) / 28.0;
            glow[y * 64 + x] = static_cast<std::uint8_t>(r >= 1.0 ? 0 : 255 * (1 - r) * (1 - r));
        }
    table[133] = MakeColourMappedTga(64, 64, glow, GreyPalette(255, 255, 255));

    // Sky: dark blue with sparse stars.
    std::vector<std::uint8_t> sky(64 * 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            sky[y * 64 + x] = Noise(x, y, 1) > 250 ? 255 : static_cast<std::uint8_t>(40 + Noise(x, y, 2) % 20);
    table[137] = MakeColourMappedTga(64, 64, sky, GreyPalette(160, 170, 255));

    // Clouds: grey blobs.
    std::vector<std::uint8_t> clouds(64 * 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            clouds[y * 64 + x] = static_cast<std::uint8_t>(
                127 + 120 * std::sin(x * 2 * M_PI / 64) * std::cos(y * 4 * M_PI / 64));
    table[138] = MakeGreyTga(64, 64, clouds);

    // Atlas: a filled block in every printable and symbol cell, empty elsewhere.
    std::vector<std::uint8_t> atlas(256 * 256, 0);
    for (int code = 0; code < 256; ++code) {
        const bool filled = (code >= 0x21 && code <= 0x7E) || code >= 0xF0;
        if (!filled)
            continue;
        const int cellX = code % 16;
        const int cellRowFromTop = code / 16;
        for (int y = 3; y < 13; ++y)
            for (int x = 3; x < 13; ++x) {
                // Stored bottom row first: the top cell row is at the end of the data.
                const int row = 255 - (cellRowFromTop * 16 + y);
                atlas[row * 256 + cellX * 16 + x] = 255;
            }
    }
    table[139] = MakeGreyTga(256, 256, atlas);

    // Ground: bright sand with grain.
    std::vector<std::uint8_t> ground(64 * 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            ground[y * 64 + x] = static_cast<std::uint8_t>(180 + Noise(x, y, 3) % 60);
    table[140] = MakeColourMappedTga(64, 64, ground, GreyPalette(255, 220, 160));

    // Rain: a narrow streak on black.
    std::vector<std::uint8_t> rain(64 * 64, 0);
    for (int y = 0; y < 64; ++y)
        for (int x = 28; x < 36; ++x)
            rain[y * 64 + x] = static_cast<std::uint8_t>(255 - y * 3);
    table[141] = MakeColourMappedTga(64, 64, rain, GreyPalette(255, 255, 255));
}

} // namespace

std::vector<unsigned char> MakeColourMappedTga(int width, int height, const std::vector<std::uint8_t>& indices,
                                               const std::vector<std::uint8_t>& paletteRgb)
{
    std::vector<unsigned char> out;
    PutHeader(out, true, width, height);
    for (int i = 0; i < 256; ++i) {
        out.push_back(paletteRgb[3 * i + 2]);
        out.push_back(paletteRgb[3 * i + 1]);
        out.push_back(paletteRgb[3 * i]);
    }
    out.insert(out.end(), indices.begin(), indices.end());
    PutFooter(out);
    return out;
}

std::vector<unsigned char> MakeGreyTga(int width, int height, const std::vector<std::uint8_t>& levels)
{
    std::vector<unsigned char> out;
    PutHeader(out, false, width, height);
    out.insert(out.end(), levels.begin(), levels.end());
    PutFooter(out);
    return out;
}

void InstallTestAssets()
{
    BuildTable();
    SetResourceLookup([](int id) -> std::optional<ResourceBytes> {
        const auto& table = Table();
        const auto found = table.find(id);
        if (found == table.end())
            return std::nullopt;
        return ResourceBytes{found->second.data(), found->second.size()};
    });
}

void RemoveTestAssets()
{
    SetResourceLookup({});
}
