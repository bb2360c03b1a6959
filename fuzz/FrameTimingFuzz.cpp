// The renderer's timing over any clock readings (steps, equal readings, any jump, the
// 32-bit wrap), from a fresh scene or one that has run for years.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "app/Settings.h"
#include "fuzz/Require.h"
#include "platform/Clock.h"
#include "platform/CrtRandom.h"
#include "render/CGLDrawer.h"
#include "render/FrameClock.h"
#include "render/SceneArrays.h"
#include "tests/render/RecordingGL.h"

namespace {
std::uint32_t g_now = 0;

// One scene set up once; every input starts from a copy of its state after set-up.
struct Start {
    CGLDrawer initial;
    Vec3 rain[kRainDropCount];
    Start()
    {
        rgl::Reset();
        G_Settings = DefaultSettings();
        SetClockSource([] { return g_now; });
        initial.Init();
        std::copy(std::begin(g_rainDrops), std::end(g_rainDrops), rain);
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Start start;
    static CGLDrawer d;
    d = start.initial;
    std::copy(std::begin(start.rain), std::end(start.rain), g_rainDrops);
    std::size_t at = 0;
    auto next = [&](int bytes) {
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= static_cast<std::uint32_t>(at < size ? data[at++] : 0) << (8 * i);
        return value;
    };
    g_now = next(4);
    d.m_lastTime = g_now * 0.001;
    const std::uint32_t flags = next(1);
    // The layers cost most of a frame: each input draws those it asks for.
    G_Settings.Rain = (flags >> 1) & 1;
    G_Settings.Hieroglyphs = (flags >> 2) & 1;
    G_Settings.Cross = (flags >> 3) & 1;
    if (flags & 1) { // a scene that has run up to about 34 years, its timers where the timing keeps them
        d.m_sceneTime = d.m_lightningClock = d.m_flashClock = next(4) * 0.25;
        d.m_lightningDone = std::floor(d.m_sceneTime / d.m_lightningStep) * d.m_lightningStep;
        d.m_flashDone = std::floor(d.m_sceneTime / d.m_flashStep) * d.m_flashStep;
    }
    for (int reading = 0; reading < 8 && at < size; ++reading) {
        const std::uint32_t kind = next(1), value = next(4), before = g_now;
        const double sceneBefore = d.m_sceneTime;
        g_now = kind % 3 == 0 ? g_now + value % 256 : kind % 3 == 1 ? g_now + value : value;
        d.Draw();
        const double step = std::min((g_now - before) * 0.001, kMaxFrameStep);
        const double lightningBehind = d.m_lightningClock - d.m_lightningDone;
        const double flashBehind = d.m_flashClock - d.m_flashDone;
        const double drift = CloudTextureOffset(d.m_sceneTime);
        Require(std::fabs(d.m_frameTime - step) < 1e-6 && std::fabs(d.m_sceneTime - sceneBefore - step) < 1e-6);
        Require(lightningBehind > -1e-6 && lightningBehind < d.m_lightningStep + 1e-6);
        Require(flashBehind > -1e-6 && flashBehind < d.m_flashStep + 1e-6);
        Require(d.m_glyphScroll >= 0.0 && d.m_glyphScroll < 47.0 && drift >= 0.0 && drift < 1.0);
        Require(rgl::FirstError().empty());
        for (const Vec3& drop : g_rainDrops)
            Require(drop.z >= -2.0f && drop.z <= 20.0f);
    }
    return 0;
}
