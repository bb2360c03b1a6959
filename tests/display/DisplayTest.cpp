// The mode list's bounds and the end-on-input rule both saver windows follow.
#include <doctest/doctest.h>

#include "display/CDisplay.h"
#include "display/InputEndRule.h"

TEST_CASE("the mode list answers its six indices and nothing beyond")
{
    CDisplay display;
    CHECK((display.GetModesCount() == 6 && display.GetModeDescription(5) != nullptr));
    CHECK((display.GetModeDescription(6) == nullptr && display.GetModeDescription(static_cast<unsigned>(-1)) == nullptr));
}

TEST_CASE("the saver ends at a pointer off its first place, a button, a key, or a focus it had and lost")
{
    CInputEndRule rule;
    CHECK_FALSE(rule.OnFocusOut()); // never had it
    const struct { int x, y; bool ends; } pointer[] = {{-1, -1, false}, {-1, -1, false}, {0, -1, true},
                                                       {-1, 0, true},   {5, 5, true},    {-1, -1, false}};
    for (const auto& report : pointer)
        CHECK(rule.OnPointerAt(report.x, report.y) == report.ends);
    for (unsigned button = 0; button <= 7; ++button)
        CHECK(rule.OnButtonPress(button) == (button >= kLeftButton && button <= kRightButton));
    CHECK(rule.OnKeyPress());
    rule.OnFocusIn();
    CHECK(rule.OnFocusOut());
}
