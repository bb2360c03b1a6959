// Long runs through the renderer's timing with a fake clock: the state stays finite,
// bounded and consistent for as long as a saver may run, across the wrap of the
// millisecond clock, and a long run of drawn frames neither grows memory nor leaks.
#include <doctest/doctest.h>

#include <malloc.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "tests/render/SceneFixture.h"
#include "tests/render/SceneInvariants.h"

namespace {

constexpr std::uint32_t kMsPerDay = 24u * 60u * 60u * 1000u;

// The texture offset the cloud layer drew with in the last frame: the t of the first
// vertex of its first strip (row 0, so nothing but the drift).
float DrawnCloudDrift(const CGLDrawer& drawer)
{
    for (const rgl::Primitive& primitive : rgl::Primitives()) {
        if (primitive.texture == drawer.m_texCloud && primitive.mode == GL_TRIANGLE_STRIP)
            return rgl::Vertices()[primitive.first].t;
    }
    return NAN;
}

// One drawn frame `ms` after the last, checked; `drift` carries the drawn cloud offset
// from frame to frame (negative: nothing to compare with yet).
std::string DrawnFrame(SceneFixture& scene, std::uint32_t ms, float& drift)
{
    const TimingBefore before = TimingOf(*scene.drawer, scene.clock.Now());
    scene.Frame(ms);
    std::string broken = BrokenTimingRule(*scene.drawer, before, scene.clock.Now());
    if (broken.empty())
        broken = BrokenSceneRule(*scene.drawer);
    const float drawn = DrawnCloudDrift(*scene.drawer);
    if (broken.empty() && drift >= 0.0f)
        broken = BrokenCloudDrift(drift, drawn, scene.drawer->m_sceneTime - before.sceneTime);
    if (broken.empty() && drawn != CloudDriftAt(scene.drawer->m_sceneTime))
        broken = "the clouds were drawn with another offset";
    drift = drawn;
    return broken;
}

} // namespace

TEST_CASE("fifty days of a running saver keep the timing finite, bounded and consistent")
{
    // A slow machine: a frame every four seconds, each limited to 0.1 s of scene; every
    // tenth day, and the day of the wrap, starts with four seconds of drawn 60 Hz
    // frames. The millisecond clock wraps after 49.7 days, in the middle of a drawn
    // stretch.
    constexpr std::uint32_t kDrawnFrames = 250;
    constexpr std::uint32_t kSlowFrameMs = 4000;
    static_assert(kMsPerDay % kSlowFrameMs == 0 && (kDrawnFrames * 16u) % kSlowFrameMs == 0, "whole days");
    SceneFixture scene(true, true, true, false);
    scene.clock.Set(0u - 49u * kMsPerDay - 2000u); // the wrap comes 2 s into day 49
    scene.drawer->Init();

    long frames = 0;
    std::string broken;
    for (int day = 0; day < 50 && broken.empty(); ++day) {
        const bool drawnDay = day % 10 == 0 || day == 49;
        float drift = -1.0f; // compared within a drawn stretch only
        for (std::uint32_t frame = 0; drawnDay && frame < kDrawnFrames && broken.empty(); ++frame, ++frames)
            broken = DrawnFrame(scene, 16, drift);
        const std::uint32_t rest = (kMsPerDay - (drawnDay ? kDrawnFrames * 16u : 0u)) / kSlowFrameMs;
        for (std::uint32_t slow = 0; slow < rest && broken.empty(); ++slow, ++frames) {
            const TimingBefore before = TimingOf(*scene.drawer, scene.clock.Now());
            scene.clock.Advance(kSlowFrameMs);
            CGLDrawerProbe::AdvanceTime(*scene.drawer);
            broken = BrokenTimingRule(*scene.drawer, before, scene.clock.Now());
        }
        INFO("day " << day << ", frame " << frames << ", clock " << scene.clock.Now() << " ms, scene "
                    << scene.drawer->m_sceneTime << " s");
        CHECK(broken == "");
    }
    CHECK(rgl::ErrorCount() == 0);
    // 50 days of frames, the clock wrapped once.
    CHECK(frames == 6L * (kDrawnFrames + 21599) + 44L * 21600);
    CHECK(scene.clock.Now() < 2u * kMsPerDay);
    CHECK(scene.drawer->m_sceneTime ==
          doctest::Approx(6 * (kDrawnFrames * 0.016 + 21599 * 0.1) + 44 * 21600 * 0.1).epsilon(1e-6));
}

TEST_CASE("a scene that has run for fifty days at full speed still moves smoothly")
{
    // Fifty days of 0.1 s frames would take hours to replay: set the scene clocks where
    // they would stand (each timer less than one step short of due), then draw frames
    // and watch every value that grows with time.
    SceneFixture scene;
    CGLDrawer& d = *scene.drawer;
    const double fiftyDays = 50.0 * 86400.0;
    d.m_sceneTime = d.m_lightningClock = d.m_flashClock = fiftyDays;
    d.m_lightningDone = std::floor(fiftyDays / d.m_lightningStep) * d.m_lightningStep;
    d.m_flashDone = std::floor(fiftyDays / d.m_flashStep) * d.m_flashStep;

    float drift = -1.0f;
    std::string broken;
    for (int frame = 0; frame < 600 && broken.empty(); ++frame) {
        broken = DrawnFrame(scene, 16, drift);
        INFO("frame " << frame << ", scene " << d.m_sceneTime << " s");
        CHECK(broken == "");
    }
    CHECK(rgl::ErrorCount() == 0);
}

TEST_CASE("ten thousand drawn frames do not grow the heap")
{
    SceneFixture scene;
    rgl::SetLogging(false);
    for (int frame = 0; frame < 100; ++frame)
        scene.Frame(frame % 9 == 0 ? 400 : 16);
    const std::size_t inUseBefore = mallinfo2().uordblks;
    for (int frame = 0; frame < 10000; ++frame)
        scene.Frame(frame % 9 == 0 ? 400 : 16);
    const std::size_t inUseAfter = mallinfo2().uordblks;
    rgl::SetLogging(true);
    CHECK(rgl::ErrorCount() == 0);
    INFO("heap in use before " << inUseBefore << " bytes, after " << inUseAfter);
    CHECK(inUseAfter <= inUseBefore);
}
