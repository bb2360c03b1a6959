#include "assets/CSplashWnd_Win32.h"

#include "resources/ResourceIds.h"

CSplashWnd::CSplashWnd() = default;

CSplashWnd::~CSplashWnd() = default;

int CSplashWnd::OnCreate(CREATESTRUCTA* create)
{
    if (CWnd::OnCreate(create) == -1)
        return -1;
    RECT client{};
    GetClientRect(m_hWnd, &client);
    // One copy of the pattern fills the window exactly: the picture is stretched,
    // without keeping its aspect, to the client size.
    m_brPicture.CreatePatternBrush(LoadStretchedBitmap(IDB_TITLE_PICTURE, client.right, client.bottom));
    return 0;
}

void CSplashWnd::OnPaint()
{
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(m_hWnd, &paint);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    if (!m_brPicture.IsEmpty())
        FillRect(dc, &client, m_brPicture.GetSafeHandle());
    EndPaint(m_hWnd, &paint);
}

void CSplashWnd::PostNcDestroy()
{
    CWnd::PostNcDestroy();
    delete this;
}
