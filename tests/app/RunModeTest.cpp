#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "app/RunMode.h"

namespace {
RunMode ModeOf(std::vector<const char*> argv)
{
    return ChooseRunMode(static_cast<int>(argv.size()), argv.data());
}
std::optional<long> HandleOf(std::vector<const char*> argv)
{
    return PreviewHostHandle(static_cast<int>(argv.size()), argv.data());
}
} // namespace

TEST_CASE("the first argument chooses the run mode, the first matching test winning")
{
    CHECK(ModeOf({"a.scr"}) == RunMode::Settings);
    CHECK(ChooseRunMode(0, nullptr) == RunMode::Settings);
    CHECK(ModeOf({"a.scr", "/c:1234"}) == RunMode::Settings);
    CHECK(ModeOf({"a.scr", "C", "junk"}) == RunMode::Settings);
    CHECK(ModeOf({"a.scr", "/p", "1234"}) == RunMode::Preview);
    CHECK(ModeOf({"a.scr", "-P"}) == RunMode::Preview);
    CHECK(ModeOf({"a.scr", "/s"}) == RunMode::Saver);
    CHECK(ModeOf({"a.scr", "/save", "/c"}) == RunMode::Saver);
    CHECK(ModeOf({"a.scr", " s"}) == RunMode::Saver);
}

TEST_CASE("garbage, empty and missing first arguments start no run mode")
{
    CHECK(ModeOf({"a.scr", "--s"}) == RunMode::None);
    CHECK(ModeOf({"a.scr", ""}) == RunMode::None);
    CHECK(ModeOf({"a.scr", nullptr}) == RunMode::None);
    CHECK(ModeOf({"a.scr", "/"}) == RunMode::None);
    CHECK(ModeOf({"a.scr", "\xff\xfe"}) == RunMode::None);
    CHECK(ModeOf({"a.scr", "x", "/s"}) == RunMode::None); // only argument 1 counts
    const std::string longArgument(100000, 'q');
    CHECK(ModeOf({"a.scr", longArgument.c_str()}) == RunMode::None);
    const std::string longSaver = "/s" + longArgument;
    CHECK(ModeOf({"a.scr", longSaver.c_str()}) == RunMode::Saver);
}

TEST_CASE("the preview's host handle is argument 2 read as a decimal number")
{
    CHECK(HandleOf({"a.scr", "/p", "1234"}) == 1234L);
    CHECK(HandleOf({"a.scr", "/p", "  42xyz"}) == 42L);
    CHECK(HandleOf({"a.scr", "/p", "+7"}) == 7L);
    CHECK(HandleOf({"a.scr", "/p", "-5"}) == -5L);
    // No window to show the picture in.
    CHECK_FALSE(HandleOf({"a.scr", "/p"}));
    CHECK_FALSE(HandleOf({"a.scr", "/p", nullptr}));
    CHECK_FALSE(HandleOf({"a.scr", "/p", ""}));
    CHECK_FALSE(HandleOf({"a.scr", "/p", "window"}));
    CHECK_FALSE(HandleOf({"a.scr", "/p", "0"}));
    // Far beyond any handle: saturates rather than being undefined.
    const auto huge = HandleOf({"a.scr", "/p", "99999999999999999999999999"});
    REQUIRE(huge);
    CHECK(*huge > 0);
}
