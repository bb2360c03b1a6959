#pragma once
// The Linux saver's drawing window: an X window with a GLX context and the scene
// renderer, in one of four kinds (linux/SaverOptions.h):
//  - a window of its own (-window), placed by -geometry, closed by the window manager;
//  - a foreign window (-window-id, or -root's $XSCREENSAVER_WINDOW or root window),
//    which it only draws into and whose size it follows; the program that owns the
//    window ends the saver (XScreenSaver kills its modules). When the foreign window's
//    visual cannot carry the scene (no OpenGL, no depth or back buffer), the scene is
//    drawn in a child window of a visual chosen here that covers the foreign window;
//  - the stand-alone saver (-s): an override-redirect window over the whole screen at
//    the current desktop mode, with the pointer hidden, that ends on input as the
//    Windows saver window does (display/InputEndRule.h).
// Where it covers the whole screen (-s, and -root in the bare root window) it draws one
// view per monitor (-monitors, linux/MonitorFollower.h) and follows changes of the monitors
// and of the screen's size; the -fps overlay then sits on the primary.
// Frames are paced as XScreenSaver's modules pace theirs: -delay after each frame, spent
// waiting on the X connection so that input and the window's end are seen at once, and
// no frame at all (only waiting for events) while the window is unmapped (or any of its
// ancestors is) or fully obscured; a window uncovered (Expose) gets a frame at once. The
// viewport follows the window's size. An X error about a window that vanished ends the
// saver as the window's destruction does; any other ends it with a failure that names
// the error. Everything runs on one thread; the context stays current from Create to
// destruction.
#include <X11/Xlib.h>

#include <chrono>
#include <memory>

#include "display/InputEndRule.h"
#include "linux/CGLXWrapper.h"
#include "linux/FpsOverlay.h"
#include "linux/MonitorFollower.h"
#include "linux/SaverOptions.h"
#include "render/CGLDrawer.h"

class CXSaverWnd {
public:
    explicit CXSaverWnd(const SaverOptions& options);
    ~CXSaverWnd();
    CXSaverWnd(const CXSaverWnd&) = delete;
    CXSaverWnd& operator=(const CXSaverWnd&) = delete;

    // Opens the display and the window, makes the context current, sets up the renderer
    // and starts the sound when the Sounds setting is on.
    void Create();
    // Handles events for at least delayMicroseconds, and for as long as the window
    // cannot be seen; false once the saver should end.
    bool WaitForFrame(long delayMicroseconds);
    // One frame: viewport if the size changed, the scene, the overlay, the swap.
    void DrawFrame();

private:
    void OpenDisplay();
    void CreateOwnWindow(bool fullScreen);
    void NameOwnWindow(int x, int y, bool placed);
    void AttachToForeignWindow(Window host);
    Window CreateChildWindow(Window parent, int x, int y, int width, int height, XVisualInfo* visual,
                             bool overrideRedirect, long eventMask);
    void InitContext(XVisualInfo* visual);
    void TakeFocusAndPointer();
    void ApplyMonitorLayout();
    void HandlePendingEvents();
    // The first X error since the last look: the end when a window drawn for is gone,
    // else a failure naming it.
    void CheckXErrors();
    bool ShownWindowsExist();
    // Whether the window is viewable, its ancestors mapped too: X tells nothing when an
    // ancestor is unmapped, so this is asked when events say something changed, and
    // once a second otherwise.
    void CheckMapState();
    void HandleEvent(const XEvent& event);
    bool CanBeSeen() const { return m_viewable && !m_obscured; }
    void Resize(int width, int height);
    void Destroy();

    SaverOptions m_options;
    Display* m_display = nullptr;
    Window m_target = 0;     // the window the scene is drawn in
    Window m_host = 0;       // the foreign window, when drawing for one
    bool m_ownsTarget = false;
    Cursor m_hiddenCursor = 0;
    Atom m_deleteWindow = 0;
    int m_width = 0;
    int m_height = 0;
    bool m_viewportStale = true;
    bool m_viewable = true;  // mapped, and every ancestor too
    bool m_obscured = false; // fully covered by other windows
    bool m_ended = false;
    bool m_exposed = false;     // uncovered since the last frame: draw one at once
    bool m_mapCheckDue = false; // an event says the map state may have changed
    std::chrono::steady_clock::time_point m_nextMapCheck;
    bool m_soundStarted = false;
    CMonitorFollower m_monitors;
    bool m_layoutStale = false; // the monitors or the screen changed: read them again
    CInputEndRule m_endRule;
    CGLXWrapper m_wrapper;
    CGLDrawer m_drawer;
    std::unique_ptr<CFpsOverlay> m_fps;
};
