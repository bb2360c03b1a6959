// The flash measure on sequences whose count is known by construction.
#include <doctest/doctest.h>

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

#include "tools/render/FlashMeasure.h"

namespace {

constexpr FlashKind kRed = FlashKind::Red;

// values in turn, each held for hold frames, frames in all; luminances, or red values.
std::vector<AreaLight> Repeat(std::initializer_list<double> values, int hold, int frames, bool red = false)
{
    std::vector<AreaLight> y;
    while (static_cast<int>(y.size()) < frames) {
        for (double v : values)
            y.insert(y.end(), hold, red ? AreaLight{0.0, v} : AreaLight{v, 0.0});
    }
    y.resize(frames);
    return y;
}

// Luminances held {value, frames} in turn, then drifting slowly to drift over 500 frames.
std::vector<AreaLight> Held(std::initializer_list<std::pair<double, int>> held, double drift)
{
    std::vector<AreaLight> y;
    for (const auto& [value, frames] : held)
        y.insert(y.end(), frames, AreaLight{value, 0.0});
    const double from = y.back().luminance;
    for (int i = 1; i <= 500; ++i)
        y.push_back({from + (drift - from) * i / 500, 0.0});
    return y;
}

std::vector<int> PerSecond(const std::vector<AreaLight>& y, int framesPerSecond, FlashKind kind = FlashKind::General)
{
    return TransitionsPerSecond(TransitionFrames(y, kind), y.size(), framesPerSecond);
}

} // namespace

TEST_CASE("the worst second of known sequences")
{
    const struct {
        const char* name;
        std::vector<AreaLight> y;
        int framesPerSecond;
        double worst;
        FlashKind kind = FlashKind::General;
    } cases[] = {
        {"changes under 0.1", Repeat({0.2, 0.29}, 3, 120), 60, 0.0},
        {"changes of exactly 0.1", Repeat({0.2, 0.3}, 3, 120), 60, 10.0},
        {"both states 0.8 or brighter", Repeat({0.8, 0.95}, 3, 120), 60, 0.0},
        {"the darker state just under 0.8", Repeat({0.79, 0.95}, 3, 120), 60, 10.0},
        {"a wiggle at the top does not split a rise and fall", Held({{0.1, 1}, {0.5, 1}, {0.45, 1}, {0.5, 1}, {0.1, 1}}, 0.1), 60, 1.0},
        {"one change every 10 frames: three a second", Repeat({0.2, 0.4}, 10, 240), 60, 3.0},
        {"one flash, then a slow darkening (seed 7)", Held({{0.025, 156}, {0.151, 6}, {0.027, 1}}, 0.022), 60, 1.0},
        {"two flashes 12 frames apart, then a slow darkening (seed 2026)",
         Held({{0.024, 296}, {0.198, 3}, {0.024, 6}, {0.195, 3}, {0.024, 1}}, 0.021), 60, 2.0},
        {"a saturated red switching at 10 Hz", Repeat({0, 40}, 3, 120, true), 60, 10.0, kRed},
        {"red changes of exactly 20", Repeat({10, 30}, 3, 120, true), 60, 0.0, kRed},
    };
    for (const auto& c : cases) {
        CAPTURE(c.name);
        const std::vector<int> perSecond = PerSecond(c.y, c.framesPerSecond, c.kind);
        CHECK(*std::max_element(perSecond.begin(), perSecond.end()) == 2 * c.worst);
    }
    // Dated where each change first completes, not at the turning points, 2 and 6.
    CHECK(TransitionFrames(Held({{0.1, 1}, {0.25, 1}, {0.3, 2}, {0.25, 1}, {0.15, 1}, {0.1, 2}}, 0.1),
                           FlashKind::General) == std::vector<std::size_t>{1, 5});
}

TEST_CASE("extended flashing: seconds in a row with 2 flashes or more")
{
    // A change every 15 frames from frame 15 on: 4 in every second from frame 1, the
    // fifth such second complete only from frame 301.
    CHECK(LongestFlashingRun(PerSecond(Repeat({0.2, 0.4}, 15, 320), 60), 60) == 5);
    CHECK(LongestFlashingRun(PerSecond(Repeat({0.2, 0.4}, 15, 300), 60), 60) == 4);
    CHECK(LongestFlashingRun(PerSecond(Repeat({0.2, 0.4}, 20, 600), 60), 60) == 0);
}

TEST_CASE("a screen of a layout measured on its own: luminance and saturated red, whole and quarters")
{
    // A 2 x 2 screen at x 1 of 3 x 2: white, pure red; an orange too pale for a saturated red, grey.
    const RgbImage image{3, 2, {0, 0, 0, 255, 255, 255, 255, 0, 0, 9, 9, 9, 255, 160, 0, 128, 128, 128}};
    const ScreenLight measured = MeasureScreen(image, {1, 0, 2, 2});
    const double luminance[] = {1.0, 0.2126, 0.464, 0.2159}, red[] = {0.0, 320.0, 0.0, 0.0};
    for (int q = 0; q < kQuarterCount; ++q)
        CHECK((measured.quarters[q].luminance == doctest::Approx(luminance[q]).epsilon(0.001) &&
               measured.quarters[q].red == doctest::Approx(red[q])));
    CHECK((measured.whole.red == doctest::Approx(80.0) && measured.whole.luminance == doctest::Approx(0.4731).epsilon(0.001)));
}
