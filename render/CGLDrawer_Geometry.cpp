// The frame's scene: grid and its bolt lighting, sky cone, cloud layer, ground, horizon
// band and bolts, then the optional layers. Each drawing step keeps the switches it
// changes inside a saved block and sets its own blend function.
#include "render/CGLDrawer.h"

#include <cmath>

#include "app/CallChain.h"
#include "app/Settings.h"
#include "render/BoltLighting.h"
#include "render/FrameClock.h"
#include "render/SceneArrays.h"

namespace {

constexpr double kAngleStep = 0.314159;
constexpr int kConeSegments = 20;

const Vec3& GridPoint(int j, int k)
{
    return g_gridPoints[kGridSide * j + k];
}

const Vec3& GridColor(int j, int k)
{
    return g_gridColors[kGridSide * j + k];
}

// Positions on the cone under the sky; colours from the lit bolts.
void BuildGrid(const BoltShow (&bolts)[kBoltCount])
{
    for (int j = 0; j < kGridSide; ++j) {
        for (int k = 0; k < kGridSide; ++k) {
            const double x = 10.0 * (j - 10);
            const double y = 10.0 * (k - 10);
            Vec3& point = g_gridPoints[kGridSide * j + k];
            point.x = static_cast<float>(x);
            point.y = static_cast<float>(y);
            point.z = static_cast<float>(30.0 - std::hypot(x, y) * 30 * 0.01);
            ComputeBoltLighting(x, y, bolts, g_gridColors[kGridSide * j + k]);
        }
    }
}

// Counter-clockwise seen from inside, so culling keeps it; the picture repeats twice
// from the apex to the rim.
void DrawSkyCone(GLuint texture)
{
    glColor3f(1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_TRIANGLES);
    for (int k = 0; k < kConeSegments; ++k) {
        const double a1 = (k + 1) * kAngleStep;
        const double a0 = k * kAngleStep;
        glTexCoord2f(1.0f, 1.0f);
        glVertex3f(0.0f, 0.0f, 30.0f);
        glTexCoord2d(1.0 + 2.0 * std::cos(a1), 1.0 + 2.0 * std::sin(a1));
        glVertex3d(100.0 * std::cos(a1), 100.0 * std::sin(a1), 0.0);
        glTexCoord2d(1.0 + 2.0 * std::cos(a0), 1.0 + 2.0 * std::sin(a0));
        glVertex3d(100.0 * std::cos(a0), 100.0 * std::sin(a0), 0.0);
    }
    glEnd();
}

// On the sky's cone, over the stars without depth, drifting toward -y; one repeat every
// two cells.
void DrawCloudLayer(GLuint texture, double sceneTime)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const float drift = static_cast<float>(CloudTextureOffset(sceneTime));
    for (int i = 0; i < kGridSide - 1; ++i) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int l = 0; l < kGridSide; ++l) {
            glColor3fv(&GridColor(l, i).x);
            glTexCoord2f(0.5f * l, 0.5f * i + drift);
            glVertex3fv(&GridPoint(l, i).x);
            glColor3fv(&GridColor(l, i + 1).x);
            glTexCoord2f(0.5f * l, 0.5f * (i + 1) + drift);
            glVertex3fv(&GridPoint(l, i + 1).x);
        }
        glEnd();
    }
}

// The grid flattened to z = 0, one still repeat per cell.
void DrawGround(GLuint texture)
{
    glDisable(GL_CULL_FACE);
    glBindTexture(GL_TEXTURE_2D, texture);
    for (int i = 0; i < kGridSide - 1; ++i) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int l = 0; l < kGridSide; ++l) {
            glColor3fv(&GridColor(l, i).x);
            glTexCoord2f(static_cast<float>(l), static_cast<float>(i));
            glVertex3f(GridPoint(l, i).x, GridPoint(l, i).y, 0.0f);
            glColor3fv(&GridColor(l, i + 1).x);
            glTexCoord2f(static_cast<float>(l), static_cast<float>(i + 1));
            glVertex3f(GridPoint(l, i + 1).x, GridPoint(l, i + 1).y, 0.0f);
        }
        glEnd();
    }
}

// Dark red haze on a ring of radius 100: opaque at z = 0, fading out 20 above and below,
// laid over everything before it (no depth test).
void DrawHorizonBand()
{
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBegin(GL_QUADS);
    for (int v = 0; v < kConeSegments; ++v) {
        const double a0 = v * kAngleStep;
        const double a1 = (v + 1) * kAngleStep;
        const float x0 = static_cast<float>(100.0 * std::cos(a0));
        const float y0 = static_cast<float>(100.0 * std::sin(a0));
        const float x1 = static_cast<float>(100.0 * std::cos(a1));
        const float y1 = static_cast<float>(100.0 * std::sin(a1));
        glColor4f(0.5f, 0.1f, 0.1f, 1.0f);
        glVertex3f(x1, y1, 0.0f);
        glVertex3f(x0, y0, 0.0f);
        glColor4f(0.5f, 0.1f, 0.1f, 0.0f);
        glVertex3f(x0, y0, 20.0f);
        glVertex3f(x1, y1, 20.0f);

        glVertex3f(x1, y1, -20.0f);
        glVertex3f(x0, y0, -20.0f);
        glColor4f(0.5f, 0.1f, 0.1f, 1.0f);
        glVertex3f(x0, y0, 0.0f);
        glVertex3f(x1, y1, 0.0f);
    }
    glEnd();
}

} // namespace

void CGLDrawer::DrawGeometry()
{
    CHAIN_OPERATION("CGLDrawer::DrawGeometry");

    if (G_Settings.Gentle != 0) {
        m_shapeRing = m_gentleLight.Show(m_flashClock, m_bolts, m_randRing, m_boltShow);
    } else {
        DesignedBoltShow(m_bolts, g_boltFlash, m_boltShow);
        m_shapeRing = m_randRing;
    }
    BuildGrid(m_boltShow);

    glPushAttrib(GL_ENABLE_BIT);
    DrawSkyCone(m_texSky);
    DrawCloudLayer(m_texCloud, m_sceneTime);
    glPopAttrib();

    glPushAttrib(GL_ENABLE_BIT);
    DrawGround(m_texGround);
    glPopAttrib();

    glPushAttrib(GL_ENABLE_BIT);
    DrawHorizonBand();
    glPopAttrib();

    // Both bolts run through the recursion every frame, lit or not, so each consumes the
    // same share of the ring and keeps its shape whatever the other one does.
    glPushAttrib(GL_ENABLE_BIT);
    glBindTexture(GL_TEXTURE_2D, m_texBolt);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glDepthMask(GL_FALSE);
    glColor3d(0.5, 0.5, 0.5);
    for (const BoltShow& show : m_boltShow) {
        g_boltVisible = show.visible;
        m_branchTarget = show.bolt.end;
        m_boltColor = show.bolt.color;
        ElectricBolt(show.bolt.start, 0.2f, show.bolt.end, 0.2f, 0);
    }
    glDepthMask(GL_TRUE);
    glPopAttrib();

    if (G_Settings.Hieroglyphs != 0) {
        glPushAttrib(GL_ENABLE_BIT);
        _DrawHieroglyphs();
        glPopAttrib();
    }
    if (G_Settings.Cross != 0)
        _DrawCrosslines();
    if (G_Settings.Rain != 0)
        _DrawRain();
}
