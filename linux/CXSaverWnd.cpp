// The saver window's set-up and end: the display, the kind of window, its visual and
// context, the window manager's properties, focus and pointer (CXSaverWnd_Pump.cpp has
// the events and the pacing).
#include "linux/CXSaverWnd.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

#include "app/CallChain.h"
#include "app/Settings.h"
#include "linux/LinuxErrors.h"
#include "linux/Monitors.h"
#include "platform/GLHeaders.h"
#include "platform/Sound.h"
#include "resources/ResourceIds.h"

namespace {

// Xlib's default error handler ends the process. An error is kept (the first since the
// last look) for CXSaverWnd::CheckXErrors: about a window that vanished under the saver
// it is the window's end, any other ends the saver with its name.
int g_xErrors = 0;
struct KeptXError {
    bool kept = false;
    char request[64] = {}; // its name, when Xlib knows it
    int major = 0;
    int minor = 0;
    char text[128] = {};
} g_xError;

int KeepXError(Display* display, XErrorEvent* error)
{
    ++g_xErrors;
    if (!g_xError.kept) {
        g_xError.kept = true;
        g_xError.major = error->request_code;
        g_xError.minor = error->minor_code;
        XGetErrorText(display, error->error_code, g_xError.text, sizeof g_xError.text);
        // The core requests have names in Xlib's database (X_CreateGC); no request is made.
        const std::string number = std::to_string(error->request_code);
        XGetErrorDatabaseText(display, "XRequest", number.c_str(), "", g_xError.request, sizeof g_xError.request);
    }
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

} // namespace

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
            FollowMonitors(m_target);
        break;
    }
    }
    // The foreign window may have gone while it was being set up.
    XSync(m_display, False);
    CheckXErrors();
    if (m_ended)
        return;
    if (m_options.target == SaverTarget::StandAlone) {
        FollowMonitors(DefaultRootWindow(m_display));
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
    XSetErrorHandler(KeepXError);
    XSetIOErrorHandler(ReportLostConnection);
    // A write to a server that is gone must reach ReportLostConnection, not end the
    // process silently.
    std::signal(SIGPIPE, SIG_IGN);
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
    const int errorsBefore = g_xErrors;
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
    const int errorsBefore = g_xErrors;
    XWindowAttributes attributes {};
    for (const Window window : {m_host, m_target}) {
        if (window != 0 && (!XGetWindowAttributes(m_display, window, &attributes) ||
                            XRequestFailed(m_display, errorsBefore)))
            return false;
    }
    return true;
}

void CXSaverWnd::CheckXErrors()
{
    if (!g_xError.kept)
        return;
    const KeptXError error = g_xError;
    // Requests made before a window's DestroyNotify was seen fail; it ended the saver already.
    const bool exist = !m_ended && ShownWindowsExist();
    g_xError = KeptXError();
    if (!exist)
        m_ended = true;
    else
        RaiseFailure(XRefusedError(error.text, error.request, error.major, error.minor).c_str());
}

void CXSaverWnd::FollowMonitors(Window root)
{
    m_monitorRoot = root;
    m_randrEventBase = SelectMonitorChanges(m_display, root);
    if (root != m_target) {
        // The stand-alone window follows the screen's size; the root's own events are
        // shared with any other client.
        XWindowAttributes attributes {};
        XGetWindowAttributes(m_display, root, &attributes);
        XSelectInput(m_display, root, attributes.your_event_mask | StructureNotifyMask);
    }
}

void CXSaverWnd::ApplyMonitorLayout()
{
    m_layoutStale = false;
    m_primaryView.reset();
    if (m_monitorRoot == 0)
        return;
    const std::vector<SceneView> views =
        LayoutViews(ChosenMonitors(ReadMonitors(m_display, m_monitorRoot), m_options.monitors), m_width, m_height);
    if (!views.empty())
        m_primaryView = views.front();
    m_drawer.SetViews(views);
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
