#include "render/FrameClock.h"

#include <cmath>

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

double CloudTextureOffset(double sceneTime)
{
    // The drift repeats with the texture: keeping only the fraction of a repeat, in
    // double, keeps the offset exact however long the scene has run.
    const double offset = 0.2 * sceneTime;
    return offset - std::floor(offset);
}
