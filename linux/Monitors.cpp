#include "linux/Monitors.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>

namespace {

bool HasRandrMonitors(Display* display)
{
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    return XRRQueryExtension(display, &eventBase, &errorBase) && XRRQueryVersion(display, &major, &minor) &&
           (major > 1 || (major == 1 && minor >= 5));
}

} // namespace

std::vector<MonitorRect> ReadMonitors(Display* display, Window root)
{
    std::vector<MonitorRect> monitors;
    if (HasRandrMonitors(display)) {
        int count = 0;
        XRRMonitorInfo* list = XRRGetMonitors(display, root, True, &count);
        for (int i = 0; i < count; ++i) {
            const MonitorRect m{list[i].x, list[i].y, list[i].width, list[i].height};
            if (list[i].primary)
                monitors.insert(monitors.begin(), m);
            else
                monitors.push_back(m);
        }
        if (list != nullptr)
            XRRFreeMonitors(list);
        return monitors;
    }
    int eventBase = 0, errorBase = 0;
    if (XineramaQueryExtension(display, &eventBase, &errorBase) && XineramaIsActive(display)) {
        int count = 0;
        XineramaScreenInfo* screens = XineramaQueryScreens(display, &count);
        // Xinerama has no primary: its first screen is the one the server started with.
        for (int i = 0; i < count; ++i)
            monitors.push_back({screens[i].x_org, screens[i].y_org, screens[i].width, screens[i].height});
        if (screens != nullptr)
            XFree(screens);
    }
    return monitors;
}

std::vector<MonitorRect> ChosenMonitors(const std::vector<MonitorRect>& monitors, MonitorChoice choice)
{
    if (choice == MonitorChoice::Span || monitors.empty())
        return {};
    if (choice == MonitorChoice::Primary)
        return {monitors.front()};
    return monitors;
}

std::optional<std::size_t> MonitorOfWindow(const MonitorRect& window, const std::vector<MonitorRect>& monitors)
{
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const MonitorRect& m = monitors[i];
        if (m.x == window.x && m.y == window.y && m.width == window.width && m.height == window.height)
            return i;
    }
    return std::nullopt;
}

int SelectMonitorChanges(Display* display, Window root)
{
    int eventBase = 0, errorBase = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase))
        return -1;
    XRRSelectInput(display, root, RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
    return eventBase;
}

bool IsMonitorChange(XEvent& event, int randrEventBase)
{
    if (randrEventBase < 0)
        return false;
    if (event.type == randrEventBase + RRScreenChangeNotify) {
        XRRUpdateConfiguration(&event);
        return true;
    }
    return event.type == randrEventBase + RRNotify;
}
