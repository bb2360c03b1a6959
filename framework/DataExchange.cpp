#include "framework/DataExchange.h"

#include "framework/CDialog.h"

HWND CDataExchange::Control(int id) const
{
    return m_pDlgWnd ? m_pDlgWnd->GetDlgItem(id) : nullptr;
}

void CComboBox::ResetContent()
{
    SendMessageA(m_hWnd, CB_RESETCONTENT, 0, 0);
}

int CComboBox::InsertString(int index, const char* text)
{
    return static_cast<int>(SendMessageA(m_hWnd, CB_INSERTSTRING, static_cast<WPARAM>(index),
                                         reinterpret_cast<LPARAM>(text)));
}

void CComboBox::EnableWindow(bool enable)
{
    ::EnableWindow(m_hWnd, enable ? TRUE : FALSE);
}

void DDX_Control(CDataExchange* exchange, int id, CComboBox& control)
{
    if (!control.m_hWnd)
        control.m_hWnd = exchange->Control(id);
}

void DDX_Check(CDataExchange* exchange, int id, int& value)
{
    const HWND control = exchange->Control(id);
    if (!control)
        return;
    if (exchange->m_bSaveAndValidate)
        value = static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0));
    else
        SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_CBIndex(CDataExchange* exchange, int id, int& index)
{
    const HWND control = exchange->Control(id);
    if (!control)
        return;
    if (exchange->m_bSaveAndValidate)
        index = static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
    else
        SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
