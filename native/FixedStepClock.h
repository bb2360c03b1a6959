#pragma once
// The clock of a repeatable run (--step of the Linux saver and of arcveil3d-render): it
// starts at 0 at set-up and advances by the step before each frame, wrapping at 2^32 ms
// as the real millisecond clock does. Both programs drive the renderer's clock seam
// through this one class, so that the same options draw the same frames. The frame
// count (1 for the first frame) is 64-bit so that a run without a frame limit never
// overflows it.
#include <cstdint>

std::uint32_t FixedStepMilliseconds(std::int64_t frame, double stepSeconds);

// While it lives, the clock seam reads this clock; afterwards the platform's again.
class CFixedStepClock {
public:
    explicit CFixedStepClock(double stepSeconds);
    ~CFixedStepClock();
    CFixedStepClock(const CFixedStepClock&) = delete;
    CFixedStepClock& operator=(const CFixedStepClock&) = delete;

    // The time of the given frame (1 for the first), set before it is drawn.
    void BeforeFrame(std::int64_t frame);

private:
    double m_stepSeconds;
    std::uint32_t m_now = 0;
};
