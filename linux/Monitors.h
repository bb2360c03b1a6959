#pragma once
// The monitors of an X screen, for a saver that covers the whole screen (-s, and -root
// in the bare root window): RandR 1.5's monitor list, or Xinerama's screens where RandR
// is missing (as on a nested server), the primary first, in root coordinates. Empty
// when the server tells none: one view over the window.
#include <X11/Xlib.h>

#include <vector>

#include "linux/SaverOptions.h"
#include "render/SceneViews.h"

std::vector<MonitorRect> ReadMonitors(Display* display, Window root);

// The monitors that get a view of their own under -monitors: all, the primary alone, or
// none (one view over the whole window).
std::vector<MonitorRect> ChosenMonitors(const std::vector<MonitorRect>& monitors, MonitorChoice choice);

// Asks for the events that tell of a change of the monitors. Returns RandR's first
// event number, or -1 without RandR (Xinerama tells nothing; the root's size still does).
int SelectMonitorChanges(Display* display, Window root);
// Whether the event tells of a change of the monitors; Xlib learns the new screen.
bool IsMonitorChange(XEvent& event, int randrEventBase);
