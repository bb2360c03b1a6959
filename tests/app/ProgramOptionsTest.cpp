#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "app/ProgramOptions.h"

namespace {
using Args = std::vector<std::string>;

ProgramOptions Parse(const Args& args)
{
    const ParsedOptions parsed = ParseProgramOptions(Program::Saver, args);
    INFO(parsed.error);
    REQUIRE(parsed.options.has_value());
    return *parsed.options;
}

// The refusal's text; fails the test when the line is accepted.
std::string Refusal(const Args& args)
{
    const ParsedOptions parsed = ParseProgramOptions(Program::Saver, args);
    CHECK_FALSE(parsed.options.has_value());
    return parsed.error;
}
} // namespace

TEST_CASE("targets, in any order, with one or two dashes")
{
    const struct {
        Args args;
        SaverTarget target;
        unsigned long windowId;
    } cases[] = {
        {{}, SaverTarget::OwnWindow, 0},
        {{"--root"}, SaverTarget::Root, 0},
        {{"-root", "-window"}, SaverTarget::OwnWindow, 0},
        {{"-window-id", "0x1a00005"}, SaverTarget::WindowId, 0x1a00005},
        {{"--window-id=27262981"}, SaverTarget::WindowId, 27262981},
        {{"-window-id", "010"}, SaverTarget::WindowId, 10}, // decimal, never octal
        {{"-window-id", "0XFF"}, SaverTarget::WindowId, 0xff},
        {{"-no-rain", "-s"}, SaverTarget::StandAlone, 0},
        {{"-fps", "--s", "-delay", "0"}, SaverTarget::StandAlone, 0},
        {{"/S"}, SaverTarget::StandAlone, 0},
        {{"-S", "-root"}, SaverTarget::Root, 0},
    };
    for (const auto& c : cases) {
        INFO((c.args.empty() ? std::string("(none)") : c.args[0]));
        const ProgramOptions options = Parse(c.args);
        CHECK(options.target == c.target);
        CHECK(options.windowId == c.windowId);
    }
}

TEST_CASE("refused command lines name the offending argument")
{
    const struct {
        Args args;
        const char* named;
    } cases[] = {
        {{"-window-id"}, "needs ID"},
        {{"-window-id", "0"}, "'0'"},
        {{"-window-id", "0x100000000"}, "'0x100000000'"},
        {{"-window-id", "12abc"}, "'12abc'"},
        {{"s"}, "s: unknown"},
        {{"-ss"}, "-ss: unknown"},
        {{"/c"}, "/c: unknown"},
        {{""}, "'': unknown"},
        {{"-root=1"}, "takes no value"},
        {{"--set", "rain=0"}, "'rain=0'"},
        {{"--set", "Rain=on"}, "'Rain' is not a whole number from 0 to 1"},
        {{"--set", "Rain=2"}, "from 0 to 1"},
        {{"--set", "Width=-1"}, "from 1 to 16384"},
        {{"--set", "Depth=64"}, "from 8 to 32"},
        {{"-delay", "-1"}, "'-1'"},
        {{"-delay", "10000001"}, "'10000001'"},
        {{"-geometry", "640x"}, "'640x'"},
        {{"-geometry", "0x480"}, "'0x480'"},
        {{"-geometry", "+10"}, "'+10'"},
        {{"-geometry", "640x480+1+2junk"}, "junk"},
        {{"-visual", "0"}, "'0'"},
        {{"--seed", "4294967296"}, "'4294967296'"},
        {{"--frames", "0"}, "'0'"},
        {{"--size", "160"}, "'160'"},
        {{"--step", "fast"}, "'fast'"},
    };
    for (const auto& c : cases) {
        INFO(c.args[0] << " " << (c.args.size() > 1 ? c.args[1] : ""));
        CHECK(Refusal(c.args).find(c.named) != std::string::npos);
    }
}

TEST_CASE("switches and --set become overrides in command-line order; ranges are inclusive")
{
    const ProgramOptions options = Parse({"-no-sounds", "-cross", "-no-hieroglyphs", "-rain", "-low-quality",
                                          "--set", "Width=16384", "-set", "Depth=8", "-high-quality"});
    const std::vector<std::pair<std::string, int>> expected = {
        {"Sounds", 0}, {"Cross", 1}, {"Hieroglyphs", 0}, {"Rain", 1}, {"HighQuality", 0},
        {"Width", 16384}, {"Depth", 8}, {"HighQuality", 1}};
    REQUIRE(options.overrides.size() == expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        CHECK(options.overrides[i].name == expected[i].first);
        CHECK(options.overrides[i].value == expected[i].second);
    }
}

TEST_CASE("XScreenSaver's own options")
{
    CHECK(Parse({}).delayMicroseconds == 20000);
    CHECK(Parse({"-delay", "0"}).delayMicroseconds == 0);
    CHECK(Parse({"--delay=10000000"}).delayMicroseconds == 10000000);
    CHECK(Parse({"-fps"}).fps);
    CHECK_FALSE(Parse({"-fps", "--no-fps"}).fps);
    CHECK(Parse({"--sync"}).synchronous);
    CHECK(Parse({"-visual", "0x21"}).visualId == 0x21ul);
    CHECK(Parse({"-visual", "33"}).visualId == 33ul);
    CHECK_FALSE(Parse({"-visual", "TrueColor"}).visualId.has_value());
    // Accepted and ignored: nothing else changes.
    const ProgramOptions ignored = Parse({"-install", "--noinstall", "-mono", "-pair", "-visual", "default"});
    CHECK(ignored.overrides.empty());
    CHECK(ignored.target == SaverTarget::OwnWindow);

    const struct {
        const char* geometry;
        int width, height;
        bool placed;
        int x, y;
        bool fromRight, fromBottom;
    } geometries[] = {
        {"640x480+10+20", 640, 480, true, 10, 20, false, false},
        {"=320X200-0-5", 320, 200, true, 0, 5, true, true},
        {"+7-8", 800, 600, true, 7, 8, false, true},
        {"1x1", 1, 1, false, 0, 0, false, false},
    };
    for (const auto& g : geometries) {
        INFO(g.geometry);
        const ProgramOptions options = Parse({"-geometry", g.geometry});
        CHECK(options.width == g.width);
        CHECK(options.height == g.height);
        REQUIRE(options.position.has_value() == g.placed);
        if (g.placed) {
            CHECK(options.position->x == g.x);
            CHECK(options.position->y == g.y);
            CHECK(options.position->fromRight == g.fromRight);
            CHECK(options.position->fromBottom == g.fromBottom);
        }
    }
}

TEST_CASE("repeatable runs, size, display and saving")
{
    const ProgramOptions options = Parse({"--seed", "4294967295", "--step", "0", "--frames", "3", "--size",
                                          "160x120", "-display", ":7", "--save", "-h"});
    CHECK(options.seed == 4294967295u);
    CHECK(options.step == 0.0); // a still scene, as in arcveil3d-render
    CHECK(options.frames == 3);
    CHECK(options.width == 160);
    CHECK(options.height == 120);
    CHECK(options.display == ":7");
    CHECK(options.saveSettings);
    CHECK(options.help);
    CHECK_FALSE(Parse({}).seed.has_value());
}
