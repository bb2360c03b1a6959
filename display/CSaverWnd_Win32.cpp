#include "display/CSaverWnd_Win32.h"

#include "app/CallChain.h"
#include "app/Settings.h"
#include "display/CDisplay.h"
#include "platform/GLHeaders.h"

CSaverWnd::CSaverWnd() : CDrawWnd(1)
{
}

CSaverWnd::~CSaverWnd() = default;

void CSaverWnd::Create()
{
    CHAIN_OPERATION("CSaverWnd::Create");
    if (G_Settings.Desktop == 0 && !CDisplay::SetMode(G_Settings.Width, G_Settings.Height, G_Settings.Depth))
        RaiseFailure(kErrorVideoMode);
    // Read after the switch, which changes the primary monitor only.
    const DesktopLayout layout = ReadDesktopLayout();
    CDrawWnd::Create(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, layout.window, nullptr);
    UseLayout(layout);
}

void CSaverWnd::UseLayout(const DesktopLayout& layout)
{
    m_placed = layout.window;
    m_drawer.SetViews(LayoutViews(layout.monitors, layout.window.right - layout.window.left,
                                  layout.window.bottom - layout.window.top));
}

void CSaverWnd::OnDisplayChange(UINT bitsPerPixel, int width, int height)
{
    // A monitor added, removed or resized: every monitor is covered again.
    const DesktopLayout layout = ReadDesktopLayout();
    const RECT& r = layout.window;
    SetWindowPos(m_hWnd, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
    // The context keeps the viewport of the size it was made at; a one-monitor frame
    // draws into it as it is.
    if (r.right - r.left != m_placed.right - m_placed.left || r.bottom - r.top != m_placed.bottom - m_placed.top)
        glViewport(0, 0, r.right - r.left, r.bottom - r.top);
    UseLayout(layout);
    CDrawWnd::OnDisplayChange(bitsPerPixel, width, height);
}

void CSaverWnd::PostCloseRequest()
{
    PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
}

void CSaverWnd::OnSysCommand(UINT command, LPARAM extra)
{
    // A second saver from the host, or the close command that follows Alt+F4 (the key
    // press has already asked to close), are dropped. The whole value is compared.
    if (command == SC_SCREENSAVE || command == SC_CLOSE)
        return;
    CDrawWnd::OnSysCommand(command, extra);
}

void CSaverWnd::OnDestroy()
{
    CHAIN_OPERATION("CSaverWnd::OnDestroy");
    PostQuitMessage(0);
    CDrawWnd::OnDestroy();
}

BOOL CSaverWnd::OnSetCursor(HWND, UINT, UINT)
{
    SetCursor(nullptr);
    return TRUE;
}

BOOL CSaverWnd::OnNcActivate(BOOL active)
{
    if (!active)
        return FALSE;
    return CDrawWnd::OnNcActivate(active);
}

void CSaverWnd::OnActivate(UINT state, HWND other, BOOL minimized)
{
    if (state == WA_INACTIVE)
        PostCloseRequest();
    CDrawWnd::OnActivate(state, other, minimized);
}

void CSaverWnd::OnActivateApp(BOOL active, DWORD otherThread)
{
    if (!active)
        PostCloseRequest();
    CDrawWnd::OnActivateApp(active, otherThread);
}

void CSaverWnd::OnMouseMove(UINT flags, POINT point)
{
    // On the desktop, so that the window moving with the monitors moves no pointer.
    if (m_endRule.OnPointerAt(point.x + m_placed.left, point.y + m_placed.top))
        PostCloseRequest();
    CDrawWnd::OnMouseMove(flags, point);
}

void CSaverWnd::OnLButtonDown(UINT flags, POINT point)
{
    if (m_endRule.OnButtonPress(kLeftButton))
        PostCloseRequest();
    CDrawWnd::OnLButtonDown(flags, point);
}

void CSaverWnd::OnMButtonDown(UINT flags, POINT point)
{
    if (m_endRule.OnButtonPress(kMiddleButton))
        PostCloseRequest();
    CDrawWnd::OnMButtonDown(flags, point);
}

void CSaverWnd::OnRButtonDown(UINT flags, POINT point)
{
    if (m_endRule.OnButtonPress(kRightButton))
        PostCloseRequest();
    CDrawWnd::OnRButtonDown(flags, point);
}

void CSaverWnd::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (m_endRule.OnKeyPress())
        PostCloseRequest();
    CDrawWnd::OnKeyDown(key, repeat, flags);
}

void CSaverWnd::OnSysKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (m_endRule.OnKeyPress())
        PostCloseRequest();
    CDrawWnd::OnSysKeyDown(key, repeat, flags);
}

void CSaverWnd::PostNcDestroy()
{
    CHAIN_OPERATION("CSaverWnd::PostNcDestroy");
    if (G_Settings.Desktop == 0)
        CDisplay::RestoreMode();
    CDrawWnd::PostNcDestroy();
}
