#include "linux/MonitorFollower.h"

#include "linux/Monitors.h"

void CMonitorFollower::Follow(Display* display, Window root, Window window, MonitorChoice choice)
{
    m_display = display;
    m_root = root;
    m_window = window;
    m_choice = choice;
    m_randrEventBase = SelectMonitorChanges(display, root);
    if (root != window) {
        XWindowAttributes attributes {};
        XGetWindowAttributes(display, root, &attributes);
        XSelectInput(display, root, attributes.your_event_mask | StructureNotifyMask);
    }
}

bool CMonitorFollower::HandleEvent(const XEvent& event)
{
    if (m_root == 0)
        return false;
    if (event.type == ConfigureNotify && event.xconfigure.window == m_root && m_root != m_window) {
        // The screen grew or shrank: the stand-alone window covers it again.
        XResizeWindow(m_display, m_window, static_cast<unsigned>(event.xconfigure.width),
                      static_cast<unsigned>(event.xconfigure.height));
        return true;
    }
    XEvent copy = event;
    return IsMonitorChange(copy, m_randrEventBase);
}

const std::vector<SceneView>& CMonitorFollower::ReadViews(int width, int height)
{
    m_views.clear();
    if (m_root != 0)
        m_views = LayoutViews(ChosenMonitors(ReadMonitors(m_display, m_root), m_choice), width, height);
    return m_views;
}
