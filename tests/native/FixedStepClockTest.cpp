// The native programs' shared clock for repeatable runs.
#include <doctest/doctest.h>

#include "native/FixedStepClock.h"
#include "platform/Clock.h"

TEST_CASE("a repeatable run's clock: the exact time of each frame in whole milliseconds, wrapping at 2^32")
{
    const struct {
        long long frame;
        double step;
        std::uint32_t ms;
    } rows[] = {
        {1, 1.0 / 60, 17},  {2, 1.0 / 60, 33}, {6000, 1.0 / 60, 100000}, {4, 0.0, 0}, {3, 0.0337, 101},
        {2147483648LL + 5, 0.001, 2147483653u}, {4294967296LL + 17, 0.001, 17}, {2, 3000000.0, 1705032704u},
    };
    for (const auto& row : rows) {
        CAPTURE(row.frame);
        CHECK(FixedStepMilliseconds(row.frame, row.step) == row.ms);
    }
    // The clock seam reads it while it lives, and the platform's clock afterwards.
    {
        CFixedStepClock clock(0.0337);
        CHECK(ClockMilliseconds() == 0);
        clock.BeforeFrame(3);
        CHECK(ClockMilliseconds() == 101);
    }
    CHECK(ClockMilliseconds() - PlatformClockMilliseconds() + 1000u <= 2000u);
}
