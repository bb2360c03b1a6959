#pragma once
// Clock seam: milliseconds as an unsigned 32-bit count that wraps after about 49.7 days,
// as the system's multimedia clock does. Portable code reads time only through here.
#include <cstdint>
#include <functional>

std::uint32_t ClockMilliseconds();

// Replaces the clock that ClockMilliseconds reads (repeatable runs, tests); an empty
// function puts the platform's clock back.
void SetClockSource(std::function<std::uint32_t()> clock);

// The platform's own clock (Clock_Win32.cpp or Clock_Linux.cpp).
std::uint32_t PlatformClockMilliseconds();
