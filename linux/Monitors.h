#pragma once
// The monitors of an X screen, for a saver that covers the whole screen (-s, and -root
// in the bare root window) or one monitor of it (XScreenSaver's window on each): RandR
// 1.5's monitor list, or Xinerama's screens where RandR is missing (as on a nested
// server), the primary first, in root coordinates. Empty when the server tells none:
// one view over the window.
#include <X11/Xlib.h>

#include <cstddef>
#include <optional>
#include <vector>

#include "linux/SaverOptions.h"
#include "render/SceneViews.h"

std::vector<MonitorRect> ReadMonitors(Display* display, Window root);

// The monitors that get a view of their own under -monitors: all, the primary alone, or
// none (one view over the whole window).
std::vector<MonitorRect> ChosenMonitors(const std::vector<MonitorRect>& monitors, MonitorChoice choice);

// The monitor a window covers exactly (in root coordinates): the first so covered (a
// clone of the primary is the primary); none for a window that is no monitor.
std::optional<std::size_t> MonitorOfWindow(const MonitorRect& window, const std::vector<MonitorRect>& monitors);

// Asks for the events that tell of a change of the monitors. Returns RandR's first
// event number, or -1 without RandR (Xinerama tells nothing; the root's size still does).
int SelectMonitorChanges(Display* display, Window root);
// Whether the event tells of a change of the monitors; Xlib learns the new screen.
bool IsMonitorChange(XEvent& event, int randrEventBase);
