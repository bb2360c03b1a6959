#include "platform/FixedStepClock.h"

#include <cmath>

std::uint32_t FixedStepMilliseconds(std::int64_t frame, double stepSeconds)
{
    // Computed from the exact time each frame, so rounding never builds up; reduced
    // modulo 2^32 in double, where a conversion of a larger value would be undefined.
    const double milliseconds = std::round(static_cast<double>(frame) * stepSeconds * 1000.0);
    return static_cast<std::uint32_t>(std::fmod(milliseconds, 4294967296.0));
}
