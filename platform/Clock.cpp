#include "platform/Clock.h"

#include <utility>

namespace {
std::function<std::uint32_t()>& ReplacedClock()
{
    static std::function<std::uint32_t()> clock;
    return clock;
}
} // namespace

std::uint32_t ClockMilliseconds()
{
    const auto& clock = ReplacedClock();
    return clock ? clock() : PlatformClockMilliseconds();
}

void SetClockSource(std::function<std::uint32_t()> clock)
{
    ReplacedClock() = std::move(clock);
}
