// The flash measure on sequences whose count is known by construction.
#include <doctest/doctest.h>

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "tools/render/FlashMeasure.h"

namespace {

// values in turn, each held for hold frames, frames in all.
std::vector<double> Repeat(std::initializer_list<double> values, int hold, int frames)
{
    std::vector<double> y;
    while (static_cast<int>(y.size()) < frames) {
        for (double v : values)
            y.insert(y.end(), hold, v);
    }
    y.resize(frames);
    return y;
}

} // namespace

TEST_CASE("the worst second of known luminance sequences")
{
    const struct {
        const char* name;
        std::vector<double> luminance;
        int framesPerSecond;
        double worst;
    } cases[] = {
        {"steady", Repeat({0.3}, 1, 120), 60, 0.0},
        {"switching at 10 Hz", Repeat({0.14, 0.49}, 3, 120), 60, 10.0},
        {"changes under 0.1", Repeat({0.2, 0.29}, 3, 120), 60, 0.0},
        {"changes of exactly 0.1", Repeat({0.2, 0.3}, 3, 120), 60, 10.0},
        {"both states 0.8 or brighter", Repeat({0.8, 0.95}, 3, 120), 60, 0.0},
        {"the darker state just under 0.8", Repeat({0.79, 0.95}, 3, 120), 60, 10.0},
        {"a rise in small steps is one transition", {0.1, 0.15, 0.2, 0.25, 0.3, 0.35, 0.4, 0.4}, 60, 0.5},
        {"a dip under 0.1 does not split a rise", {0.1, 0.3, 0.25, 0.5, 0.5}, 60, 0.5},
        {"a wiggle at the top does not split a rise and fall", {0.1, 0.5, 0.45, 0.5, 0.1}, 60, 1.0},
        {"one change every 10 frames: three a second", Repeat({0.2, 0.4}, 10, 240), 60, 3.0},
        {"one change every 9 frames: three and a half", Repeat({0.2, 0.4}, 9, 240), 60, 3.5},
        {"the same at 30 frames a second", Repeat({0.2, 0.4}, 10, 240), 30, 1.5},
        {"empty", {}, 60, 0.0},
    };
    for (const auto& c : cases) {
        CAPTURE(c.name);
        CHECK(WorstSecondFlashes(c.luminance, c.framesPerSecond) == c.worst);
    }
}

TEST_CASE("a transition ends at its later turning point")
{
    CHECK(TransitionEnds({0.1, 0.2, 0.4, 0.4, 0.3, 0.1, 0.1}) == std::vector<std::size_t>{2, 5});
}

TEST_CASE("the luminance of the whole frame and of each quarter, sRGB made linear")
{
    // 4 x 2: white in the top-left quarter, 50% sRGB grey (0.2159) in the bottom right.
    RgbImage image{4, 2, std::vector<unsigned char>(24, 0)};
    std::fill_n(image.pixels.begin(), 6, 255);
    std::fill_n(image.pixels.begin() + 18, 6, 128);
    const FrameLuminance measured = MeasureLuminance(image);
    const double expected[] = {1.0, 0.0, 0.0, 0.2159};
    for (int q = 0; q < kQuarterCount; ++q)
        CHECK(measured.quarters[q] == doctest::Approx(expected[q]).epsilon(0.001));
    CHECK(measured.whole == doctest::Approx((1.0 + 0.2159) / 4).epsilon(0.001));
}
