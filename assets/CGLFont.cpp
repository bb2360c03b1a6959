#include "assets/CGLFont.h"

#include "app/CallChain.h"
#include "assets/LoadTGAResource.h"

#include <cstring>

namespace {
constexpr float kCellSize = 0.0625f; // one sixteenth of the atlas
constexpr float kGlyphDepth = -0.5f;
} // namespace

void CGLFont::Load(int resourceId, bool smooth)
{
    CHAIN_OPERATION("CGLFont::Load");
    LoadTGAResource(resourceId, m_texture, smooth, GL_CLAMP);
}

void CGLFont::Begin2D()
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, 1.0, 0.0, 1.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void CGLFont::End2D()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void CGLFont::DrawString(float x, float y, float charWidth, float charHeight, const char* text)
{
    CHAIN_OPERATION("CGLFont::DrawString");
    Begin2D();
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_CULL_FACE);
    // Texturing stays as the loader left it (enabled); only the atlas is bound here.
    glBindTexture(GL_TEXTURE_2D, m_texture);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    const std::size_t length = std::strlen(text);
    const float top = 1.0f - y;
    const float bottom = top - charHeight;
    glBegin(GL_QUADS);
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned code = static_cast<unsigned char>(text[i]);
        const float s0 = static_cast<float>(code % 16) * kCellSize;
        const float s1 = s0 + kCellSize;
        const float t0 = 1.0f - static_cast<float>(code / 16) * kCellSize;
        const float t1 = t0 - kCellSize;
        const float left = static_cast<float>(i) * charWidth + x;
        const float right = left + charWidth;
        glTexCoord2f(s0, t0);
        glVertex3f(left, top, kGlyphDepth);
        glTexCoord2f(s1, t0);
        glVertex3f(right, top, kGlyphDepth);
        glTexCoord2f(s1, t1);
        glVertex3f(right, bottom, kGlyphDepth);
        glTexCoord2f(s0, t1);
        glVertex3f(left, bottom, kGlyphDepth);
    }
    glEnd();

    glPopAttrib();
    End2D();
}
