#pragma once
// The settings dialog (dialog resource 102), run modally by the settings mode.
//
// For now it is only what start-up calls: DoModal shows nothing yet and answers
// IDCANCEL, so the settings mode ends at once and stores nothing.
#include "framework/Framework.h"

class CSaverDlg : public CWnd {
public:
    CSaverDlg();
    ~CSaverDlg() override;

    // IDOK when the user confirmed the settings, anything else otherwise.
    INT_PTR DoModal();
};
