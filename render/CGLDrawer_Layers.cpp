// The optional layers: the hieroglyph column, the crosslines and the rain.
#include "render/CGLDrawer.h"

#include <cmath>

#include "app/Settings.h"
#include "render/BoltLighting.h"
#include "render/SceneArrays.h"

namespace {

constexpr int kVisibleGlyphRows = 47;
constexpr double kGlyphRowHeight = 1.0 / 46;

} // namespace

void CGLDrawer::_DrawHieroglyphs()
{
    glDisable(GL_DEPTH_TEST);
    glColor4d(1.0, 1.0, 1.0, 0.3);

    const int base = static_cast<int>(m_glyphScroll);
    const double frac = m_glyphScroll - base;
    const float height = static_cast<float>(kGlyphRowHeight);
    int row = base;
    for (int m = 0; m < kVisibleGlyphRows; ++m) {
        if (row > kVisibleGlyphRows - 1)
            row = 0;
        const float y = static_cast<float>((m - frac) * kGlyphRowHeight);
        m_font.DrawString(0.75f, y, 0.025f, height, m_glyphRows[row]);
        ++row;
    }
}

void CGLDrawer::_DrawCrosslines()
{
    glPushAttrib(GL_ENABLE_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    m_font.Begin2D();
    for (int i = 0; i < 3; ++i) {
        const float d = static_cast<float>((std::sin(0.83 * m_sceneTime + 0.1 * i) + 1.0) * 0.5);
        glColor4f(0.0f, 0.05f * (i + 1), 0.0f, 1.0f);
        glBegin(GL_LINES);
        glVertex3f(0.0f, d, -0.5f);
        glVertex3f(1.0f, d, -0.5f);
        glVertex3f(0.0f, 1.0f - d, -0.5f);
        glVertex3f(1.0f, 1.0f - d, -0.5f);
        glVertex3f(d, 0.0f, -0.5f);
        glVertex3f(d, 1.0f, -0.5f);
        glVertex3f(1.0f - d, 0.0f, -0.5f);
        glVertex3f(1.0f - d, 1.0f, -0.5f);
        glEnd();
    }
    m_font.End2D();
    glPopAttrib();
}

void CGLDrawer::_DrawRain()
{
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_CULL_FACE);
    glBindTexture(GL_TEXTURE_2D, m_texRain);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    const Vec3 streak{0.0f, 0.0f, 2.0f};
    for (const Vec3& drop : g_rainDrops) {
        Vec3 color;
        ComputeBoltLighting(drop.x, drop.y, m_boltShow, color);
        glColor3fv(&color.x);
        Vec3 top;
        Vec3Add(drop, streak, top);
        LongSprite(top, drop, 0.05f);
    }
    glPopAttrib();
}

void CGLDrawer::_MoveLayers()
{
    // Drawn before moved: a frame shows where the previous frame left them. A layer that
    // is off stands still.
    if (G_Settings.Hieroglyphs != 0) {
        m_glyphScroll += 10.0 * m_frameTime;
        // The excess over a whole loop is dropped: the column restarts at exactly 0.
        if (static_cast<int>(m_glyphScroll) > kVisibleGlyphRows - 1)
            m_glyphScroll = 0.0;
    }
    if (G_Settings.Rain != 0) {
        for (Vec3& drop : g_rainDrops) {
            drop.z = static_cast<float>(drop.z - 20.0 * m_frameTime);
            if (drop.z < -2.0f)
                drop.z = static_cast<float>(drop.z + 22.0);
        }
    }
}
