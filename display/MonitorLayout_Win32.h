#pragma once
// Where the full-screen saver window goes and which monitors it covers. With one
// monitor: the screen, (0, 0) to SM_CXSCREEN x SM_CYSCREEN, and no monitor list (the
// one-monitor frame). With several: the virtual screen, and each monitor from
// EnumDisplayMonitors in the window's coordinates, the primary first. In physical
// pixels: the program is per-monitor DPI aware (its manifest).
#include <vector>

#include "platform/WindowsHeaders_Win32.h"
#include "render/SceneViews.h"

struct DesktopLayout {
    RECT window{};
    std::vector<MonitorRect> monitors;
};

DesktopLayout ReadDesktopLayout();
