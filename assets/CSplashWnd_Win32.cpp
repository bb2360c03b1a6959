#include "assets/CSplashWnd_Win32.h"

CSplashWnd::CSplashWnd() = default;

CSplashWnd::~CSplashWnd() = default;

void CSplashWnd::PostNcDestroy()
{
    CWnd::PostNcDestroy();
    delete this;
}
