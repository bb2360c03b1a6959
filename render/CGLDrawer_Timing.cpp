// Frame timing, the two fixed-step timers, the lightning and flash steps, the random ring.
#include "render/CGLDrawer.h"

#include <algorithm>
#include <utility>

#include "app/CallChain.h"
#include "app/Settings.h"
#include "platform/Clock.h"
#include "platform/CrtRandom.h"
#include "render/FrameClock.h"
#include "render/SceneArrays.h"

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

namespace {

// Whether views[i] overlaps one after it in the list (drawn before it).
bool OverlapsLater(const std::vector<SceneView>& views, std::size_t i)
{
    const SceneView& a = views[i];
    return std::any_of(views.begin() + static_cast<std::ptrdiff_t>(i) + 1, views.end(), [&a](const SceneView& b) {
        return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
    });
}

} // namespace

void CGLDrawer::_DrawViews()
{
    GLint viewport[4];
    GLint scissor[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_SCISSOR_BOX, scissor);
    // The scissor keeps each view's wide lines off its neighbours, as a window's edge does.
    glPushAttrib(GL_ENABLE_BIT);
    glEnable(GL_SCISSOR_TEST);
    // The primary last: where another monitor overlaps it, it still shows its whole
    // one-monitor picture.
    for (std::size_t i = m_views.size(); i-- > 0;) {
        const SceneView& view = m_views[i];
        glViewport(view.x, view.y, view.width, view.height);
        glScissor(view.x, view.y, view.width, view.height);
        // Nothing of a view drawn before hides this one where they overlap. Only then: a
        // cleared box costs the driver as many fragments as it has pixels.
        if (OverlapsLater(m_views, i))
            glClear(GL_DEPTH_BUFFER_BIT);
        // Every view shows the same bolts: the ring is replayed for each.
        m_randIndex = 0;
        SetupCamera(view.lens);
        DrawGeometry();
    }
    glPopAttrib();
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glScissor(scissor[0], scissor[1], scissor[2], scissor[3]);
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
