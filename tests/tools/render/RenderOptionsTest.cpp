// arcveil3d-render's command line and the names of its frame files.
#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "tools/render/FrameFiles.h"
#include "tools/render/RenderOptions.h"

namespace {
using Args = std::vector<std::string>;
} // namespace

TEST_CASE("arcveil3d-render: its defaults, both spellings, and one of --out and --bench")
{
    const auto none = ParseRenderOptions({"--bench"});
    REQUIRE(none.options);
    CHECK((none.options->width == 1024 && none.options->height == 768));
    CHECK((none.options->frames == 1 && *none.options->step == doctest::Approx(1.0 / 60) && !none.options->seed));
    const auto all = ParseRenderOptions({"--seed=42", "--step", "0", "--out=f%d.png"});
    REQUIRE(all.options);
    CHECK((all.options->seed == 42u && all.options->step == 0.0 && all.options->out == "f%d.png"));
    for (const Args& refused : {Args{}, Args{"--bench", "--out", "a.png"}, Args{"-root", "--bench"}, Args{"--bench=1"},
                                Args{"--bench", "--size", "100x100", "--monitors", "50x50+0+60"},
                                Args{"--bench", "--monitors", "8x8+0+0x4x4+1+1"}, Args{"--bench", "--monitors", "8x8+0"},
                                Args{"--flashes", "--bench"}, Args{"--flashes", "--out", "a.png"},
                                Args{"--flashes", "--step", "0"}})
        CHECK_FALSE(ParseRenderOptions(refused).options);
    const auto layout = ParseRenderOptions({"--monitors", "8x6+4+0,4x4+0+1", "--size", "12x6", "--bench"});
    REQUIRE(layout.options);
    REQUIRE(layout.options->monitors.size() == 2);
    const MonitorRect& second = layout.options->monitors[1];
    CHECK((second.x == 0 && second.y == 1 && second.width == 4 && second.height == 4));
    for (const auto& [pattern, name] : {std::pair{"out/f%04d.png", "out/f0007.png"}, {"100%.png", "100%.png"}})
        CHECK(FrameFileName(pattern, 7) == name);
    CHECK((HasFrameField("a%02d") && !HasFrameField("a%x")));
}
