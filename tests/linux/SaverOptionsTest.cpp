#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "linux/Monitors.h"
#include "linux/SaverOptions.h"

namespace {
using Args = std::vector<std::string>;

SaverOptions Parse(const Args& args)
{
    const auto parsed = ParseSaverOptions(args);
    INFO(parsed.error);
    REQUIRE(parsed.options.has_value());
    return *parsed.options;
}

// Where -geometry and --size leave the window, written as X writes a geometry.
std::string Placement(const SaverOptions& o)
{
    std::string text = std::to_string(o.width) + "x" + std::to_string(o.height);
    if (o.position)
        text += (o.position->fromRight ? "-" : "+") + std::to_string(o.position->x) +
                (o.position->fromBottom ? "-" : "+") + std::to_string(o.position->y);
    return text;
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
        {{"--window-id=0x1a00005"}, SaverTarget::WindowId, 0x1a00005},
        {{"-window-id", "010"}, SaverTarget::WindowId, 10}, // decimal, never octal
        {{"-no-rain", "-s"}, SaverTarget::StandAlone, 0},
        {{"-fps", "--s", "-delay", "0"}, SaverTarget::StandAlone, 0},
        {{"/S"}, SaverTarget::StandAlone, 0},
        {{"-S", "-root"}, SaverTarget::Root, 0},
    };
    for (const auto& c : cases) {
        const SaverOptions options = Parse(c.args);
        CHECK(options.target == c.target);
        CHECK(options.windowId == c.windowId);
    }
}

TEST_CASE("refused command lines name the offending argument")
{
    const std::pair<Args, const char*> cases[] = {
        {{"-window-id"}, "needs ID"},
        {{"-window-id", "0x100000000"}, "'0x100000000'"},
        {{"s"}, "s: unknown"},
        {{"-root=1"}, "takes no value"},
        {{"--set", "rain=0"}, "'rain=0'"},
        {{"--set", "Rain=2"}, "'Rain' is not a whole number from 0 to 1"},
        {{"--set", "Width=-1"}, "from 1 to 16384"},
        {{"--set", "Depth=64"}, "from 8 to 32"},
        {{"-delay", "10000001"}, "'10000001'"},
        {{"-geometry", "0x480"}, "'0x480'"},
        {{"-geometry", "640x480+1+2junk"}, "junk"},
        {{"-geometry", "+32768+0"}, "offsets up to 32767"},
        {{"-geometry", "+0-40000"}, "offsets up to 32767"},
        {{"--frames", "0"}, "'0'"},
        {{"-monitors", "both"}, "'both' is not each, primary or span"},
    };
    for (const auto& [args, named] : cases) {
        const auto parsed = ParseSaverOptions(args);
        INFO(parsed.error);
        CHECK_FALSE(parsed.options.has_value());
        CHECK(parsed.error.find(named) != std::string::npos);
    }
}

TEST_CASE("switches and --set become overrides in command-line order; ranges are inclusive")
{
    const SaverOptions options = Parse({"-no-sounds", "-cross", "-low-quality", "--set", "Width=16384", "-set",
                                          "Depth=8", "-high-quality"});
    std::vector<std::pair<std::string, int>> overrides;
    for (const auto& o : options.overrides)
        overrides.emplace_back(o.name, o.value);
    CHECK(overrides == std::vector<std::pair<std::string, int>>{{"Sounds", 0}, {"Cross", 1}, {"HighQuality", 0},
                                                               {"Width", 16384}, {"Depth", 8}, {"HighQuality", 1}});
}

TEST_CASE("XScreenSaver's own options")
{
    CHECK(Parse({}).delayMicroseconds == 20000);
    CHECK(Parse({"--delay=0"}).delayMicroseconds == 0);
    CHECK_FALSE(Parse({"-fps", "--no-fps"}).fps);
    CHECK(Parse({"--sync"}).synchronous);
    CHECK(Parse({"-visual", "0x21"}).visualId == 0x21ul);
    CHECK_FALSE(Parse({"-visual", "TrueColor"}).visualId.has_value());
    const SaverOptions ignored = Parse({"-install", "--noinstall", "-mono", "-pair"});
    CHECK(ignored.overrides.empty());
    CHECK(ignored.target == SaverTarget::OwnWindow);
    for (const auto& [geometry, placed] : {std::pair{"640x480+10+20", "640x480+10+20"}, {"=320X200-0-5", "320x200-0-5"},
                                          {"+7-8", "800x600+7-8"}, {"1x1", "1x1"},
                                          {"-32767+32767", "800x600-32767+32767"}}) {
        INFO(geometry);
        CHECK(Placement(Parse({"-geometry", geometry})) == placed);
    }
}

TEST_CASE("the usage shows the defaults the options start from")
{
    const std::string usage = SaverUsage("arcveil3d");
    for (const char* shown : {"-size WxH                picture or own window size (default 800x600)\n",
                              "(default 20000; 0: back to back)\n", "-help                    this text\n"})
        CHECK(usage.find(shown) != std::string::npos);
}

TEST_CASE("-monitors: a view on each monitor by default, the primary alone, or one over all")
{
    const std::vector<MonitorRect> monitors = {{0, 0, 800, 600}, {800, 0, 640, 480}};
    const std::pair<Args, std::size_t> cases[] = {
        {{}, 2}, {{"-monitors", "each"}, 2}, {{"--monitors=primary"}, 1}, {{"-monitors", "span"}, 0}};
    for (const auto& [args, views] : cases) {
        const std::vector<MonitorRect> chosen = ChosenMonitors(monitors, Parse(args).monitors);
        CHECK(chosen.size() == views);
        CHECK((chosen.empty() || chosen[0].width == 800));
    }
}
