#include "linux/SharedStorm.h"

#include <X11/Xatom.h>

#include <ctime>

std::optional<std::uint32_t> BlankTimeOf(const long* status, unsigned long count)
{
    if (count < 2 || status[0] == 0)
        return std::nullopt;
    return static_cast<std::uint32_t>(status[1]);
}

std::optional<std::uint32_t> ReadBlankTime(Display* display, Window root)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom status = XInternAtom(display, "_SCREENSAVER_STATUS", True);
    if (status == None || XGetWindowProperty(display, root, status, 0, 2, False, XA_INTEGER, &type, &format, &count,
                                             &after, &data) != Success)
        return std::nullopt;
    // Xlib hands 32-bit items over as longs.
    const auto blank = type == XA_INTEGER && format == 32 ? BlankTimeOf(reinterpret_cast<const long*>(data), count)
                                                           : std::nullopt;
    if (data != nullptr)
        XFree(data);
    return blank;
}

std::int64_t DueSharedFrame(std::uint32_t blankTime, std::int64_t nowMilliseconds)
{
    const std::int64_t since = nowMilliseconds - static_cast<std::int64_t>(blankTime) * 1000;
    return since > 0 ? since / kSharedStormStepMs : 0;
}

std::int64_t WallClockMilliseconds()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}
