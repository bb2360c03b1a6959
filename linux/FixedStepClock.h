#pragma once
// The clock of a repeatable run (--step): it starts at 0 and advances by the step
// before each frame, wrapping at 2^32 ms as the real millisecond clock does. The
// frame count is 64-bit so that a run without a frame limit never overflows it.
#include <cstdint>

std::uint32_t FixedStepMilliseconds(std::int64_t frame, double stepSeconds);
