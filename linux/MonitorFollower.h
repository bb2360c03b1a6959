#pragma once
// Following the monitors, in one of two ways:
//  - for a saver window that covers the whole screen (-s, and -root in the bare root
//    window): the views of the monitors that -monitors chooses (linux/Monitors.h); a
//    screen that grows or shrinks under the stand-alone window resizes the window to
//    cover it again;
//  - for a window on one monitor, as XScreenSaver's daemon makes one on each and starts a
//    process in each (-root's XSCREENSAVER_WINDOW, -window-id): when the window covers
//    exactly one monitor of several, it shows that monitor's view of the whole layout, as
//    the whole-screen saver would (render/SceneViews.h's MonitorLenses), or black under
//    -monitors primary when that monitor is not the primary, and only the primary's
//    process plays the sound; a window that is no monitor, or on the only one, shows one
//    view of its own, as -monitors span does everywhere.
// Either reads the monitors again when RandR tells of a change of the monitors or of the
// screen's size, and when the window is resized or moved. A window that follows nothing
// draws one view over itself.
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
    // Follows the monitor that window, one of root's children, is on.
    void FollowMonitorOf(Display* display, Window root, Window window, MonitorChoice choice);
    bool Following() const { return m_root != 0; }

    // True when the event tells that the views must be read again.
    bool HandleEvent(const XEvent& event);

    // Reads the monitors again: the views over a window of that size, the primary's
    // first; none when one view covers the window.
    const std::vector<SceneView>& ReadViews(int width, int height);
    // The primary's view, when there are views.
    const SceneView* Primary() const { return m_views.empty() ? nullptr : &m_views.front(); }
    // A window on a monitor of several other than the primary: under -monitors primary
    // black, and silent.
    bool Dark() const { return m_onOther && m_choice == MonitorChoice::Primary; }
    bool PlaysSound() const { return !m_onOther; }

private:
    Display* m_display = nullptr;
    Window m_root = 0;          // whose monitors get views, while they do
    Window m_window = 0;
    bool m_oneMonitor = false;  // the window is on one monitor, not over the screen
    bool m_onOther = false;     // and that monitor is one of several, not the primary
    MonitorChoice m_choice = MonitorChoice::Each;
    int m_randrEventBase = -1;  // RandR's events, when the server has it
    std::vector<SceneView> m_views;
};
