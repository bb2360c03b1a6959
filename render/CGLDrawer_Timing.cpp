// Frame timing, the two fixed-step timers, the lightning and flash steps, the random ring.
#include "render/CGLDrawer.h"

#include <utility>

#include "app/CallChain.h"
#include "app/Settings.h"
#include "platform/Clock.h"
#include "platform/CrtRandom.h"
#include "render/FrameClock.h"
#include "render/SceneArrays.h"

void CGLDrawer::Skip()
{
    CHAIN_OPERATION("CGLDrawer::Skip");
    _AdvanceTime();
    _MoveLayers();
}

bool CGLDrawer::Draw()
{
    CHAIN_OPERATION("CGLDrawer::Draw");

    _AdvanceTime();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (m_views.empty()) {
        // Every frame replays the ring from the start: bolts keep their shape until the
        // next lightning step.
        m_randIndex = 0;
        SetupCamera();
        DrawGeometry();
    } else {
        _DrawViews();
    }
    _MoveLayers();
    return true;
}

void CGLDrawer::SetViews(std::vector<SceneView> views)
{
    m_views = std::move(views);
}

void CGLDrawer::_DrawViews()
{
    GLint viewport[4];
    GLint scissor[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_SCISSOR_BOX, scissor);
    const int windowHeight = viewport[1] + viewport[3];
    // The scissor keeps each view's wide lines off its neighbours, as a window's edge does.
    glPushAttrib(GL_ENABLE_BIT);
    glEnable(GL_SCISSOR_TEST);
    for (const ViewPass& pass : ViewPasses(m_views, windowHeight)) {
        const SceneView& view = m_views[pass.view];
        const int x = pass.viaCorner ? 0 : view.x;
        const int y = pass.viaCorner ? windowHeight - view.height : view.y;
        // A cleared box costs the driver a fragment a pixel: only where passes drew before.
        if (pass.clearWidth > 0) {
            glScissor(pass.clearX, pass.clearY, pass.clearWidth, pass.clearHeight);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        }
        glViewport(x, y, view.width, view.height);
        glScissor(x, y, view.width, view.height);
        // Every view shows the same bolts: the ring is replayed for each.
        m_randIndex = 0;
        SetupCamera(view.lens);
        DrawGeometry();
        if (pass.viaCorner)
            _CopyToPlace(x, y, view, viewport);
    }
    glPopAttrib();
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glScissor(scissor[0], scissor[1], scissor[2], scissor[3]);
}

void CGLDrawer::_CopyToPlace(int x, int y, const SceneView& view, const GLint (&window)[4])
{
    // The pixels as they are: no texture, blending, depth test or dither on the copy.
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_DITHER);
    glViewport(window[0], window[1], window[2], window[3]);
    glScissor(view.x, view.y, view.width, view.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(window[0], window[0] + window[2], window[1], window[1] + window[3], -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRasterPos2i(view.x, view.y);
    glCopyPixels(x, y, view.width, view.height, GL_COLOR);
    glPopAttrib();
}

void CGLDrawer::_AdvanceTime()
{
    const double now = static_cast<double>(ClockMilliseconds()) * 0.001;
    m_frameTime = LimitedFrameStep(m_lastTime, now);
    m_lastTime = now;
    m_sceneTime += m_frameTime;

    m_lightningClock += m_frameTime;
    const std::uint32_t lightningSteps = DueTimerSteps(m_lightningClock, m_lightningDone, m_lightningStep);
    m_lightningDone += lightningSteps * m_lightningStep;
    for (std::uint32_t i = 0; i < lightningSteps; ++i)
        _LightningUpdate();

    m_flashClock += m_frameTime;
    const std::uint32_t flashSteps = DueTimerSteps(m_flashClock, m_flashDone, m_flashStep);
    m_flashDone += flashSteps * m_flashStep;
    for (std::uint32_t i = 0; i < flashSteps; ++i)
        _FlashUpdate();
}

void CGLDrawer::_LightningUpdate()
{
    CHAIN_OPERATION("CGLDrawer::_LightningUpdate");

    for (std::int32_t& value : m_randRing)
        value = CrtRand();

    for (BoltRecord& bolt : m_bolts) {
        const int decision = CrtRand() & 3;
        if (decision > 1)
            continue; // same place, same colour; only the shape changes with the ring
        if (decision == 0) {
            bolt.start.x = static_cast<float>((CrtRand() % 100 * 0.01 - 0.5) * 100);
            bolt.start.y = static_cast<float>((CrtRand() % 100 * 0.01 - 0.5) * 100);
            bolt.start.z = 20.0f;
        }
        bolt.end.x = static_cast<float>((CrtRand() % 100 * 0.01 - 0.5) * 30 + bolt.start.x);
        bolt.end.y = static_cast<float>((CrtRand() % 100 * 0.01 - 0.5) * 30 + bolt.start.y);
        bolt.end.z = 0.0f;
        bolt.color.x = static_cast<float>(CrtRand() % 100 * 0.001);
        bolt.color.y = static_cast<float>(CrtRand() % 100 * 0.001);
        bolt.color.z = static_cast<float>(CrtRand() % 100 * 0.001);
    }
}

void CGLDrawer::_FlashUpdate()
{
    CHAIN_OPERATION("CGLDrawer::_FlashUpdate");

    for (std::int32_t& lit : g_boltFlash)
        lit = CrtRand() % 100 > 70 ? 1 : 0;
    // The steps of one frame (two at most) all take the time of its last one.
    if (G_Settings.Gentle != 0)
        m_gentleLight.FlashStep(m_flashDone, m_bolts, g_boltFlash, m_randRing);
}

// No chain entry: nothing in it can fail (see CGLDrawer_Bolt.cpp).
std::int32_t CGLDrawer::_MyRand()
{
    m_randIndex = (m_randIndex + 1) & (kRandRingSize - 1);
    return m_shapeRing[m_randIndex];
}
