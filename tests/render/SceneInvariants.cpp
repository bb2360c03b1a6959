#include "tests/render/SceneInvariants.h"

#include <cmath>

#include "render/FrameClock.h"
#include "render/SceneArrays.h"

namespace {

bool Finite(const Vec3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

} // namespace

TimingBefore TimingOf(const CGLDrawer& drawer, std::uint32_t clockMs)
{
    return {drawer.m_sceneTime, clockMs};
}

std::string BrokenTimingRule(const CGLDrawer& d, const TimingBefore& before, std::uint32_t nowMs)
{
    for (double value : {d.m_lastTime, d.m_sceneTime, d.m_frameTime, d.m_lightningClock, d.m_lightningDone,
                         d.m_flashClock, d.m_flashDone, d.m_glyphScroll}) {
        if (!std::isfinite(value))
            return "a time is not finite";
    }
    const std::uint32_t elapsedMs = nowMs - before.clockMs; // modulo 2^32, as the clock wraps
    const double expectedStep = std::fmin(elapsedMs * 0.001, kMaxFrameStep);
    if (std::fabs(d.m_frameTime - expectedStep) > 1e-6)
        return "frame step " + std::to_string(d.m_frameTime) + " for " + std::to_string(elapsedMs) + " ms";
    if (std::fabs(d.m_sceneTime - before.sceneTime - d.m_frameTime) > 1e-6)
        return "scene time did not advance by the frame step";
    if (d.m_lastTime != nowMs * 0.001)
        return "last time is not the clock reading";
    if (d.m_lightningClock != d.m_sceneTime || d.m_flashClock != d.m_sceneTime)
        return "the timers' clocks left the scene time";
    const double lightningBehind = d.m_lightningClock - d.m_lightningDone;
    if (lightningBehind < -1e-6 || lightningBehind >= d.m_lightningStep + 1e-6)
        return "lightning timer " + std::to_string(lightningBehind) + " s behind";
    const double flashBehind = d.m_flashClock - d.m_flashDone;
    if (flashBehind < -1e-6 || flashBehind >= d.m_flashStep + 1e-6)
        return "flash timer " + std::to_string(flashBehind) + " s behind";
    return {};
}

std::string BrokenCameraRule(const CGLDrawer& d)
{
    for (const Vec3* v : {&d.m_cornerUL, &d.m_cornerUR, &d.m_cornerLR, &d.m_cornerLL, &d.m_viewNormal}) {
        if (!Finite(*v))
            return "a camera axis is not finite";
    }
    const Vec3& n = d.m_viewNormal;
    if (std::fabs(n.x * n.x + n.y * n.y + n.z * n.z - 1.0f) > 1e-4f)
        return "the view normal is not a unit vector";
    // The eye circles at distance 10 between heights 1 and 9 around the look-at height 5.
    if (std::fabs(n.z) > 4.0 / std::sqrt(116.0) + 1e-4)
        return "the eye left its band of heights";
    return {};
}

std::string BrokenLayerRule(const CGLDrawer& d)
{
    for (const Vec3& drop : g_rainDrops) {
        if (!Finite(drop) || drop.z < -2.0f || drop.z > 20.0f)
            return "a rain drop at height " + std::to_string(drop.z);
    }
    if (!(d.m_glyphScroll >= 0.0 && d.m_glyphScroll < 47.0))
        return "glyph scroll at " + std::to_string(d.m_glyphScroll);
    return {};
}

std::string BrokenSceneRule(const CGLDrawer& d)
{
    std::string broken = BrokenCameraRule(d);
    return broken.empty() ? BrokenLayerRule(d) : broken;
}

float CloudDriftAt(double sceneTime)
{
    return static_cast<float>(CloudTextureOffset(sceneTime));
}

std::string BrokenCloudDrift(float before, float after, double sceneStep)
{
    if (!(after >= 0.0f && after <= 1.0f))
        return "cloud drift at " + std::to_string(after);
    const double moved = std::fabs(static_cast<double>(after) - before);
    const double around = std::fmin(moved, 1.0 - moved);
    const double expected = std::fmod(0.2 * sceneStep, 1.0);
    if (std::fabs(around - std::fmin(expected, 1.0 - expected)) > 1e-4)
        return "cloud drift moved " + std::to_string(around) + " instead of " + std::to_string(expected);
    return {};
}
