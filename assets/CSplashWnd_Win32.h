#pragma once
// The title picture window: a plain child window that shows bitmap 146 stretched over
// its whole client area. It is the preview inside the host's window and the picture in
// the settings dialog's framed box. A heap object that deletes itself after its
// window's last message; the picture is fixed at the size the window was created with.
#include "framework/Framework.h"
#include "framework/GdiObjects.h"

inline constexpr int kTitlePictureResource = 146;

class CSplashWnd : public CWnd {
public:
    CSplashWnd();
    ~CSplashWnd() override;

protected:
    int OnCreate(CREATESTRUCTA* create) override;
    void OnPaint() override;
    void PostNcDestroy() override;

    // The picture at the window's size; empty when bitmap 146 could not be loaded.
    CBrush m_brPicture;
};
