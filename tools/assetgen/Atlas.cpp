// The 16 x 16 glyph atlas: printable ASCII in cells 0x20..0x7E, sixteen hieroglyphs in
// 0xF0..0xFF, every other cell exactly empty.
#include "Artwork.h"
#include "Glyphs.h"

#include <cmath>
#include <stdexcept>

// Compact signs that stay recognisable at 16 pixels: seated man, seated god, eye, hare,
// vulture, falcon, owl, quail chick, cobra, beetle, reed, sun, star, heart, pillar, life.
const unsigned long kSymbolCodePoints[16] = {
    0x13000, 0x1302D, 0x13080, 0x130F9, 0x1313F, 0x13143, 0x13153, 0x13171,
    0x13193, 0x131A3, 0x131CB, 0x131F3, 0x131FC, 0x13124, 0x132BD, 0x132F9,
};

namespace {

constexpr int kCell = 16;
// Glyphs keep one empty pixel on every side of their cell, so filtering at a cell's
// edge never picks up a neighbour's ink.
constexpr int kInk = kCell - 2;

void DrawAscii(GreyRaster& atlas, FontFace& mono)
{
    // The largest size whose ascender and descender fit the inked area.
    int size = 16;
    float ascender = 0, descender = 0;
    for (;; --size) {
        mono.Metrics(size, ascender, descender);
        if (std::ceil(ascender) + std::ceil(descender) <= kInk + 1)
            break;
    }
    const int baseline = 1 + static_cast<int>(std::lround(ascender)) - 1;
    for (int code = 0x21; code <= 0x7E; ++code) {
        int left = 0, top = 0, width = 0, height = 0;
        mono.GlyphBox(static_cast<unsigned long>(code), size, 0.0f, left, top, width, height);
        // Centre each glyph's ink horizontally in its cell: the cells are drawn wider
        // than the font's advance anyway.
        const int cellX = (code % 16) * kCell;
        const int cellY = (code / 16) * kCell;
        const int x = cellX + (kCell - width) / 2 - left;
        int y = cellY + baseline;
        // Keep the ink inside the border: shift glyphs that reach past it (rare: '|', '_').
        if (y + top < cellY + 1)
            y = cellY + 1 - top;
        if (y + top + height > cellY + kCell - 1)
            y = cellY + kCell - 1 - top - height;
        GreyRaster cell(atlas.width, atlas.height);
        mono.DrawGlyph(atlas, static_cast<unsigned long>(code), size, x, y);
    }
}

void DrawSymbols(GreyRaster& atlas, FontFace& symbols)
{
    constexpr float kEmbolden = 0.9f; // pixels of extra stroke, so thin lines survive 16 px
    for (int i = 0; i < 16; ++i) {
        const unsigned long codePoint = kSymbolCodePoints[i];
        if (!symbols.HasGlyph(codePoint))
            throw std::runtime_error("symbol font lacks a hieroglyph");
        // The largest size at which the emboldened ink fits the inked area.
        int size = 40;
        int left = 0, top = 0, width = 0, height = 0;
        for (; size > 4; --size) {
            symbols.GlyphBox(codePoint, size, kEmbolden, left, top, width, height);
            if (width <= kInk && height <= kInk)
                break;
        }
        const int code = 0xF0 + i;
        const int cellX = (code % 16) * kCell;
        const int cellY = (code / 16) * kCell;
        const int x = cellX + (kCell - width) / 2 - left;
        const int y = cellY + (kCell - height) / 2 - top;
        symbols.DrawGlyph(atlas, codePoint, size, x, y, kEmbolden);
    }
}

} // namespace

GreyRaster PaintGlyphAtlas(FontFace& mono, FontFace& symbols)
{
    GreyRaster atlas(256, 256);
    DrawAscii(atlas, mono);
    DrawSymbols(atlas, symbols);
    return atlas;
}
