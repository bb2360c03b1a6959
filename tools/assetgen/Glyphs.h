#pragma once
// FreeType text and glyph rendering into coverage masks (0..1).
#include "Raster.h"

#include <string>

struct FT_LibraryRec_;
struct FT_FaceRec_;

class FontFace {
public:
    FontFace(const std::string& path);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    bool HasGlyph(unsigned long codePoint) const;
    // Ascender and descender (positive) in pixels at `pixelSize`.
    void Metrics(int pixelSize, float& ascender, float& descender);

    // Draws one glyph with its origin (pen position on the baseline) at (x, y) of `mask`,
    // adding coverage; `embolden` thickens strokes by that many pixels.
    void DrawGlyph(GreyRaster& mask, unsigned long codePoint, int pixelSize, int x, int y, float embolden = 0.0f);
    // The ink box of a glyph at `pixelSize` (pixels, y downward from the baseline), with
    // the same emboldening.
    void GlyphBox(unsigned long codePoint, int pixelSize, float embolden, int& left, int& top, int& width, int& height);

    // Draws ASCII text with its baseline starting at (x, y), rotated by `angle` radians
    // counter-clockwise about that point; returns the advance width in pixels.
    float DrawText(GreyRaster& mask, const std::string& text, int pixelSize, float x, float y, float angle = 0.0f);
    float TextWidth(const std::string& text, int pixelSize);

private:
    void LoadRendered(unsigned long codePoint, int pixelSize, float embolden);

    FT_LibraryRec_* m_library = nullptr;
    FT_FaceRec_* m_face = nullptr;
};
