#include "Glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cmath>
#include <stdexcept>

namespace {

void Check(FT_Error error, const char* what)
{
    if (error != 0)
        throw std::runtime_error(std::string("FreeType: ") + what + " failed");
}

void Blit(GreyRaster& mask, const FT_Bitmap& bitmap, int left, int top)
{
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        for (unsigned col = 0; col < bitmap.width; ++col) {
            const int x = left + static_cast<int>(col);
            const int y = top + static_cast<int>(row);
            if (x < 0 || y < 0 || x >= mask.width || y >= mask.height)
                continue;
            const float coverage = bitmap.buffer[row * static_cast<unsigned>(bitmap.pitch) + col] / 255.0f;
            mask.At(x, y) = std::min(1.0f, mask.At(x, y) + coverage);
        }
    }
}

} // namespace

FontFace::FontFace(const std::string& path)
{
    Check(FT_Init_FreeType(&m_library), "initialisation");
    if (FT_New_Face(m_library, path.c_str(), 0, &m_face) != 0) {
        FT_Done_FreeType(m_library);
        throw std::runtime_error("FreeType: cannot open font " + path);
    }
}

FontFace::~FontFace()
{
    FT_Done_Face(m_face);
    FT_Done_FreeType(m_library);
}

bool FontFace::HasGlyph(unsigned long codePoint) const { return FT_Get_Char_Index(m_face, codePoint) != 0; }

void FontFace::Metrics(int pixelSize, float& ascender, float& descender)
{
    Check(FT_Set_Pixel_Sizes(m_face, 0, static_cast<FT_UInt>(pixelSize)), "size");
    const float scale = static_cast<float>(pixelSize) / static_cast<float>(m_face->units_per_EM);
    ascender = static_cast<float>(m_face->ascender) * scale;
    descender = -static_cast<float>(m_face->descender) * scale;
}

void FontFace::LoadRendered(unsigned long codePoint, int pixelSize, float embolden)
{
    // Outlines that are thickened are drawn unhinted (the hints would fight the new
    // stroke widths); plain glyphs use the font's own hinting, for crisp small letters.
    const bool hinted = embolden <= 0.0f;
    FT_Set_Transform(m_face, nullptr, nullptr);
    Check(FT_Set_Pixel_Sizes(m_face, 0, static_cast<FT_UInt>(pixelSize)), "size");
    const FT_UInt index = FT_Get_Char_Index(m_face, codePoint);
    if (index == 0)
        throw std::runtime_error("font has no glyph for U+" + std::to_string(codePoint));
    Check(FT_Load_Glyph(m_face, index, FT_LOAD_NO_BITMAP | (hinted ? FT_LOAD_TARGET_NORMAL : FT_LOAD_NO_HINTING)), "glyph load");
    if (!hinted)
        Check(FT_Outline_Embolden(&m_face->glyph->outline, static_cast<FT_Pos>(std::lround(embolden * 64.0f))), "embolden");
    Check(FT_Render_Glyph(m_face->glyph, FT_RENDER_MODE_NORMAL), "render");
}

void FontFace::DrawGlyph(GreyRaster& mask, unsigned long codePoint, int pixelSize, int x, int y, float embolden)
{
    LoadRendered(codePoint, pixelSize, embolden);
    const FT_GlyphSlot slot = m_face->glyph;
    Blit(mask, slot->bitmap, x + slot->bitmap_left, y - slot->bitmap_top);
}

void FontFace::GlyphBox(unsigned long codePoint, int pixelSize, float embolden, int& left, int& top, int& width, int& height)
{
    LoadRendered(codePoint, pixelSize, embolden);
    const FT_GlyphSlot slot = m_face->glyph;
    left = slot->bitmap_left;
    top = -slot->bitmap_top;
    width = static_cast<int>(slot->bitmap.width);
    height = static_cast<int>(slot->bitmap.rows);
}

float FontFace::DrawText(GreyRaster& mask, const std::string& text, int pixelSize, float x, float y, float angle)
{
    Check(FT_Set_Pixel_Sizes(m_face, 0, static_cast<FT_UInt>(pixelSize)), "size");
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    FT_Matrix matrix{static_cast<FT_Fixed>(std::lround(c * 65536.0)), static_cast<FT_Fixed>(std::lround(-s * 65536.0)),
                     static_cast<FT_Fixed>(std::lround(s * 65536.0)), static_cast<FT_Fixed>(std::lround(c * 65536.0))};
    // The pen runs in FreeType's y-up space; the mask's rows run downward.
    FT_Vector pen{0, 0};
    for (unsigned char ch : text) {
        FT_Set_Transform(m_face, &matrix, &pen);
        const FT_UInt index = FT_Get_Char_Index(m_face, ch);
        Check(FT_Load_Glyph(m_face, index, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING), "glyph load");
        Check(FT_Render_Glyph(m_face->glyph, FT_RENDER_MODE_NORMAL), "render");
        const FT_GlyphSlot slot = m_face->glyph;
        Blit(mask, slot->bitmap, static_cast<int>(std::lround(x)) + slot->bitmap_left,
             static_cast<int>(std::lround(y)) - slot->bitmap_top);
        pen.x += slot->advance.x;
        pen.y += slot->advance.y;
    }
    FT_Set_Transform(m_face, nullptr, nullptr);
    return static_cast<float>(std::hypot(static_cast<double>(pen.x), static_cast<double>(pen.y)) / 64.0);
}

float FontFace::TextWidth(const std::string& text, int pixelSize)
{
    Check(FT_Set_Pixel_Sizes(m_face, 0, static_cast<FT_UInt>(pixelSize)), "size");
    FT_Set_Transform(m_face, nullptr, nullptr);
    float width = 0.0f;
    for (unsigned char ch : text) {
        Check(FT_Load_Glyph(m_face, FT_Get_Char_Index(m_face, ch), FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING), "glyph load");
        width += static_cast<float>(m_face->glyph->advance.x) / 64.0f;
    }
    return width;
}
