#include <doctest/doctest.h>

#include "platform/FixedStepClock.h"

TEST_CASE("a repeatable run's clock advances by the step and wraps like the real clock")
{
    CHECK(FixedStepMilliseconds(1, 1.0 / 60.0) == 17);
    CHECK(FixedStepMilliseconds(2, 1.0 / 60.0) == 33);
    CHECK(FixedStepMilliseconds(60, 1.0 / 60.0) == 1000);
    // Computed from the exact time, so rounding does not build up over many frames.
    CHECK(FixedStepMilliseconds(6000, 1.0 / 60.0) == 100000);
    CHECK(FixedStepMilliseconds(10, 0.1) == 1000);
    CHECK(FixedStepMilliseconds(4, 0.0) == 0);
    // Past the range of a 32-bit frame count the clock still advances.
    CHECK(FixedStepMilliseconds(2147483648LL + 5, 0.001) == 2147483653u);
    // 2^32 ms and a little more: the count wraps as the millisecond clock does.
    CHECK(FixedStepMilliseconds(4294967296LL + 17, 0.001) == 17u);
    CHECK(FixedStepMilliseconds(2, 3000000.0) == 6000000000ULL - 4294967296ULL);
}
