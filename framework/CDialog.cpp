#include "framework/CDialog.h"

#include <cstring>

#include "framework/DataExchange.h"

namespace {
// The dialog whose window DoModal is waiting for, and the hook that takes it over.
CDialog* g_creatingDialog = nullptr;
HHOOK g_creationHook = nullptr;

bool IsDialogClass(HWND window)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return std::strcmp(name, "#32770") == 0;
}

void RemoveCreationHook()
{
    if (g_creationHook)
        UnhookWindowsHookEx(g_creationHook);
    g_creationHook = nullptr;
    g_creatingDialog = nullptr;
}

// Every message reaches the bound object's WindowProc first; the system's dialog
// procedure still needs one of its own, which leaves everything to the default.
INT_PTR CALLBACK EmptyDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
} // namespace

// Sees each window created while DoModal waits; the first dialog-class window is ours.
// Taking it over here, before its first message, lets OnCreate see WM_CREATE.
LRESULT CALLBACK DialogCreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    const HHOOK hook = g_creationHook;
    if (code == HCBT_CREATEWND && g_creatingDialog) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        if (IsDialogClass(window)) {
            CDialog* dialog = g_creatingDialog;
            RemoveCreationHook();
            dialog->TakeOverWindow(window);
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

CDialog::CDialog(int templateId, CWnd* parent) : m_templateId(templateId), m_parent(parent), m_ended(false)
{
}

CDialog::~CDialog() = default;

void CDialog::OnHandlerFailed()
{
    // The system runs the dialog's loop: the program's failure ends the dialog, and
    // DoModal throws it on.
    EndDialog(-1);
}

INT_PTR CDialog::DoModal()
{
    m_ended = false;
    g_creatingDialog = this;
    g_creationHook = SetWindowsHookExA(WH_CBT, &DialogCreationHook, nullptr, GetCurrentThreadId());
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId),
                                           m_parent ? m_parent->m_hWnd : nullptr, &EmptyDialogProc, 0);
    // Still set when no dialog window was ever made.
    RemoveCreationHook();
    RethrowCallbackException();
    return result;
}

void CDialog::EndDialog(INT_PTR result)
{
    if (m_hWnd && !m_ended) {
        m_ended = true;
        ::EndDialog(m_hWnd, result);
    }
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return true;
}

HWND CDialog::GetDlgItem(int id) const
{
    return m_hWnd ? ::GetDlgItem(m_hWnd, id) : nullptr;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)))
            return 0;
        break;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(OnQueryDragIcon());
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(false);
    return TRUE;
}

bool CDialog::OnCommand(UINT id, UINT notifyCode, HWND)
{
    // Buttons, and the system's own IDOK/IDCANCEL from Enter, Escape and the close box.
    if (notifyCode != BN_CLICKED)
        return false;
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

void CDialog::OnOK()
{
    UpdateData(true);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

HCURSOR CDialog::OnQueryDragIcon()
{
    return reinterpret_cast<HCURSOR>(DefWindowProc(WM_QUERYDRAGICON, 0, 0));
}

void CDialog::CenterWindow()
{
    if (!m_hWnd)
        return;
    RECT area{};
    const HWND owner = GetWindow(m_hWnd, GW_OWNER);
    if (owner && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &area);
    else
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT own{};
    GetWindowRect(m_hWnd, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    // A dialog larger than the area keeps its top left corner (and caption) on it.
    if (x < area.left)
        x = area.left;
    if (y < area.top)
        y = area.top;
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
