#include "display/CDrawWnd_Win32.h"

#include "app/CallChain.h"
#include "app/Settings.h"
#include "platform/Sound.h"
#include "resources/ResourceIds.h"

CDrawWnd::CDrawWnd(int autoDelete)
{
    m_autoDelete = autoDelete;
}

CDrawWnd::~CDrawWnd() = default;

void CDrawWnd::Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent)
{
    CHAIN_OPERATION("CDrawWnd::Create");
    const HINSTANCE module = GetModuleHandleA(nullptr);
    // A missing cursor resource gives no cursor, which is just as invisible.
    const HCURSOR cursor = LoadCursorA(module, MAKEINTRESOURCEA(IDC_INVISIBLE_CURSOR));
    const char* className = RegisterWndClass(kDrawWndClassStyle, cursor, nullptr, nullptr);
    const bool created = CreateEx(exStyle, className, "", style, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr, nullptr, nullptr);
    if (!created) {
        // The system refused the window for reasons of its own; an auto-delete object
        // is gone already. The failure carries no text: the report says so.
        RaiseFailure("");
    }
}

int CDrawWnd::OnCreate(CREATESTRUCTA* create)
{
    CHAIN_OPERATION("CDrawWnd::OnCreate");
    if (CWnd::OnCreate(create) == -1)
        return -1;
    if (!m_wrapper.Init(m_hWnd))
        RaiseFailure(kErrorOpenGL);
    m_drawer.Init();
    if (G_Settings.Sounds != 0)
        G_PlaySound(IDR_STORM_SOUND);
    return 0;
}

void CDrawWnd::OnDestroy()
{
    CHAIN_OPERATION("CDrawWnd::OnDestroy");
    G_StopSound();
    CWnd::OnDestroy();
}

LRESULT CDrawWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT && m_wrapper.m_hRC) {
        // The frame pump. Only this path names the operation: other messages name
        // their own handlers, so a creation failure reads
        // "... -> CDrawWnd::Create() -> CDrawWnd::OnCreate()".
        CHAIN_OPERATION("CDrawWnd::WindowProc");
        m_drawer.Draw();
        m_wrapper.Show();
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CDrawWnd::PostNcDestroy()
{
    CHAIN_OPERATION("CDrawWnd::PostNcDestroy");
    if (m_autoDelete)
        delete this;
}
