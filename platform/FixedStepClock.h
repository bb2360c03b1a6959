#pragma once
// The clock of a repeatable run (--step of the Linux saver and of arcveil3d-render):
// it starts at 0 at set-up and advances by the step before each frame, wrapping at
// 2^32 ms as the real millisecond clock does. Both programs use this one rule, so that
// the same options draw the same frames. The frame count (1 for the first frame) is
// 64-bit so that a run without a frame limit never overflows it.
#include <cstdint>

std::uint32_t FixedStepMilliseconds(std::int64_t frame, double stepSeconds);
