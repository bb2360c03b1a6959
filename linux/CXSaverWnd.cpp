#include "linux/CXSaverWnd.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <cstdlib>
#include <cstring>
#include <ctime>

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

// True when the request made since the last call failed.
bool XRequestFailed(Display* display, int errorsBefore)
{
    XSync(display, False);
    return g_xErrors != errorsBefore;
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
            RaiseFailure(kErrorNoWindow);
        AttachToForeignWindow(id ? static_cast<Window>(*id) : DefaultRootWindow(m_display));
        break;
    }
    }
    if (m_options.target == SaverTarget::StandAlone)
        TakeFocusAndPointer();

    glViewport(0, 0, m_width, m_height);
    m_viewportStale = false;
    m_drawer.Init();
    if (G_Settings.Sounds != 0) {
        G_PlaySound(IDR_STORM_SOUND);
        m_soundStarted = true;
    }
}

void CXSaverWnd::OpenDisplay()
{
    CHAIN_OPERATION("CXSaverWnd::OpenDisplay");
    XSetErrorHandler(CountXError);
    m_display = XOpenDisplay(m_options.display.empty() ? nullptr : m_options.display.c_str());
    if (m_display == nullptr)
        RaiseFailure(kErrorNoDisplay);
}

Window CXSaverWnd::CreateChildWindow(Window parent, int width, int height, XVisualInfo* visual, bool overrideRedirect,
                                     long eventMask)
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
    return XCreateWindow(m_display, parent, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                         visual->depth, InputOutput, visual->visual, mask, &attributes);
}

void CXSaverWnd::CreateOwnWindow(bool fullScreen)
{
    CHAIN_OPERATION("CXSaverWnd::CreateOwnWindow");
    const int screen = DefaultScreen(m_display);
    const Window root = RootWindow(m_display, screen);
    XVisualInfo* visual = ChooseSceneVisual(m_display, screen, 0);
    if (visual == nullptr)
        RaiseFailure(kErrorOpenGL);

    long events = StructureNotifyMask;
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
    }
    m_target = CreateChildWindow(root, m_width, m_height, visual, fullScreen, events);
    m_ownsTarget = true;
    XStoreName(m_display, m_target, "Arcveil 3D");
    if (!fullScreen) {
        m_deleteWindow = XInternAtom(m_display, "WM_DELETE_WINDOW", False);
        XSetWMProtocols(m_display, m_target, &m_deleteWindow, 1);
    }
    XMapRaised(m_display, m_target);
    XSync(m_display, False);

    const bool ready = m_wrapper.Init(m_display, m_target, visual);
    XFree(visual);
    if (!ready)
        RaiseFailure(kErrorOpenGL);
}

void CXSaverWnd::AttachToForeignWindow(Window host)
{
    CHAIN_OPERATION("CXSaverWnd::AttachToForeignWindow");
    const int errorsBefore = g_xErrors;
    XWindowAttributes attributes {};
    const Status found = XGetWindowAttributes(m_display, host, &attributes);
    if (!found || XRequestFailed(m_display, errorsBefore))
        RaiseFailure(kErrorNoWindow);
    // Its size and its end; only the structure events, which any number of clients
    // may select on a window (button presses may not be shared).
    XSelectInput(m_display, host, StructureNotifyMask);
    m_host = host;
    m_width = attributes.width;
    m_height = attributes.height;

    XVisualInfo pattern {};
    pattern.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    XVisualInfo* hostVisual = XGetVisualInfo(m_display, VisualIDMask, &pattern, &count);
    if (hostVisual != nullptr && VisualSuitsScene(m_display, hostVisual)) {
        m_target = host;
        const bool ready = m_wrapper.Init(m_display, m_target, hostVisual);
        XFree(hostVisual);
        if (!ready)
            RaiseFailure(kErrorOpenGL);
        return;
    }
    if (hostVisual != nullptr)
        XFree(hostVisual);

    XVisualInfo* visual = ChooseSceneVisual(m_display, XScreenNumberOfScreen(attributes.screen), attributes.depth);
    if (visual == nullptr)
        RaiseFailure(kErrorOpenGL);
    // The child takes no input, so the foreign window's owner still sees all of it.
    m_target = CreateChildWindow(host, m_width, m_height, visual, false, 0);
    m_ownsTarget = true;
    XMapWindow(m_display, m_target);
    XSync(m_display, False);
    const bool ready = m_wrapper.Init(m_display, m_target, visual);
    XFree(visual);
    if (!ready)
        RaiseFailure(kErrorOpenGL);
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

bool CXSaverWnd::PumpEvents()
{
    const bool standAlone = m_options.target == SaverTarget::StandAlone;
    while (!m_ended && XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        switch (event.type) {
        case ConfigureNotify:
            if (event.xconfigure.window == m_host || (m_host == 0 && event.xconfigure.window == m_target))
                Resize(event.xconfigure.width, event.xconfigure.height);
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
    return !m_ended;
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
