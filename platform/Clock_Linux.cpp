#include "platform/Clock.h"

#include <ctime>

std::uint32_t PlatformClockMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    // Truncating to 32 bits wraps exactly like the Windows clock does.
    const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}
