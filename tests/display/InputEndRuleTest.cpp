#include <doctest/doctest.h>

#include "display/InputEndRule.h"

TEST_CASE("the first pointer report only records; any other position ends, the first again does not")
{
    CInputEndRule rule;
    CHECK_FALSE(rule.HasFirstPosition());
    CHECK_FALSE(rule.OnPointerAt(300, 200));
    CHECK(rule.HasFirstPosition());
    CHECK_FALSE(rule.OnPointerAt(300, 200));
    CHECK_FALSE(rule.OnPointerAt(300, 200));
    CHECK(rule.OnPointerAt(301, 200));
    CHECK(rule.OnPointerAt(300, 199));
    // The first position is never replaced by a later one.
    CHECK_FALSE(rule.OnPointerAt(300, 200));
}

TEST_CASE("a first report at a negative position is recorded like any other")
{
    CInputEndRule rule;
    CHECK_FALSE(rule.OnPointerAt(-1, -1));
    CHECK_FALSE(rule.OnPointerAt(-1, -1));
    CHECK(rule.OnPointerAt(0, 0));
}

TEST_CASE("the three buttons end it, the wheel does not; any key press ends it")
{
    CInputEndRule rule;
    CHECK(rule.OnButtonPress(1));
    CHECK(rule.OnButtonPress(2));
    CHECK(rule.OnButtonPress(3));
    for (unsigned wheel = 4; wheel <= 7; ++wheel)
        CHECK_FALSE(rule.OnButtonPress(wheel));
    CHECK_FALSE(rule.OnButtonPress(0));
    CHECK(rule.OnKeyPress());
}

TEST_CASE("losing the focus ends it only once the window had it")
{
    CInputEndRule rule;
    CHECK_FALSE(rule.OnFocusOut());
    rule.OnFocusIn();
    CHECK(rule.OnFocusOut());
}
