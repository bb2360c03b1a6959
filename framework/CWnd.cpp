#include "framework/Framework.h"

#include <windowsx.h>

#include <cstdio>
#include <map>
#include <string>
#include <tuple>

namespace {
// The object whose window is being created on this (the only) thread; it is bound
// to the first window of a framework class that receives a message without one.
CWnd* g_creating = nullptr;

std::exception_ptr g_keptException;

// The window property that binds a window to its object, for the framework's own
// classes and for windows it took over alike.
const char kObjectProperty[] = "ArcveilWindowObject";

// Default dispatch, cracked as the handlers expect it.
POINT PointFromLParam(LPARAM lParam)
{
    // Signed 16-bit coordinates: positions left of or above the window are negative.
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}
} // namespace

void KeepCallbackException(std::exception_ptr exception)
{
    if (!g_keptException)
        g_keptException = std::move(exception);
}

bool HasCallbackException()
{
    return static_cast<bool>(g_keptException);
}

void RethrowCallbackException()
{
    if (!g_keptException)
        return;
    std::exception_ptr exception = std::move(g_keptException);
    g_keptException = nullptr;
    std::rethrow_exception(exception);
}

LRESULT DispatchMessageAndRethrow(const MSG& message)
{
    const LRESULT result = DispatchMessageA(&message);
    RethrowCallbackException();
    return result;
}

LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = CWnd::FromHandle(window);
    if (!wnd && g_creating) {
        wnd = g_creating;
        g_creating = nullptr;
        wnd->Attach(window);
    }
    if (!wnd)
        return DefWindowProcA(window, message, wParam, lParam);

    ++wnd->m_procDepth;
    LRESULT result = 0;
    try {
        result = wnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        KeepCallbackException(std::current_exception());
        // A handler that failed during creation refuses the window.
        if (message == WM_NCCREATE)
            result = FALSE;
        else if (message == WM_CREATE)
            result = -1;
        else
            wnd->OnHandlerFailed();
    }
    if (message == WM_NCDESTROY)
        wnd->FinishNcDestroy();
    if (--wnd->m_procDepth == 0 && wnd->m_postNcDestroyDue)
        wnd->RunPostNcDestroy();
    return result;
}

CWnd::CWnd()
    : m_hWnd(nullptr), m_current{0, 0, 0}, m_superProc(nullptr), m_finishedDuringCreate(nullptr), m_procDepth(0),
      m_postNcDestroyDue(false)
{
}

CWnd::~CWnd()
{
    // The object goes before its window: the window falls back to its own handling.
    Detach();
    CWinApp* app = GetApp();
    if (app && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
    if (g_creating == this)
        g_creating = nullptr;
}

CWnd* CWnd::FromHandle(HWND window)
{
    if (!window)
        return nullptr;
    return static_cast<CWnd*>(GetPropA(window, kObjectProperty));
}

void CWnd::Attach(HWND window)
{
    m_hWnd = window;
    SetPropA(window, kObjectProperty, this);
}

void CWnd::TakeOverWindow(HWND window)
{
    Attach(window);
    m_superProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameworkWindowProc)));
}

void CWnd::Detach()
{
    if (!m_hWnd)
        return;
    if (m_superProc)
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superProc));
    RemovePropA(m_hWnd, kObjectProperty);
    m_hWnd = nullptr;
    m_superProc = nullptr;
}

void CWnd::OnHandlerFailed()
{
}

void CWnd::FinishNcDestroy()
{
    Detach();
    CWinApp* app = GetApp();
    if (app && app->m_pMainWnd == this) {
        PostQuitMessage(0);
        app->m_pMainWnd = nullptr;
    }
    if (m_finishedDuringCreate) {
        *m_finishedDuringCreate = true;
        m_finishedDuringCreate = nullptr;
    }
    m_postNcDestroyDue = true;
}

void CWnd::RunPostNcDestroy()
{
    m_postNcDestroyDue = false;
    try {
        PostNcDestroy(); // may delete this
    } catch (...) {
        KeepCallbackException(std::current_exception());
    }
}

const char* CWnd::RegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    static std::map<std::tuple<UINT, HCURSOR, HBRUSH, HICON>, std::string> registered;
    const auto key = std::make_tuple(classStyle, cursor, background, icon);
    const auto found = registered.find(key);
    if (found != registered.end())
        return found->second.c_str();

    char name[96];
    std::snprintf(name, sizeof name, "ArcveilWnd:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor),
                  static_cast<void*>(background), static_cast<void*>(icon));
    WNDCLASSA windowClass{};
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = &FrameworkWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = background;
    windowClass.hIcon = icon;
    windowClass.lpszClassName = name;
    // A failed registration shows as a refused window in CreateEx.
    RegisterClassA(&windowClass);
    return registered.emplace(key, name).first->second.c_str();
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId, void* param)
{
    if (!className)
        className = RegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, LoadCursorA(nullptr, IDC_ARROW), nullptr,
                                     nullptr);
    bool finished = false;
    m_finishedDuringCreate = &finished;
    CWnd* const previous = g_creating;
    g_creating = this;
    const HWND window = CreateWindowExA(exStyle, className, windowName, style, x, y, width, height, parent,
                                        menuOrId, GetModuleHandleA(nullptr), param);
    g_creating = previous;

    if (finished) {
        // The window went through its last message already; the object may be gone.
        RethrowCallbackException();
        return false;
    }
    m_finishedDuringCreate = nullptr;
    if (!window) {
        // Refused without a last message (before the first one, as a rule): end the
        // object's life the same way, so that callers see one behaviour.
        Detach();
        RunPostNcDestroy();
        RethrowCallbackException();
        return false;
    }
    RethrowCallbackException();
    return true;
}

bool CWnd::DestroyWindow()
{
    const HWND window = m_hWnd;
    if (!window)
        return false;
    const bool destroyed = ::DestroyWindow(window) != FALSE; // may delete this
    RethrowCallbackException();
    return destroyed;
}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_superProc)
        return CallWindowProcA(m_superProc, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

void CWnd::PostNcDestroy()
{
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const CurrentMessage outer = m_current;
    m_current = CurrentMessage{message, wParam, lParam};
    struct Restore {
        CWnd* wnd;
        CurrentMessage saved;
        ~Restore() { wnd->m_current = saved; }
    } restore{this, outer};

    switch (message) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam));
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SYSCOMMAND:
        OnSysCommand(static_cast<UINT>(wParam), lParam);
        return 0;
    case WM_SETCURSOR:
        return OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam));
    case WM_NCACTIVATE:
        return OnNcActivate(static_cast<BOOL>(wParam));
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_ACTIVATEAPP:
        OnActivateApp(static_cast<BOOL>(wParam), static_cast<DWORD>(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), PointFromLParam(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), PointFromLParam(lParam));
        return 0;
    case WM_MBUTTONDOWN:
        OnMButtonDown(static_cast<UINT>(wParam), PointFromLParam(lParam));
        return 0;
    case WM_RBUTTONDOWN:
        OnRButtonDown(static_cast<UINT>(wParam), PointFromLParam(lParam));
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_SYSKEYDOWN:
        OnSysKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_DISPLAYCHANGE:
        OnDisplayChange(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    default:
        return DefWindowProc(message, wParam, lParam);
    }
}

int CWnd::OnCreate(CREATESTRUCTA*)
{
    return static_cast<int>(Default());
}

void CWnd::OnDestroy()
{
    Default();
}

void CWnd::OnPaint()
{
    Default();
}

void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}

BOOL CWnd::OnSetCursor(HWND, UINT, UINT)
{
    return static_cast<BOOL>(Default());
}

BOOL CWnd::OnNcActivate(BOOL)
{
    return static_cast<BOOL>(Default());
}

void CWnd::OnActivate(UINT, HWND, BOOL)
{
    Default();
}

void CWnd::OnActivateApp(BOOL, DWORD)
{
    Default();
}

void CWnd::OnMouseMove(UINT, POINT)
{
    Default();
}

void CWnd::OnLButtonDown(UINT, POINT)
{
    Default();
}

void CWnd::OnMButtonDown(UINT, POINT)
{
    Default();
}

void CWnd::OnRButtonDown(UINT, POINT)
{
    Default();
}

void CWnd::OnKeyDown(UINT, UINT, UINT)
{
    Default();
}

void CWnd::OnSysKeyDown(UINT, UINT, UINT)
{
    Default();
}

void CWnd::OnDisplayChange(UINT, int, int)
{
    Default();
}
