#include "display/CSaverWnd_Win32.h"

#include "app/CallChain.h"
#include "app/Settings.h"
#include "display/CDisplay.h"

CSaverWnd::CSaverWnd() : CDrawWnd(1)
{
}

CSaverWnd::~CSaverWnd() = default;

void CSaverWnd::Create()
{
    CHAIN_OPERATION("CSaverWnd::Create");
    if (G_Settings.Desktop == 0 && !CDisplay::SetMode(G_Settings.Width, G_Settings.Height, G_Settings.Depth))
        RaiseFailure(kErrorVideoMode);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const RECT rect{0, 0, width, height};
    CDrawWnd::Create(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, rect, nullptr);
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
    if (m_endRule.OnPointerAt(point.x, point.y))
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
