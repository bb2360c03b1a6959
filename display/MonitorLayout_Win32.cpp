#include "display/MonitorLayout_Win32.h"

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    auto& layout = *reinterpret_cast<DesktopLayout*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info))
        return TRUE;
    const RECT& r = info.rcMonitor;
    const MonitorRect m{r.left - layout.window.left, r.top - layout.window.top, r.right - r.left, r.bottom - r.top};
    if (info.dwFlags & MONITORINFOF_PRIMARY)
        layout.monitors.insert(layout.monitors.begin(), m);
    else
        layout.monitors.push_back(m);
    return TRUE;
}

} // namespace

DesktopLayout ReadDesktopLayout()
{
    DesktopLayout layout;
    if (GetSystemMetrics(SM_CMONITORS) <= 1) {
        const int height = GetSystemMetrics(SM_CYSCREEN);
        const int width = GetSystemMetrics(SM_CXSCREEN);
        layout.window = RECT{0, 0, width, height};
        return layout;
    }
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    layout.window = RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                         top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&layout));
    return layout;
}
