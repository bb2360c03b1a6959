#pragma once
// Dialog data exchange: each DDX_ call moves one value between a control and a field,
// in the direction the exchange names.
#include "platform/WindowsHeaders_Win32.h"

class CDialog;

class CDataExchange {
public:
    CDataExchange(CDialog* dialog, bool saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    CDialog* const m_pDlgWnd;
    // true: controls into fields; false: fields into controls.
    const bool m_bSaveAndValidate;

    // The control, or null when the dialog has none with that id.
    HWND Control(int id) const;
};

// A control of a dialog as an object: a handle it does not own, set by DDX_Control.
class CComboBox {
public:
    HWND m_hWnd = nullptr;

    void ResetContent();
    // The position the string went to, or a negative error (CB_ERR, CB_ERRSPACE).
    int InsertString(int index, const char* text);
    void EnableWindow(bool enable);
};

// Attaches control to the dialog's control id on the first exchange; later ones keep it.
void DDX_Control(CDataExchange* exchange, int id, CComboBox& control);
// A check box's state (0 unchecked, 1 checked, 2 indeterminate).
void DDX_Check(CDataExchange* exchange, int id, int& value);
// A combo box's selected index; -1 reads as no selection and, written, clears it.
void DDX_CBIndex(CDataExchange* exchange, int id, int& index);
