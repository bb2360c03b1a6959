// The glyph atlas: which cells hold ink, and that the ink keeps off the cell borders.
#include "AssetFiles.h"
#include "assets/TgaDecode.h"

#include <doctest/doctest.h>

namespace {

struct Cell {
    int maxAlpha = 0;
    int inkPixels = 0;   // alpha above 64
    int maxBorder = 0;   // the cell's outermost ring of pixels
    int maxInterior = 0;
};

// Cell c: column c mod 16, row c div 16 counted from the top of the picture.
Cell Measure(const TgaImage& atlas, int code)
{
    Cell cell;
    const int left = (code % 16) * 16;
    const int top = (code / 16) * 16;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const int row = 255 - (top + y); // stored bottom-up
            const unsigned char* p = &atlas.rgba[(static_cast<std::size_t>(row) * 256 + left + x) * 4];
            const int a = p[3];
            cell.maxAlpha = std::max(cell.maxAlpha, a);
            cell.inkPixels += a > 64;
            const bool border = x == 0 || y == 0 || x == 15 || y == 15;
            (border ? cell.maxBorder : cell.maxInterior) = std::max(border ? cell.maxBorder : cell.maxInterior, a);
        }
    }
    return cell;
}

TgaImage LoadAtlas()
{
    const ByteVector bytes = RawResource(139);
    auto atlas = DecodeTGA(bytes.data(), bytes.size());
    REQUIRE(atlas);
    REQUIRE(atlas->width == 256);
    REQUIRE(atlas->height == 256);
    return *atlas;
}

} // namespace

TEST_CASE("the atlas is white, with ink only as opacity")
{
    const TgaImage atlas = LoadAtlas();
    for (std::size_t i = 0; i < atlas.rgba.size(); i += 4)
        REQUIRE((atlas.rgba[i] == 255 && atlas.rgba[i + 1] == 255 && atlas.rgba[i + 2] == 255));
}

TEST_CASE("printable ASCII and the sixteen symbols are inked; every other cell is empty")
{
    const TgaImage atlas = LoadAtlas();
    for (int code = 0; code < 256; ++code) {
        CAPTURE(code);
        const Cell cell = Measure(atlas, code);
        if ((code > 0x20 && code <= 0x7E) || code >= 0xF0) {
            CHECK(cell.maxAlpha >= 200);
            CHECK(cell.inkPixels >= (code >= 0xF0 ? 20 : 2));
        } else {
            // Blank space, control codes, 0x7F..0xEF (the overlay's gaps 0xEC..0xEF too):
            // nothing inside, at most a faint trace along the edges.
            CHECK(cell.maxInterior == 0);
            CHECK(cell.maxBorder <= 5);
        }
    }
}

TEST_CASE("glyphs keep off their cell's outer ring, so filtering never reaches a neighbour")
{
    const TgaImage atlas = LoadAtlas();
    for (int code = 0; code < 256; ++code) {
        CAPTURE(code);
        CHECK(Measure(atlas, code).maxBorder == 0);
    }
}

TEST_CASE("the symbols are bold enough to read at 16 pixels")
{
    const TgaImage atlas = LoadAtlas();
    for (int code = 0xF0; code <= 0xFF; ++code) {
        CAPTURE(code);
        const Cell cell = Measure(atlas, code);
        CHECK(cell.inkPixels >= 30);
        CHECK(cell.maxAlpha == 255);
    }
}
