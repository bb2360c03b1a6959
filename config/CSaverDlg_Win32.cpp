#include "config/CSaverDlg_Win32.h"

CSaverDlg::CSaverDlg() = default;

CSaverDlg::~CSaverDlg() = default;

INT_PTR CSaverDlg::DoModal()
{
    return IDCANCEL;
}
