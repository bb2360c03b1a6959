#include <doctest/doctest.h>

#include <cmath>
#include <vector>

#include "render/FrameClock.h"
#include "tests/render/SceneFixture.h"

namespace {

// Frame indices at which each timer stepped, over `frames` frames of `ms` each.
struct TimerTrace {
    std::vector<int> lightning;
    std::vector<int> flash;
};

TimerTrace TraceTimers(SceneFixture& scene, int frames, std::uint32_t ms)
{
    TimerTrace trace;
    for (int i = 0; i < frames; ++i) {
        const double lightningBefore = scene.drawer->m_lightningDone;
        const double flashBefore = scene.drawer->m_flashDone;
        scene.clock.Advance(ms);
        CGLDrawerProbe::AdvanceTime(*scene.drawer);
        const long lightningSteps = std::lround((scene.drawer->m_lightningDone - lightningBefore) / 0.35);
        const long flashSteps = std::lround((scene.drawer->m_flashDone - flashBefore) / 0.05);
        for (long k = 0; k < lightningSteps; ++k)
            trace.lightning.push_back(i);
        for (long k = 0; k < flashSteps; ++k)
            trace.flash.push_back(i);
    }
    return trace;
}

std::vector<int> Gaps(const std::vector<int>& at)
{
    std::vector<int> gaps;
    for (std::size_t i = 1; i < at.size(); ++i)
        gaps.push_back(at[i] - at[i - 1]);
    return gaps;
}

} // namespace

TEST_CASE("the frame step is limited to 0.1 s")
{
    CHECK(LimitedFrameStep(10.0, 10.1) == 10.1 - 10.0);
    CHECK(LimitedFrameStep(0.0, 0.1) == 0.1);
    CHECK(LimitedFrameStep(0.0, 0.1000001) == 0.1);
    CHECK(LimitedFrameStep(0.0, 5.0) == 0.1);
    CHECK(LimitedFrameStep(3.0, 3.0) == 0.0);
}

TEST_CASE("a step measured across the clock wrap is the time that really elapsed")
{
    const double beforeWrap = 4294967276.0 * 0.001; // 20 ms before the wrap
    CHECK(LimitedFrameStep(beforeWrap, 0.010) == doctest::Approx(0.030).epsilon(1e-9));
    CHECK(LimitedFrameStep(beforeWrap, 0.0) == doctest::Approx(0.020).epsilon(1e-9));
    // Across the wrap after a long pause: limited like any other pause.
    CHECK(LimitedFrameStep(1000.0, 3.0) == 0.1);
    // A reading that was never a clock value does not move the scene backwards.
    CHECK(LimitedFrameStep(1e12, 0.0) == 0.0);
}

TEST_CASE("timer counts are never taken from a negative or huge quotient")
{
    CHECK(DueTimerSteps(1.0, 1.0, 0.35) == 0u);
    CHECK(DueTimerSteps(1.0, 2.0, 0.35) == 0u);
    CHECK(DueTimerSteps(0.7, 0.0, 0.35) == 2u);
    CHECK(DueTimerSteps(0.69, 0.0, 0.35) == 1u);
    CHECK(DueTimerSteps(1e300, 0.0, 0.05) == 4294967295u);
}

TEST_CASE("the first frame measures from set-up")
{
    SUBCASE("a quick first frame")
    {
        SceneFixture scene(true, true, true, true);
        scene.clock.Advance(30);
        CGLDrawerProbe::AdvanceTime(*scene.drawer);
        CHECK(scene.drawer->m_frameTime == doctest::Approx(0.030));
        CHECK(scene.drawer->m_sceneTime == doctest::Approx(0.030));
    }
    SUBCASE("set-up longer than 0.1 s ago")
    {
        SceneFixture scene;
        scene.clock.Advance(2500);
        scene.Frame(0);
        CHECK(scene.drawer->m_frameTime == 0.1);
        CHECK(scene.drawer->m_sceneTime == 0.1);
        CHECK(scene.drawer->m_lastTime == doctest::Approx(3.5));
    }
}

TEST_CASE("steady 0.02 s frames step lightning every 17th or 18th frame and flashes every 2nd or 3rd")
{
    SceneFixture scene(false, false, false);
    const TimerTrace trace = TraceTimers(scene, 400, 20);
    REQUIRE(trace.lightning.size() >= 20);
    REQUIRE(trace.flash.size() >= 150);
    int seventeen = 0, eighteen = 0;
    for (int gap : Gaps(trace.lightning)) {
        CHECK((gap == 17 || gap == 18));
        seventeen += gap == 17;
        eighteen += gap == 18;
    }
    CHECK(seventeen > 0);
    CHECK(eighteen > 0);
    int two = 0, three = 0;
    for (int gap : Gaps(trace.flash)) {
        CHECK((gap == 2 || gap == 3));
        two += gap == 2;
        three += gap == 3;
    }
    CHECK(two > 0);
    CHECK(three > 0);
    // On average exactly the nominal rates: 400 frames are 8 s of scene time.
    CHECK(scene.drawer->m_sceneTime == doctest::Approx(8.0));
    CHECK(trace.lightning.size() == 22); // 8 / 0.35 = 22.86
    CHECK(trace.flash.size() == doctest::Approx(160).epsilon(0.01));
}

TEST_CASE("a long pause advances the scene by 0.1 s and makes nothing up later")
{
    SceneFixture scene(false, false, false);
    scene.Frame(20);
    const double sceneBefore = scene.drawer->m_sceneTime;
    const double lightningBefore = scene.drawer->m_lightningDone;
    const double flashBefore = scene.drawer->m_flashDone;
    scene.Frame(7000);
    CHECK(scene.drawer->m_sceneTime - sceneBefore == doctest::Approx(0.1));
    CHECK(scene.drawer->m_lightningDone - lightningBefore <= 0.35 + 1e-9);
    CHECK(scene.drawer->m_flashDone - flashBefore <= 0.10 + 1e-9);
    const double sceneAfterPause = scene.drawer->m_sceneTime;
    scene.Frame(20);
    CHECK(scene.drawer->m_sceneTime - sceneAfterPause == doctest::Approx(0.02));
}

TEST_CASE("the scene carries on smoothly across the wrap of the millisecond clock")
{
    SceneFixture scene(false, false, false, false);
    scene.clock.Set(4294967296u - 205); // the wrap comes after 10 frames
    scene.drawer->Init();
    double lastScene = 0.0;
    int lightningSteps = 0;
    for (int i = 0; i < 40; ++i) {
        const double lightningBefore = scene.drawer->m_lightningDone;
        scene.clock.Advance(20);
        CGLDrawerProbe::AdvanceTime(*scene.drawer);
        INFO("frame " << i << " at " << scene.clock.Now() << " ms");
        CHECK(scene.drawer->m_frameTime == doctest::Approx(0.020).epsilon(1e-6));
        CHECK(scene.drawer->m_sceneTime - lastScene == doctest::Approx(0.020).epsilon(1e-6));
        lastScene = scene.drawer->m_sceneTime;
        lightningSteps += static_cast<int>(std::lround((scene.drawer->m_lightningDone - lightningBefore) / 0.35));
    }
    CHECK(scene.clock.Now() < 1000u);
    CHECK(lightningSteps == 2); // 0.8 s: as without a wrap
    CHECK(scene.drawer->m_lastTime == doctest::Approx(scene.clock.Now() * 0.001));
}

TEST_CASE("days of running with long pauses keep the timing finite and bounded")
{
    SceneFixture scene(false, false, false);
    // An hour between frames wraps the clock after about 1200 frames.
    bool wrapped = false;
    std::uint32_t previous = scene.clock.Now();
    for (int i = 0; i < 1400; ++i) {
        scene.clock.Advance(3600u * 1000u);
        wrapped = wrapped || scene.clock.Now() < previous;
        previous = scene.clock.Now();
        CGLDrawerProbe::AdvanceTime(*scene.drawer);
        REQUIRE(scene.drawer->m_frameTime >= 0.0);
        REQUIRE(scene.drawer->m_frameTime <= 0.1);
        REQUIRE(scene.drawer->m_lightningClock - scene.drawer->m_lightningDone < 0.35 + 1e-9);
        REQUIRE(scene.drawer->m_flashClock - scene.drawer->m_flashDone < 0.05 + 1e-9);
    }
    CHECK(wrapped);
    CHECK(scene.drawer->m_sceneTime == doctest::Approx(140.0));
}

TEST_CASE("the cloud drift stays smooth however long the scene has run")
{
    // Two days: a float of 0.2 t no longer resolves a 60 Hz step (its spacing there is
    // 1/256 of a repeat, more than the 1/300 a frame moves), so the offset is reduced first.
    const double start = 2 * 86400.0 + 0.123;
    for (int i = 0; i < 100; ++i) {
        const double t0 = start + i / 60.0;
        const double t1 = start + (i + 1) / 60.0;
        const float s0 = static_cast<float>(CloudTextureOffset(t0));
        const float s1 = static_cast<float>(CloudTextureOffset(t1));
        REQUIRE(s0 >= 0.0f);
        REQUIRE(s0 < 1.0f);
        double step = static_cast<double>(s1) - s0;
        if (step < 0)
            step += 1.0; // passed a whole repeat
        CHECK(step == doctest::Approx(0.2 / 60).epsilon(1e-3));
    }
    CHECK(CloudTextureOffset(0.0) == 0.0);
    CHECK(CloudTextureOffset(2.5) == doctest::Approx(0.5));
    CHECK(CloudTextureOffset(5.0) == doctest::Approx(0.0).epsilon(1e-12));
}
