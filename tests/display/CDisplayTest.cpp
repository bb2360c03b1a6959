#include <doctest/doctest.h>

#include "display/CDisplay.h"

TEST_CASE("the mode list holds the six modes in order and refuses other indices")
{
    const CDisplay display;
    REQUIRE(display.GetModesCount() == 6);
    const int expected[6][3] = {{640, 480, 16}, {640, 480, 32}, {800, 600, 16},
                                {800, 600, 32}, {1024, 768, 16}, {1024, 768, 32}};
    for (unsigned i = 0; i < 6; ++i) {
        const ModeDescription* mode = display.GetModeDescription(i);
        REQUIRE(mode != nullptr);
        CHECK(mode->width == expected[i][0]);
        CHECK(mode->height == expected[i][1]);
        CHECK(mode->bitsPerPixel == expected[i][2]);
    }
    CHECK(display.GetModeDescription(6) == nullptr);
    CHECK(display.GetModeDescription(static_cast<unsigned>(-1)) == nullptr);
}
