// The saver window's set-up and end: the display, the kind of window, its visual and
// context, the window manager's properties, focus and pointer (CXSaverWnd_Pump.cpp has
// the events, the X errors and the pacing; linux/MonitorFollower.h the monitors).
#include "linux/CXSaverWnd.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

#include "app/CallChain.h"
#include "app/Settings.h"
#include "linux/LinuxErrors.h"
#include "linux/XErrorTrap.h"
#include "platform/GLHeaders.h"
#include "platform/Sound.h"
#include "resources/ResourceIds.h"

CXSaverWnd::CXSaverWnd(const SaverOptions& options) : m_options(options) {}

CXSaverWnd::~CXSaverWnd()
{
    Destroy();
}

void CXSaverWnd::Create()
{
    CHAIN_OPERATION("CXSaverWnd::Create");
    OpenDisplay();
    switch (m_options.target) {
    case SaverTarget::OwnWindow:
        CreateOwnWindow(false);
        break;
    case SaverTarget::StandAlone:
        CreateOwnWindow(true);
        break;
    case SaverTarget::WindowId:
        AttachToForeignWindow(static_cast<Window>(m_options.windowId));
        break;
    case SaverTarget::Root: {
        const char* named = std::getenv("XSCREENSAVER_WINDOW");
        const auto id = ParseWindowId(named);
        if (named != nullptr && named[0] != '\0' && !id)
            RaiseFailure(BadWindowVariableError(named).c_str());
        AttachToForeignWindow(id ? static_cast<Window>(*id) : DefaultRootWindow(m_display));
        // XScreenSaver makes a window for each monitor itself; the bare root is all of them.
        if (!id)
            m_monitors.Follow(m_display, m_target, m_target, m_options.monitors);
        break;
    }
    }
    // The foreign window may have gone while it was being set up.
    XSync(m_display, False);
    CheckXErrors();
    if (m_ended)
        return;
    if (m_options.target == SaverTarget::StandAlone) {
        m_monitors.Follow(m_display, DefaultRootWindow(m_display), m_target, m_options.monitors);
        TakeFocusAndPointer();
    }

    glViewport(0, 0, m_width, m_height);
    m_viewportStale = false;
    m_drawer.Init();
    ApplyMonitorLayout();
    if (m_options.fps) {
        m_fps = std::make_unique<CFpsOverlay>();
        m_fps->Init();
    }
    if (G_Settings.Sounds != 0) {
        G_PlaySound(IDR_STORM_SOUND);
        m_soundStarted = true;
    }
}

void CXSaverWnd::OpenDisplay()
{
    CHAIN_OPERATION("CXSaverWnd::OpenDisplay");
    TrapXErrors();
    const char* name = m_options.display.empty() ? nullptr : m_options.display.c_str();
    m_display = XOpenDisplay(name);
    if (m_display == nullptr)
        RaiseFailure(NoDisplayError(XDisplayName(name)).c_str());
    if (m_options.synchronous)
        XSynchronize(m_display, True);
}

Window CXSaverWnd::CreateChildWindow(Window parent, int x, int y, int width, int height, XVisualInfo* visual,
                                     bool overrideRedirect, long eventMask)
{
    XSetWindowAttributes attributes {};
    attributes.colormap = XCreateColormap(m_display, parent, visual->visual, AllocNone);
    // A visual of another depth than the parent's needs its own border and colormap.
    attributes.border_pixel = 0;
    attributes.background_pixmap = None;
    attributes.override_redirect = overrideRedirect ? True : False;
    attributes.event_mask = eventMask;
    unsigned long mask = CWColormap | CWBorderPixel | CWBackPixmap | CWOverrideRedirect | CWEventMask;
    if (m_hiddenCursor != 0) {
        attributes.cursor = m_hiddenCursor;
        mask |= CWCursor;
    }
    return XCreateWindow(m_display, parent, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                         visual->depth, InputOutput, visual->visual, mask, &attributes);
}

void CXSaverWnd::CreateOwnWindow(bool fullScreen)
{
    CHAIN_OPERATION("CXSaverWnd::CreateOwnWindow");
    const int screen = DefaultScreen(m_display);
    const Window root = RootWindow(m_display, screen);
    XVisualInfo* visual = ChooseOwnWindowVisual(m_display, screen, m_options.visualId);
    if (visual == nullptr)
        RaiseFailure(kErrorNoGlxVisual);

    long events = StructureNotifyMask | VisibilityChangeMask | ExposureMask;
    int x = 0, y = 0;
    if (fullScreen) {
        // The desktop keeps its mode: the window covers the screen as it is.
        m_width = DisplayWidth(m_display, screen);
        m_height = DisplayHeight(m_display, screen);
        static const char empty[8] = {};
        const Pixmap blank = XCreateBitmapFromData(m_display, root, empty, 8, 8);
        XColor black {};
        m_hiddenCursor = XCreatePixmapCursor(m_display, blank, blank, &black, &black, 0, 0);
        XFreePixmap(m_display, blank);
        events |= KeyPressMask | ButtonPressMask | PointerMotionMask | FocusChangeMask | EnterWindowMask;
    } else {
        m_width = m_options.width;
        m_height = m_options.height;
        if (const auto& at = m_options.position) {
            // Far out to the left or top, the place is as far as X can hold: out of sight either way.
            x = std::max(-32768, at->fromRight ? DisplayWidth(m_display, screen) - m_width - at->x : at->x);
            y = std::max(-32768, at->fromBottom ? DisplayHeight(m_display, screen) - m_height - at->y : at->y);
        }
    }
    m_target = CreateChildWindow(root, x, y, m_width, m_height, visual, fullScreen, events);
    m_ownsTarget = true;
    NameOwnWindow(x, y, !fullScreen && m_options.position.has_value());
    if (!fullScreen) {
        m_deleteWindow = XInternAtom(m_display, "WM_DELETE_WINDOW", False);
        XSetWMProtocols(m_display, m_target, &m_deleteWindow, 1);
    }
    XMapRaised(m_display, m_target);
    XSync(m_display, False);
    InitContext(visual);
}

void CXSaverWnd::NameOwnWindow(int x, int y, bool placed)
{
    // What window managers, pagers and xprop read: title, class, host and process.
    char title[] = "Arcveil 3D";
    char* titles[] = {title};
    XTextProperty name {};
    XStringListToTextProperty(titles, 1, &name);
    char instance[] = "arcveil3d";
    char className[] = "Arcveil3D";
    XClassHint classHint {instance, className};
    XSizeHints size {};
    size.flags = USSize | (placed ? USPosition : 0);
    size.x = x;
    size.y = y;
    size.width = m_width;
    size.height = m_height;
    XSetWMProperties(m_display, m_target, &name, &name, nullptr, 0, &size, nullptr, &classHint);
    XFree(name.value);
    const long pid = static_cast<long>(getpid());
    XChangeProperty(m_display, m_target, XInternAtom(m_display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
}

void CXSaverWnd::AttachToForeignWindow(Window host)
{
    CHAIN_OPERATION("CXSaverWnd::AttachToForeignWindow");
    const int errorsBefore = XErrorCount();
    XWindowAttributes attributes {};
    const Status found = XGetWindowAttributes(m_display, host, &attributes);
    if (!found || XRequestFailed(m_display, errorsBefore))
        RaiseFailure(NoWindowError(host).c_str());
    // Its size, its end and whether it can be seen: events any number of clients may
    // select on a window (button presses may not be shared).
    XSelectInput(m_display, host, StructureNotifyMask | VisibilityChangeMask | ExposureMask);
    m_host = host;
    m_width = attributes.width;
    m_height = attributes.height;

    XVisualInfo pattern {};
    pattern.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    XVisualInfo* hostVisual = XGetVisualInfo(m_display, VisualIDMask, &pattern, &count);
    if (hostVisual != nullptr && VisualSuitsScene(m_display, hostVisual)) {
        m_target = host;
        InitContext(hostVisual);
        return;
    }
    if (hostVisual != nullptr)
        XFree(hostVisual);

    XVisualInfo* visual = ChooseSceneVisual(m_display, XScreenNumberOfScreen(attributes.screen), attributes.depth);
    if (visual == nullptr)
        RaiseFailure(kErrorNoGlxVisual);
    // The child takes no input, so the foreign window's owner still sees all of it.
    m_target = CreateChildWindow(host, 0, 0, m_width, m_height, visual, false, VisibilityChangeMask | ExposureMask);
    m_ownsTarget = true;
    XMapWindow(m_display, m_target);
    XSync(m_display, False);
    InitContext(visual);
}

void CXSaverWnd::InitContext(XVisualInfo* visual)
{
    XWindowAttributes attributes {};
    XGetWindowAttributes(m_display, m_target, &attributes);
    m_viewable = attributes.map_state == IsViewable;
    const bool ready = m_wrapper.Init(m_display, m_target, visual);
    XFree(visual);
    // No context on a window that has just gone is its end, not the driver's fault.
    if (!ready && !ShownWindowsExist())
        m_ended = true;
    else if (!ready)
        RaiseFailure(kErrorNoContext);
}

bool CXSaverWnd::ShownWindowsExist()
{
    // Errors of earlier requests first, so that only these requests' count.
    XSync(m_display, False);
    const int errorsBefore = XErrorCount();
    XWindowAttributes attributes {};
    for (const Window window : {m_host, m_target}) {
        if (window != 0 && (!XGetWindowAttributes(m_display, window, &attributes) ||
                            XRequestFailed(m_display, errorsBefore)))
            return false;
    }
    return true;
}

void CXSaverWnd::TakeFocusAndPointer()
{
    // Under a window manager the window may become viewable a little later; focus can
    // only go to a viewable window.
    for (int attempt = 0; attempt < 100; ++attempt) {
        XWindowAttributes attributes {};
        XGetWindowAttributes(m_display, m_target, &attributes);
        if (attributes.map_state == IsViewable)
            break;
        XSync(m_display, False);
        struct timespec pause {0, 10 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
    // Focus on a window that is not viewable (yet) would be an X error.
    XWindowAttributes attributes {};
    XGetWindowAttributes(m_display, m_target, &attributes);
    if (attributes.map_state == IsViewable)
        XSetInputFocus(m_display, m_target, RevertToParent, CurrentTime);
    // X sends no motion when a window appears; the pointer's place at that moment is the
    // first reported position, as the Windows saver's first mouse message is.
    Window rootReturn = 0, childReturn = 0;
    int rootX = 0, rootY = 0, winX = 0, winY = 0;
    unsigned int buttons = 0;
    if (XQueryPointer(m_display, m_target, &rootReturn, &childReturn, &rootX, &rootY, &winX, &winY, &buttons))
        m_endRule.OnPointerAt(rootX, rootY);
    XSync(m_display, False);
}

void CXSaverWnd::Destroy()
{
    if (m_soundStarted) {
        G_StopSound();
        m_soundStarted = false;
    }
    if (m_display == nullptr)
        return;
    m_wrapper.Done();
    if (m_ownsTarget && m_target != 0)
        XDestroyWindow(m_display, m_target);
    m_target = 0;
    if (m_hiddenCursor != 0)
        XFreeCursor(m_display, m_hiddenCursor);
    m_hiddenCursor = 0;
    XCloseDisplay(m_display);
    m_display = nullptr;
}
