#pragma once
// The pictures, each painted into a float raster (top row first). Every tiling picture
// is built from periodic noise and wrapped drawing, so its edges meet seamlessly.
#include "FileFormats.h"
#include "Raster.h"

class FontFace;

GreyRaster PaintGlow();        // 64 x 64, soft white disc, exactly 0 well inside the edges
GreyRaster PaintRainDrop();    // 64 x 64, thin streak, brightest near the bottom, 0 elsewhere
ColourRaster PaintNightSky();  // 256 x 256, stars and a faint nebula, tiles
GreyRaster PaintClouds();      // 256 x 256, soft cloud cover as levels, tiles
ColourRaster PaintSand();      // 256 x 256, bright sandy soil, tiles

// 256 x 256 glyph atlas of 16 x 16 cells: ASCII from `mono`, symbols from `symbols`.
GreyRaster PaintGlyphAtlas(FontFace& mono, FontFace& symbols);

GreyRaster PaintDialogBackground(FontFace& title); // 256 x 255 light cloud levels with a watermark
ColourRaster PaintTitlePicture(FontFace& title, FontFace& caption); // 200 x 150

// 32 x 32 icon: indices into `palette` (16 colours) and an opacity mask.
void PaintIcon(std::vector<unsigned char>& indices, std::vector<Rgb>& palette, std::vector<unsigned char>& opaque);

// The hieroglyph code points placed at 0xF0..0xFF, in order.
extern const unsigned long kSymbolCodePoints[16];
