#pragma once
// The full-screen window of the saver: switches the video mode unless the desktop's is
// kept, covers the screen with a topmost drawing window without a pointer, and closes
// itself at the first mouse movement away from the first reported position, any
// button or key press, or the loss of activation. Destroying it ends the message loop
// and puts the video mode back. Heap object that deletes itself.
// With several monitors it covers the virtual screen, one view on each monitor
// (display/MonitorLayout_Win32.h), and covers them again when they change.
#include "display/CDrawWnd_Win32.h"
#include "display/InputEndRule.h"
#include "display/MonitorLayout_Win32.h"

class CSaverWnd : public CDrawWnd {
public:
    CSaverWnd();
    ~CSaverWnd() override;

    // Switches the mode and creates the window; raises the video-mode failure, with
    // no window created, when the display refuses the mode.
    void Create();

protected:
    void PostNcDestroy() override;
    void OnSysCommand(UINT command, LPARAM extra) override;
    void OnDestroy() override;
    BOOL OnSetCursor(HWND window, UINT hitTest, UINT message) override;
    BOOL OnNcActivate(BOOL active) override;
    void OnActivate(UINT state, HWND other, BOOL minimized) override;
    void OnActivateApp(BOOL active, DWORD otherThread) override;
    void OnMouseMove(UINT flags, POINT point) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnMButtonDown(UINT flags, POINT point) override;
    void OnRButtonDown(UINT flags, POINT point) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnSysKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnDisplayChange(UINT bitsPerPixel, int width, int height) override;

private:
    // The window's place on the desktop and the renderer's views.
    void UseLayout(const DesktopLayout& layout);

    // Several may be posted before the first is handled; later ones find no window.
    void PostCloseRequest();

    CInputEndRule m_endRule;
    RECT m_placed{}; // where the window covers the desktop, in screen coordinates
};
