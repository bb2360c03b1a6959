#include "platform/Clock.h"

#include <utility>

namespace {
std::function<std::uint32_t()>& TestClock()
{
    static std::function<std::uint32_t()> clock;
    return clock;
}
} // namespace

std::uint32_t ClockMilliseconds()
{
    const auto& clock = TestClock();
    return clock ? clock() : PlatformClockMilliseconds();
}

void SetClockForTests(std::function<std::uint32_t()> clock)
{
    TestClock() = std::move(clock);
}
