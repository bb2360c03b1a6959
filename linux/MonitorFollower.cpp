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

void CMonitorFollower::FollowMonitorOf(Display* display, Window root, Window window, MonitorChoice choice)
{
    m_display = display;
    m_root = root;
    m_window = window;
    m_choice = choice;
    m_oneMonitor = true;
    m_randrEventBase = SelectMonitorChanges(display, root);
}

bool CMonitorFollower::HandleEvent(const XEvent& event)
{
    if (m_root == 0)
        return false;
    if (event.type == ConfigureNotify && event.xconfigure.window == m_root && m_root != m_window && !m_oneMonitor) {
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
    if (m_root == 0)
        return m_views;
    const std::vector<MonitorRect> monitors = ReadMonitors(m_display, m_root);
    if (!m_oneMonitor) {
        m_views = LayoutViews(ChosenMonitors(monitors, m_choice), width, height);
        return m_views;
    }
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(m_display, m_window, m_root, 0, 0, &x, &y, &child);
    const auto monitor = MonitorOfWindow({x, y, width, height}, monitors);
    m_onOther = monitor && *monitor != 0;
    if (monitor && m_choice == MonitorChoice::Each) {
        const ViewLens lens = MonitorLenses(monitors)[*monitor];
        // The primary's lens is the one-monitor view's: drawn as that, with no viewport.
        if (!IsOneMonitorLens(lens))
            m_views.push_back(SceneView{0, 0, width, height, lens});
    }
    return m_views;
}
