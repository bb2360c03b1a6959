#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "app/ProgramOptions.h"
#include "tools/render/FrameFiles.h"

namespace {

bool Parse(const std::vector<const char*>& args, ProgramOptions& options, std::string& error)
{
    const ParsedOptions parsed = ParseProgramOptions(Program::Render, std::vector<std::string>(args.begin(), args.end()));
    error = parsed.error;
    if (parsed.options)
        options = *parsed.options;
    return parsed.options.has_value();
}

} // namespace

TEST_CASE("the offscreen renderer's options")
{
    ProgramOptions options;
    std::string error;

    SUBCASE("defaults")
    {
        REQUIRE(Parse({"--out", "a.png"}, options, error));
        CHECK(options.width == 1024);
        CHECK(options.height == 768);
        CHECK_FALSE(options.seed.has_value());
        CHECK(options.frames == 1);
        CHECK(*options.step == doctest::Approx(1.0 / 60));
        CHECK(options.overrides.empty());
    }
    SUBCASE("every option, in both spellings")
    {
        REQUIRE(Parse({"--size", "640x480", "--seed=42", "--frames", "30", "--step=0.05", "--set", "Rain=0",
                       "--set=HighQuality=0", "--bench"},
                      options, error));
        CHECK(options.width == 640);
        CHECK(options.height == 480);
        CHECK(options.seed == 42u);
        CHECK(options.frames == 30);
        CHECK(options.step == 0.05);
        REQUIRE(options.overrides.size() == 2);
        CHECK(options.overrides[0].name == "Rain");
        CHECK(options.overrides[0].value == 0);
        CHECK(options.overrides[1].name == "HighQuality");
        CHECK(options.bench);
    }
    SUBCASE("bad options name themselves in one line")
    {
        const std::vector<std::pair<std::vector<const char*>, const char*>> bad = {
            {{"--size", "640", "--bench"}, "--size"},
            {{"--size", "0x480", "--bench"}, "--size"},
            {{"--size", "640x480x3", "--bench"}, "--size"},
            {{"--seed", "-1", "--bench"}, "--seed"},
            {{"--seed", "4294967296", "--bench"}, "--seed"},
            {{"--frames", "0", "--bench"}, "--frames"},
            {{"--frames", "ten", "--bench"}, "--frames"},
            {{"--step", "-0.1", "--bench"}, "--step"},
            {{"--step", "nan", "--bench"}, "--step"},
            {{"--set", "Rain", "--bench"}, "--set"},
            {{"--set", "Snow=1", "--bench"}, "--set"},
            {{"--set", "Rain=yes", "--bench"}, "--set"},
            {{"--set", "rain=1", "--bench"}, "--set"},
            {{"--bench", "--out", "a.png"}, "--out"},
            {{"--frames"}, "--frames"},
            {{"--fast"}, "--fast"},
            {{"--bench=1"}, "--bench"},
            {{}, "--out"},
        };
        for (const auto& [args, option] : bad) {
            CAPTURE(option);
            CHECK_FALSE(Parse(args, options, error));
            CHECK(error.rfind(option, 0) == 0);
            CHECK(error.find('\n') == std::string::npos);
        }
    }
    SUBCASE("frame file names")
    {
        CHECK(HasFrameField("f%d.png"));
        CHECK(HasFrameField("f%04d.png"));
        CHECK_FALSE(HasFrameField("f.png"));
        CHECK_FALSE(HasFrameField("100%.png"));
        CHECK(FrameFileName("f%d.png", 7) == "f7.png");
        CHECK(FrameFileName("out/f%04d.png", 12) == "out/f0012.png");
        CHECK(FrameFileName("f%02d.png", 123) == "f123.png");
        CHECK(FrameFileName("last.png", 5) == "last.png");
    }
}
