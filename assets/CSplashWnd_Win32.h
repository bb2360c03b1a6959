#pragma once
// The title picture window: a plain child window that shows the title picture stretched over
// its whole client area. It is the preview inside the host's window and the picture in
// the settings dialog's framed box. A heap object that deletes itself after its
// window's last message; the picture is fixed at the size the window was created with.
#include "framework/Framework.h"
#include "framework/GdiObjects.h"

class CSplashWnd : public CWnd {
public:
    CSplashWnd();
    ~CSplashWnd() override;

protected:
    int OnCreate(CREATESTRUCTA* create) override;
    void OnPaint() override;
    void PostNcDestroy() override;

    // The picture at the window's size; empty when the picture could not be loaded.
    CBrush m_brPicture;
};
