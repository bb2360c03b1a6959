#pragma once
// The title picture window: a plain child window shown as the preview inside the
// host's window and as the picture in the settings dialog. A heap object that deletes
// itself after its window's last message.
//
// For now it is only the window and its life: the picture (bitmap 146 stretched over
// the client area) is still to be painted.
#include "framework/Framework.h"

class CSplashWnd : public CWnd {
public:
    CSplashWnd();
    ~CSplashWnd() override;

protected:
    void PostNcDestroy() override;
};
