#include "linux/FpsOverlay.h"

#include <cstdio>
#include <ctime>
#include <initializer_list>

#include "platform/GLHeaders.h"
#include "resources/ResourceIds.h"

namespace {

double ProcessCpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// On the screen: the atlas's cells at their own size, 16 pixels, advancing by a little
// more than the monospaced glyphs' width, which leave room on both sides of the cell.
constexpr float kCellPixels = 16.0f;
constexpr float kAdvancePixels = 9.0f;
constexpr float kMarginPixels = 4.0f;

} // namespace

CFpsOverlay::CFpsOverlay() : m_since(std::chrono::steady_clock::now()), m_cpuSince(ProcessCpuSeconds()) {}

void CFpsOverlay::Init()
{
    // The loader enables texturing and binds the new texture: the scene keeps its own.
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    m_font.Load(IDR_GLYPH_ATLAS, true);
    glPopClientAttrib();
    glPopAttrib();
}

void CFpsOverlay::Measure()
{
    ++m_frames;
    const auto now = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(now - m_since).count();
    if (seconds < 1.0)
        return;
    const double cpu = ProcessCpuSeconds();
    char text[32];
    std::snprintf(text, sizeof text, "FPS: %.1f", m_frames / seconds);
    m_rate = text;
    std::snprintf(text, sizeof text, "Load: %.1f%%", 100.0 * (cpu - m_cpuSince) / seconds);
    m_load = text;
    m_since = now;
    m_cpuSince = cpu;
    m_frames = 0;
}

void CFpsOverlay::Draw(int width, int height)
{
    Measure();
    if (width <= 0 || height <= 0)
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_DEPTH_BUFFER_BIT | GL_TEXTURE_BIT |
                 GL_TRANSFORM_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_TEXTURE_2D);
    const float pixelX = 1.0f / static_cast<float>(width);
    const float pixelY = 1.0f / static_cast<float>(height);
    // Positions in the font's unit square, y downward from the top: two lines above the
    // bottom margin, each drawn first as a dark shadow one pixel down and to the right,
    // which keeps the text readable over the lightning.
    const float top = 1.0f - (kMarginPixels + 2.0f * kCellPixels) * pixelY;
    for (const float shadow : {1.0f, 0.0f}) {
        const float grey = 1.0f - shadow;
        glColor4f(grey, grey, grey, 1.0f);
        for (int line = 0; line < 2; ++line) {
            const std::string& text = line == 0 ? m_rate : m_load;
            const float y = top + (static_cast<float>(line) * kCellPixels + shadow) * pixelY;
            for (std::size_t i = 0; i < text.size(); ++i) {
                const char glyph[2] = {text[i], '\0'};
                const float x = (kMarginPixels + shadow + static_cast<float>(i) * kAdvancePixels) * pixelX;
                m_font.DrawString(x, y, kCellPixels * pixelX, kCellPixels * pixelY, glyph);
            }
        }
    }
    glPopAttrib();
}
