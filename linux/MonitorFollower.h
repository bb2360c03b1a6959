#pragma once
// Following the monitors for a saver window that covers the whole screen (-s, and -root
// in the bare root window): the views of the monitors that -monitors chooses
// (linux/Monitors.h), read again when RandR tells of a change of the monitors or the
// screen's size changes. A screen that grows or shrinks under the stand-alone window
// resizes the window to cover it again. A window that follows nothing draws one view
// over itself.
#include <X11/Xlib.h>

#include <vector>

#include "linux/SaverOptions.h"
#include "render/SceneViews.h"

class CMonitorFollower {
public:
    // Follows root's monitors for the window drawn in, which is root itself for -root in
    // the bare root window: asks for the events that tell of a change, and for the root's
    // size when the window is another (the root's events are shared with any other client).
    void Follow(Display* display, Window root, Window window, MonitorChoice choice);
    bool Following() const { return m_root != 0; }

    // True when the event tells that the views must be read again.
    bool HandleEvent(const XEvent& event);

    // Reads the monitors again: the views over a window of that size, the primary's
    // first; none when one view covers the window.
    const std::vector<SceneView>& ReadViews(int width, int height);
    // The primary's view, when there are views.
    const SceneView* Primary() const { return m_views.empty() ? nullptr : &m_views.front(); }

private:
    Display* m_display = nullptr;
    Window m_root = 0;          // whose monitors get views, while they do
    Window m_window = 0;
    MonitorChoice m_choice = MonitorChoice::Each;
    int m_randrEventBase = -1;  // RandR's events, when the server has it
    std::vector<SceneView> m_views;
};
