#include "native/FixedStepClock.h"

#include <cmath>

#include "platform/Clock.h"

std::uint32_t FixedStepMilliseconds(std::int64_t frame, double stepSeconds)
{
    // Computed from the exact time each frame, so rounding never builds up; reduced
    // modulo 2^32 in double, where a conversion of a larger value would be undefined.
    const double milliseconds = std::round(static_cast<double>(frame) * stepSeconds * 1000.0);
    return static_cast<std::uint32_t>(std::fmod(milliseconds, 4294967296.0));
}

CFixedStepClock::CFixedStepClock(double stepSeconds) : m_stepSeconds(stepSeconds)
{
    SetClockSource([this] { return m_now; });
}

CFixedStepClock::~CFixedStepClock()
{
    SetClockSource({});
}

void CFixedStepClock::BeforeFrame(std::int64_t frame)
{
    m_now = FixedStepMilliseconds(frame, m_stepSeconds);
}
