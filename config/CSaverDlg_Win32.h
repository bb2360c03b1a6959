#pragma once
// The settings dialog (template 102), run modally by the settings mode. It works on
// the process-wide settings directly: it reads them when it opens, each check box
// writes its setting the moment it is clicked, and OK writes the chosen video mode;
// the caller stores them when DoModal answers IDOK. It shows the title picture in a
// framed box over a stretched background picture, and its About button writes and
// opens the information page.
#include "framework/CDialog.h"
#include "framework/DataExchange.h"
#include "framework/GdiObjects.h"

class CSaverDlg : public CDialog {
public:
    explicit CSaverDlg(CWnd* parent = nullptr);
    ~CSaverDlg() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void DoDataExchange(CDataExchange* exchange) override;
    int OnCreate(CREATESTRUCTA* create) override;
    BOOL OnInitDialog() override;
    void OnPaint() override;
    HCURSOR OnQueryDragIcon() override;
    void OnDestroy() override;
    bool OnCommand(UINT id, UINT notifyCode, HWND control) override;
    void OnOK() override;

    void OnCrossClicked();
    void OnDesktopClicked();
    void OnHieroglyphsClicked();
    void OnSoundsClicked();
    void OnHighQualityClicked();
    void OnRainClicked();
    void OnAbout();

    CComboBox m_combo;
    int m_bCross;
    int m_bDesktop;
    int m_bHieroglyphs;
    int m_bSounds;
    int m_nMode;
    int m_bHighQuality;
    int m_bRain;
    HICON m_hIcon;
    HBRUSH m_hHollowBrush;
    CBrush m_brBackground;

private:
    // The check-box handlers' common step: all controls into the fields, then the
    // setting from its field.
    void StoreCheck(const int& field, std::int32_t& setting);
};
