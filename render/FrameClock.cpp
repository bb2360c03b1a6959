#include "render/FrameClock.h"

double LimitedFrameStep(double previous, double now)
{
    double step = now - previous;
    if (step < 0.0)
        step += kClockWrapSeconds;
    // Only a reading that was never a clock value (a previous time beyond the wrap)
    // can still be negative here; such a frame does not advance the scene.
    if (!(step >= 0.0))
        step = 0.0;
    if (step > kMaxFrameStep)
        step = kMaxFrameStep;
    return step;
}

std::uint32_t DueTimerSteps(double clock, double done, double step)
{
    const double quotient = (clock - done) / step;
    if (!(quotient >= 1.0))
        return 0;
    if (quotient >= 4294967295.0)
        return 4294967295u;
    return static_cast<std::uint32_t>(quotient);
}
