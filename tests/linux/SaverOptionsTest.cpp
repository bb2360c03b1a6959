#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "linux/Monitors.h"
#include "linux/SaverOptions.h"

namespace {
using Args = std::vector<std::string>;

// What a command line asks for, as words in a fixed order; what it leaves as it starts
// (an own window of 800x600, -delay 20000) is left out. -geometry's place is written as
// X writes a geometry.
std::string Parsed(const Args& args)
{
    const auto parsed = ParseSaverOptions(args);
    INFO(parsed.error);
    REQUIRE(parsed.options.has_value());
    const SaverOptions& o = *parsed.options;
    std::string text;
    const auto add = [&text](bool shown, const std::string& word) { text += shown ? " " + word : ""; };
    const char* targets[] = {"", "root", "window-id", "s"}; // in SaverTarget's order
    add(o.target != SaverTarget::OwnWindow, targets[static_cast<int>(o.target)]);
    add(o.windowId != 0, std::to_string(o.windowId));
    add(o.width != 800 || o.height != 600 || o.position, std::to_string(o.width) + "x" + std::to_string(o.height));
    if (const auto& at = o.position)
        text += (at->fromRight ? "-" : "+") + std::to_string(at->x) + (at->fromBottom ? "-" : "+") + std::to_string(at->y);
    add(o.delayMicroseconds != 20000, "delay " + std::to_string(o.delayMicroseconds));
    add(o.fps, "fps");
    add(o.synchronous, "sync");
    add(o.visualId.has_value(), "visual " + std::to_string(o.visualId.value_or(0)));
    add(o.monitors != MonitorChoice::Each, o.monitors == MonitorChoice::Primary ? "primary" : "span");
    for (const auto& override : o.overrides)
        add(true, override.name + "=" + std::to_string(override.value));
    return text.empty() ? text : text.substr(1);
}
} // namespace

TEST_CASE("accepted command lines: in any order, one or two dashes, switches and --set in order, ranges inclusive")
{
    const std::pair<Args, const char*> cases[] = {
        {{}, ""}, {{"--root"}, "root"}, {{"-root", "-window"}, ""}, {{"--window-id=0x1a00005"}, "window-id 27262981"},
        {{"-window-id", "010"}, "window-id 10"}, // decimal, never octal
        {{"-no-rain", "-s"}, "s Rain=0"}, {{"-fps", "--s", "--delay=0"}, "s delay 0 fps"}, {{"/S"}, "s"},
        {{"-S", "-root"}, "root"}, {{"-fps", "--no-fps", "--sync", "-visual", "0x21"}, "sync visual 33"},
        {{"-visual", "TrueColor", "-install", "--noinstall", "-mono", "-pair"}, ""},
        {{"-geometry", "640x480+10+20"}, "640x480+10+20"}, {{"-geometry", "=320X200-0-5"}, "320x200-0-5"},
        {{"-geometry", "+7-8"}, "800x600+7-8"}, {{"-geometry", "1x1"}, "1x1"},
        {{"-geometry", "-32767+32767"}, "800x600-32767+32767"}, {{"-monitors", "each"}, ""},
        {{"-monitors", "span", "--monitors=primary"}, "primary"}, {{"-monitors", "span"}, "span"},
        {{"-gentle", "--no-gentle"}, "Gentle=1 Gentle=0"},
        {{"-no-sounds", "-cross", "-low-quality", "--set", "Width=16384", "-set", "Depth=8", "-high-quality"},
         "Sounds=0 Cross=1 HighQuality=0 Width=16384 Depth=8 HighQuality=1"},
    };
    for (const auto& [args, parsed] : cases)
        CHECK(Parsed(args) == parsed);
}

TEST_CASE("refused command lines name the offending argument")
{
    const std::pair<Args, const char*> cases[] = {
        {{"-window-id"}, "needs ID"}, {{"-window-id", "0x100000000"}, "'0x100000000'"}, {{"s"}, "s: unknown"},
        {{"-root=1"}, "takes no value"}, {{"--set", "rain=0"}, "'rain=0'"},
        {{"--set", "Rain=2"}, "'Rain' is not a whole number from 0 to 1"}, {{"--set", "Width=-1"}, "from 1 to 16384"},
        {{"--set", "Depth=64"}, "from 8 to 32"}, {{"-delay", "10000001"}, "'10000001'"},
        {{"-geometry", "0x480"}, "'0x480'"}, {{"-geometry", "640x480+1+2junk"}, "junk"},
        {{"-geometry", "+32768+0"}, "offsets up to 32767"}, {{"-geometry", "+0-40000"}, "offsets up to 32767"},
        {{"--frames", "0"}, "'0'"}, {{"-monitors", "both"}, "'both' is not each, primary or span"},
    };
    for (const auto& [args, named] : cases) {
        const auto parsed = ParseSaverOptions(args);
        INFO(parsed.error);
        CHECK_FALSE(parsed.options.has_value());
        CHECK(parsed.error.find(named) != std::string::npos);
    }
}

TEST_CASE("the usage shows the defaults the options start from")
{
    const std::string usage = SaverUsage("arcveil3d");
    for (const char* shown : {"-size WxH                picture or own window size (default 800x600)\n",
                              "(default 20000; 0: back to back)\n", "-help                    this text\n"})
        CHECK(usage.find(shown) != std::string::npos);
}

TEST_CASE("-monitors: a view on each monitor, the primary alone, or one over all")
{
    const std::vector<MonitorRect> monitors = {{0, 0, 800, 600}, {800, 0, 640, 480}};
    CHECK(ChosenMonitors(monitors, MonitorChoice::Each).size() == 2);
    const std::vector<MonitorRect> primary = ChosenMonitors(monitors, MonitorChoice::Primary);
    CHECK((primary.size() == 1 && primary[0].width == 800));
    CHECK(ChosenMonitors(monitors, MonitorChoice::Span).empty());
}
