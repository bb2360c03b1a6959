#pragma once
// Modal dialogs from a dialog template, with data exchange between the controls and
// the dialog object's fields.
//
// Contract
//  - DoModal() runs the template with the system's modal loop and returns what ended
//    it (IDOK, IDCANCEL, the value given to EndDialog), or -1 when the system could
//    not make the dialog.
//  - The dialog window is bound to its object from its first message on (the window is
//    taken over with TakeOverWindow as it is created), so the handlers of CWnd run as for any framework
//    window, OnCreate included. WM_INITDIALOG reaches OnInitDialog(), WM_COMMAND
//    reaches OnCommand(), which sends OK and Cancel to OnOK() and OnCancel().
//  - Defaults: OnInitDialog() exchanges the fields into the controls and returns TRUE
//    (the focus goes to the first tab stop); OnOK() exchanges the controls into the
//    fields and ends with IDOK; OnCancel() ends with IDCANCEL, exchanging nothing.
//  - The dialog goes through the framework's one window procedure and end of life
//    (framework/Framework.h). Exceptions never leave it: the first is kept, the dialog
//    ends at once, and DoModal() throws it again after the system's call returned.
#include "framework/Framework.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    // templateId: the dialog resource; parent: the owner, null for none.
    explicit CDialog(int templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    virtual INT_PTR DoModal();
    void EndDialog(INT_PTR result);

    // Runs DoDataExchange in one direction: true takes the controls into the fields,
    // false puts the fields into the controls.
    bool UpdateData(bool saveAndValidate = true);

    // A control of this dialog by id, or null.
    HWND GetDlgItem(int id) const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    virtual void DoDataExchange(CDataExchange* exchange);
    virtual BOOL OnInitDialog();
    // True when the command was handled; false passes it to the default procedure.
    virtual bool OnCommand(UINT id, UINT notifyCode, HWND control);
    virtual void OnOK();
    virtual void OnCancel();
    virtual HCURSOR OnQueryDragIcon();

    // Centres the dialog over its owner, or over the screen's work area without one.
    void CenterWindow();

    void OnHandlerFailed() override;

private:
    friend LRESULT CALLBACK DialogCreationHook(int, WPARAM, LPARAM);

    int m_templateId;
    CWnd* m_parent;
    bool m_ended;
};
