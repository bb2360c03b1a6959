#include "linux/CXSaverWnd.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <poll.h>
#include <unistd.h>

#include "app/CallChain.h"
#include "app/Settings.h"
#include "linux/LinuxErrors.h"
#include "platform/Sound.h"
#include "render/GLHeaders.h"
#include "resources/ResourceIds.h"

namespace {

// Xlib's default error handler ends the process. Errors about windows that vanish under
// the saver (the owner destroyed its window) are expected; they are counted and the
// window's DestroyNotify ends the saver.
int g_xErrors = 0;

int CountXError(Display*, XErrorEvent*)
{
    ++g_xErrors;
    return 0;
}

// Xlib would print several lines and exit; a failure of the saver is one line.
int ReportLostConnection(Display*)
{
    std::fputs("arcveil3d: the connection to the X server was lost\n", stderr);
    _exit(kSaverExitFailure);
}

// True when the request made since the last call failed.
bool XRequestFailed(Display* display, int errorsBefore)
{
    XSync(display, False);
    return g_xErrors != errorsBefore;
}

// Waits until the X connection has data or the time is up (negative: no limit).
void WaitOnConnection(Display* display, long long microseconds)
{
    pollfd connection {ConnectionNumber(display), POLLIN, 0};
    const timespec limit {static_cast<time_t>(microseconds / 1000000), static_cast<long>(microseconds % 1000000) * 1000};
    ppoll(&connection, 1, microseconds < 0 ? nullptr : &limit, nullptr);
}

} // namespace

CXSaverWnd::CXSaverWnd(const ProgramOptions& options) : m_options(options) {}

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
        break;
    }
    }
    if (m_options.target == SaverTarget::StandAlone)
        TakeFocusAndPointer();

    glViewport(0, 0, m_width, m_height);
    m_viewportStale = false;
    m_drawer.Init();
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
    XSetErrorHandler(CountXError);
    XSetIOErrorHandler(ReportLostConnection);
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

XVisualInfo* CXSaverWnd::OwnWindowVisual(int screen)
{
    if (m_options.visualId) {
        XVisualInfo pattern {};
        pattern.visualid = *m_options.visualId;
        pattern.screen = screen;
        int count = 0;
        XVisualInfo* asked = XGetVisualInfo(m_display, VisualIDMask | VisualScreenMask, &pattern, &count);
        if (asked != nullptr && VisualSuitsScene(m_display, asked))
            return asked;
        if (asked != nullptr)
            XFree(asked);
        std::fprintf(stderr, "arcveil3d: warning: visual 0x%lx cannot carry the scene (OpenGL, RGBA, double "
                             "buffer, depth buffer); another is used\n", *m_options.visualId);
    }
    return ChooseSceneVisual(m_display, screen, 0);
}

void CXSaverWnd::CreateOwnWindow(bool fullScreen)
{
    CHAIN_OPERATION("CXSaverWnd::CreateOwnWindow");
    const int screen = DefaultScreen(m_display);
    const Window root = RootWindow(m_display, screen);
    XVisualInfo* visual = OwnWindowVisual(screen);
    if (visual == nullptr)
        RaiseFailure(kErrorNoGlxVisual);

    long events = StructureNotifyMask | VisibilityChangeMask;
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
            x = at->fromRight ? DisplayWidth(m_display, screen) - m_width - at->x : at->x;
            y = at->fromBottom ? DisplayHeight(m_display, screen) - m_height - at->y : at->y;
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
    const int errorsBefore = g_xErrors;
    XWindowAttributes attributes {};
    const Status found = XGetWindowAttributes(m_display, host, &attributes);
    if (!found || XRequestFailed(m_display, errorsBefore))
        RaiseFailure(NoWindowError(host).c_str());
    // Its size, its end and whether it can be seen: events any number of clients may
    // select on a window (button presses may not be shared).
    XSelectInput(m_display, host, StructureNotifyMask | VisibilityChangeMask);
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
    m_target = CreateChildWindow(host, 0, 0, m_width, m_height, visual, false, VisibilityChangeMask);
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
    if (!ready)
        RaiseFailure(kErrorNoContext);
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

bool CXSaverWnd::WaitForFrame(long delayMicroseconds)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point due = Clock::now() + std::chrono::microseconds(delayMicroseconds);
    for (;;) {
        HandlePendingEvents();
        if (m_ended)
            return false;
        long long left = -1; // a window that cannot be seen waits for the events that show it
        if (CanBeSeen()) {
            left = std::chrono::duration_cast<std::chrono::microseconds>(due - Clock::now()).count();
            if (left <= 0)
                return true;
        }
        WaitOnConnection(m_display, left);
    }
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
        break;
    case MapNotify:
        if (event.xmap.window == sized)
            m_viewable = true;
        break;
    case UnmapNotify:
        if (event.xunmap.window == sized)
            m_viewable = false;
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
    m_drawer.Draw();
    if (m_fps)
        m_fps->Draw(m_width, m_height);
    m_wrapper.Show();
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
