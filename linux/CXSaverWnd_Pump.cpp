// The saver window's event pump and its pacing: events and X errors are handled as they
// come, frames are drawn when the delay is over and the window can be seen, and the wait
// between them is spent on the X connection, so that input and the window's end are seen
// at once.
#include "linux/CXSaverWnd.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <poll.h>

#include "app/CallChain.h"
#include "linux/LinuxErrors.h"
#include "linux/XErrorTrap.h"
#include "platform/GLHeaders.h"

namespace {

// Waits until the X connection has data or the time is up.
void WaitOnConnection(Display* display, long long microseconds)
{
    pollfd connection {ConnectionNumber(display), POLLIN, 0};
    const timespec limit {static_cast<time_t>(microseconds / 1000000), static_cast<long>(microseconds % 1000000) * 1000};
    ppoll(&connection, 1, &limit, nullptr);
}

} // namespace

bool CXSaverWnd::WaitForFrame(long delayMicroseconds)
{
    CHAIN_OPERATION("CXSaverWnd::WaitForFrame");
    using Clock = std::chrono::steady_clock;
    const Clock::time_point due = Clock::now() + std::chrono::microseconds(delayMicroseconds);
    for (;;) {
        HandlePendingEvents();
        const Clock::time_point now = Clock::now();
        if (!m_ended && (m_mapCheckDue || now >= m_nextMapCheck)) {
            CheckMapState();
            m_mapCheckDue = false;
            m_nextMapCheck = now + std::chrono::seconds(1);
        }
        CheckXErrors();
        if (m_ended)
            return false;
        // A window that cannot be seen waits for the events that show it, and the next look.
        Clock::time_point until = m_nextMapCheck;
        if (CanBeSeen()) {
            if (m_exposed || due <= now) {
                m_exposed = false;
                return true;
            }
            until = std::min(due, until);
        }
        WaitOnConnection(m_display,
                         std::max<long long>(0, std::chrono::duration_cast<std::chrono::microseconds>(until - now).count()));
    }
}

void CXSaverWnd::CheckXErrors()
{
    const std::optional<KeptXError> error = TakeKeptXError();
    if (!error)
        return;
    // Requests made before a window's DestroyNotify was seen fail; it ended the saver already.
    const bool exist = !m_ended && ShownWindowsExist();
    // The round trips of that look may have kept errors of their own.
    TakeKeptXError();
    if (!exist)
        m_ended = true;
    else
        RaiseFailure(XRefusedError(error->text, error->request, error->major, error->minor).c_str());
}

void CXSaverWnd::CheckMapState()
{
    XWindowAttributes attributes {};
    if (XGetWindowAttributes(m_display, m_target, &attributes))
        m_viewable = attributes.map_state == IsViewable;
}

void CXSaverWnd::HandlePendingEvents()
{
    while (!m_ended && XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        HandleEvent(event);
    }
}

void CXSaverWnd::HandleEvent(const XEvent& event)
{
    const bool standAlone = m_options.target == SaverTarget::StandAlone;
    const Window sized = m_host != 0 ? m_host : m_target;
    switch (event.type) {
    case ConfigureNotify:
        if (event.xconfigure.window == sized)
            Resize(event.xconfigure.width, event.xconfigure.height);
        else if (m_monitors.HandleEvent(event))
            m_layoutStale = true;
        break;
    case MapNotify:
    case ReparentNotify:
        // Mapped, or moved, it is viewable only if its new ancestors are mapped too.
        m_mapCheckDue = true;
        break;
    case UnmapNotify:
        if (event.xunmap.window == sized)
            m_viewable = false;
        break;
    case Expose:
        if (event.xexpose.window == m_target && event.xexpose.count == 0)
            m_exposed = true;
        break;
    case VisibilityNotify:
        // Only a viewable window has a visibility.
        if (event.xvisibility.window == m_target) {
            m_viewable = true;
            m_obscured = event.xvisibility.state == VisibilityFullyObscured;
        }
        break;
    case DestroyNotify:
        if (event.xdestroywindow.window == m_host || event.xdestroywindow.window == m_target) {
            if (event.xdestroywindow.window == m_target)
                m_target = 0;
            m_ended = true;
        }
        break;
    case ClientMessage:
        if (m_deleteWindow != 0 && static_cast<Atom>(event.xclient.data.l[0]) == m_deleteWindow)
            m_ended = true;
        break;
    case MotionNotify:
        if (standAlone && m_endRule.OnPointerAt(event.xmotion.x_root, event.xmotion.y_root))
            m_ended = true;
        break;
    case EnterNotify:
        if (standAlone && m_endRule.OnPointerAt(event.xcrossing.x_root, event.xcrossing.y_root))
            m_ended = true;
        break;
    case ButtonPress:
        if (standAlone && m_endRule.OnButtonPress(event.xbutton.button))
            m_ended = true;
        break;
    case KeyPress:
        if (standAlone && m_endRule.OnKeyPress())
            m_ended = true;
        break;
    case FocusIn:
        if (event.xfocus.detail != NotifyPointer)
            m_endRule.OnFocusIn();
        break;
    case FocusOut:
        // Focus passing to a child or following the pointer is no loss, and neither is
        // the end of someone's keyboard grab.
        if (standAlone && event.xfocus.mode != NotifyUngrab && event.xfocus.detail != NotifyInferior &&
            event.xfocus.detail != NotifyPointer && m_endRule.OnFocusOut())
            m_ended = true;
        break;
    default:
        if (m_monitors.HandleEvent(event))
            m_layoutStale = true;
        break;
    }
}

void CXSaverWnd::Resize(int width, int height)
{
    if (width == m_width && height == m_height)
        return;
    m_width = width;
    m_height = height;
    if (m_ownsTarget && m_host != 0)
        XResizeWindow(m_display, m_target, static_cast<unsigned>(width), static_cast<unsigned>(height));
    m_viewportStale = true;
    m_layoutStale = m_monitors.Following();
}

void CXSaverWnd::ApplyMonitorLayout()
{
    m_layoutStale = false;
    if (m_monitors.Following())
        m_drawer.SetViews(m_monitors.ReadViews(m_width, m_height));
}

void CXSaverWnd::DrawFrame()
{
    CHAIN_OPERATION("CXSaverWnd::DrawFrame");
    if (!m_wrapper.Ready())
        return;
    if (m_viewportStale) {
        glViewport(0, 0, m_width, m_height);
        m_viewportStale = false;
    }
    if (m_layoutStale)
        ApplyMonitorLayout();
    m_drawer.Draw();
    const SceneView* primary = m_monitors.Primary();
    if (m_fps && primary) {
        // In the primary's lower-left corner.
        glPushAttrib(GL_VIEWPORT_BIT);
        glViewport(primary->x, primary->y, primary->width, primary->height);
        m_fps->Draw(primary->width, primary->height);
        glPopAttrib();
    } else if (m_fps) {
        m_fps->Draw(m_width, m_height);
    }
    m_wrapper.Show();
}
