#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "app/ProgramOptions.h"

namespace {
ProgramOptions Parse(const std::vector<std::string>& args)
{
    const ParsedOptions parsed = ParseProgramOptions(Program::Saver, args);
    INFO(parsed.error);
    REQUIRE(parsed.options.has_value());
    return *parsed.options;
}

std::string Refusal(const std::vector<std::string>& args)
{
    const ParsedOptions parsed = ParseProgramOptions(Program::Saver, args);
    CHECK_FALSE(parsed.options.has_value());
    return parsed.error;
}
} // namespace

TEST_CASE("no option gives a window of its own, as every XScreenSaver module does")
{
    const ProgramOptions options = Parse({});
    CHECK(options.target == SaverTarget::OwnWindow);
    CHECK(options.overrides.empty());
    CHECK_FALSE(options.saveSettings);
    CHECK(options.frames == 0);
}

TEST_CASE("the XScreenSaver targets, with one or two dashes")
{
    CHECK(Parse({"-root"}).target == SaverTarget::Root);
    CHECK(Parse({"--root"}).target == SaverTarget::Root);
    CHECK(Parse({"-window"}).target == SaverTarget::OwnWindow);
    CHECK(Parse({"-root", "-window"}).target == SaverTarget::OwnWindow);

    const ProgramOptions hex = Parse({"-window-id", "0x1a00005"});
    CHECK(hex.target == SaverTarget::WindowId);
    CHECK(hex.windowId == 0x1a00005ul);
    CHECK(Parse({"--window-id", "27262981"}).windowId == 27262981ul);
    // Decimal, never octal: a leading zero is not a base.
    CHECK(Parse({"-window-id", "010"}).windowId == 10ul);
    CHECK(Parse({"-window-id", "0XFF"}).windowId == 0xfful);
}

TEST_CASE("window ids that are refused")
{
    CHECK(Refusal({"-window-id"}).find("needs ID") != std::string::npos);
    for (const char* bad : {"0", "0x", "0x0", "-5", "12abc", "0xfg", "", "4294967296", "0x100000000", "1e3"}) {
        INFO(bad);
        CHECK(Refusal({"-window-id", bad}).find(std::string("'") + bad + "'") != std::string::npos);
    }
    CHECK(ParseWindowId("0xffffffff") == 0xfffffffful);
    CHECK(ParseWindowId(" 42 ") == 42ul);
    CHECK_FALSE(ParseWindowId(nullptr).has_value());
}

TEST_CASE("stand-alone: the first argument's letter, as on Windows")
{
    for (const char* argument : {"-s", "/s", "-S", "s", "/save", " s"}) {
        INFO(argument);
        CHECK(Parse({argument}).target == SaverTarget::StandAlone);
    }
    // Only one prefix character is skipped; only the first argument is a letter.
    CHECK(Refusal({"--s"}).rfind("--s:", 0) == 0);
    CHECK(Refusal({"-root", "-s"}).rfind("-s:", 0) == 0);
    CHECK(Refusal({"/c"}).rfind("/c:", 0) == 0);
    CHECK(Refusal({""}).find("''") != std::string::npos);
    // Stand-alone still takes the other options after it.
    const ProgramOptions options = Parse({"/s", "-no-rain"});
    CHECK(options.target == SaverTarget::StandAlone);
    REQUIRE(options.overrides.size() == 1);
    CHECK(options.overrides[0].name == "Rain");
}

TEST_CASE("switches and --set become overrides in command-line order")
{
    const ProgramOptions options = Parse({"-no-sounds", "-cross", "-no-hieroglyphs", "-rain", "-low-quality",
                                        "--set", "Width=1024", "-set", "Cross=0", "-high-quality"});
    const std::vector<std::pair<std::string, int>> expected = {
        {"Sounds", 0}, {"Cross", 1}, {"Hieroglyphs", 0}, {"Rain", 1}, {"HighQuality", 0},
        {"Width", 1024}, {"Cross", 0}, {"HighQuality", 1}};
    REQUIRE(options.overrides.size() == expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        CHECK(options.overrides[i].name == expected[i].first);
        CHECK(options.overrides[i].value == expected[i].second);
    }
    CHECK(Parse({"--set", "Depth=-32"}).overrides[0].value == -32);
    CHECK(Parse({"--set", "Width=2147483647"}).overrides[0].value == 2147483647);
    CHECK(Parse({"--set", "Width=-2147483648"}).overrides[0].value == -2147483647 - 1);
}

TEST_CASE("--set refuses unknown names and values that are not 32-bit integers")
{
    CHECK(Refusal({"--set", "rain=0"}).find("'rain=0'") != std::string::npos);
    CHECK(Refusal({"--set", "Rain"}).find("'Rain'") != std::string::npos);
    CHECK(Refusal({"--set", "=1"}).find("'=1'") != std::string::npos);
    for (const char* bad : {"Rain=", "Rain=on", "Rain=1.5", "Rain=2147483648", "Rain=-2147483649", "Rain=0x1"}) {
        INFO(bad);
        CHECK(Refusal({"--set", bad}).find("'Rain'") != std::string::npos);
    }
    CHECK(Refusal({"--set"}).find("NAME=VALUE") != std::string::npos);
}

TEST_CASE("repeatable runs, size, display and saving")
{
    const ProgramOptions options = Parse({"--seed", "4294967295", "--step", "0.02", "--frames", "3", "--size",
                                        "160x120", "-display", ":7", "--save"});
    CHECK(options.seed == 4294967295u);
    CHECK(options.step == doctest::Approx(0.02));
    CHECK(options.frames == 3);
    CHECK(options.width == 160);
    CHECK(options.height == 120);
    CHECK(options.display == ":7");
    CHECK(options.saveSettings);
    CHECK_FALSE(Parse({}).seed.has_value());

    CHECK_FALSE(ParseProgramOptions(Program::Saver, {"--seed", "-1"}).options);
    CHECK_FALSE(ParseProgramOptions(Program::Saver, {"--seed", "4294967296"}).options);
    // A step of 0 is a still scene, as in arcveil3d-render.
    CHECK(Parse({"--step", "0"}).step == 0.0);
    CHECK_FALSE(ParseProgramOptions(Program::Saver, {"--step", "fast"}).options);
    CHECK_FALSE(ParseProgramOptions(Program::Saver, {"--frames", "0"}).options);
    CHECK_FALSE(ParseProgramOptions(Program::Saver, {"--size", "160"}).options);
    CHECK_FALSE(ParseProgramOptions(Program::Saver, {"--size", "0x120"}).options);
    CHECK(Parse({"-h"}).help);
    CHECK(Parse({"--help"}).help);
}

TEST_CASE("the usage lists every option the parser accepts")
{
    const std::string usage = ProgramUsage(Program::Saver, "arcveil3d");
    for (const char* name : {"-root", "-window-id ID", "-window ", "-no-sounds", "-no-cross", "-no-hieroglyphs",
                             "-no-rain", "-low-quality", "-high-quality", "-set NAME=VALUE", "-save", "-frames N"}) {
        INFO(name);
        CHECK(usage.find(name) != std::string::npos);
    }
}
