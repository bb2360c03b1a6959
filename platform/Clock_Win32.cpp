#include "platform/Clock.h"

#include <windows.h>
#include <mmsystem.h>

std::uint32_t PlatformClockMilliseconds()
{
    return timeGetTime();
}
