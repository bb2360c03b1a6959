#include "config/CSaverDlg_Win32.h"

#include <shellapi.h>

#include <cstdio>
#include <string>

#include "app/CallChain.h"
#include "app/Settings.h"
#include "assets/CSplashWnd_Win32.h"
#include "assets/SaveHTMLResource.h"
#include "display/CDisplay.h"
#include "resources/ResourceIds.h"

CSaverDlg::CSaverDlg(CWnd* parent)
    : CDialog(IDD_SAVER_DIALOG, parent), m_bCross(0), m_bDesktop(0), m_bHieroglyphs(0), m_bSounds(0), m_nMode(-1),
      m_bHighQuality(0), m_bRain(0),
      m_hIcon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_DIALOG_ICON))), m_hHollowBrush(nullptr)
{
}

CSaverDlg::~CSaverDlg() = default;

void CSaverDlg::DoDataExchange(CDataExchange* exchange)
{
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_MODE_LIST, m_combo);
    DDX_Check(exchange, IDC_CHECK_CROSS, m_bCross);
    DDX_Check(exchange, IDC_CHECK_DESKTOP, m_bDesktop);
    DDX_Check(exchange, IDC_CHECK_HIEROGLYPHS, m_bHieroglyphs);
    DDX_Check(exchange, IDC_CHECK_SOUNDS, m_bSounds);
    DDX_CBIndex(exchange, IDC_MODE_LIST, m_nMode);
    DDX_Check(exchange, IDC_CHECK_HIGH_QUALITY, m_bHighQuality);
    DDX_Check(exchange, IDC_CHECK_RAIN, m_bRain);
}

int CSaverDlg::OnCreate(CREATESTRUCTA* create)
{
    CHAIN_OPERATION("CSaverDlg::OnCreate");
    if (CDialog::OnCreate(create) == -1)
        return -1;
    LOGBRUSH hollow{BS_NULL, 0, 0};
    m_hHollowBrush = CreateBrushIndirect(&hollow);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    // Stretched to the client area, whatever pixel size the dialog font gave it. A
    // missing picture leaves the brush empty and the background unpainted.
    m_brBackground.CreatePatternBrush(LoadStretchedBitmap(IDB_DIALOG_BACKGROUND, client.right, client.bottom));
    return 0;
}

BOOL CSaverDlg::OnInitDialog()
{
    CHAIN_OPERATION("CSaverDlg::OnInitDialog");
    CDialog::OnInitDialog();
    CenterWindow();

    m_combo.ResetContent();
    CDisplay display;
    display.BuildModeList();
    m_nMode = 0;
    for (int i = 0; i < display.GetModesCount(); ++i) {
        const ModeDescription* mode = display.GetModeDescription(static_cast<unsigned>(i));
        char text[48];
        std::snprintf(text, sizeof text, "%dx%dx%d", static_cast<int>(mode->width), static_cast<int>(mode->height),
                      static_cast<int>(mode->bitsPerPixel));
        m_combo.InsertString(i, text);
        // The last matching mode wins; none matching leaves the first.
        if (mode->width == G_Settings.Width && mode->height == G_Settings.Height &&
            mode->bitsPerPixel == G_Settings.Depth)
            m_nMode = i;
    }

    const HWND frame = GetDlgItem(IDC_TITLE_FRAME);
    if (frame) {
        RECT inside{};
        GetClientRect(frame, &inside);
        // Deletes itself with its window, which goes with the dialog. A refused window
        // only means no picture.
        auto* picture = new CSplashWnd;
        picture->CreateEx(0, nullptr, "Splash", WS_CHILD | WS_VISIBLE, inside.left, inside.top,
                          inside.right - inside.left, inside.bottom - inside.top, frame, nullptr);
    }

    m_bCross = G_Settings.Cross;
    m_bSounds = G_Settings.Sounds;
    m_bHieroglyphs = G_Settings.Hieroglyphs;
    m_bRain = G_Settings.Rain;
    m_bDesktop = G_Settings.Desktop;
    m_bHighQuality = G_Settings.HighQuality;
    if (G_Settings.Desktop != 0)
        m_combo.EnableWindow(false);
    UpdateData(false);
    // The focus goes to the first tab stop, OK.
    return TRUE;
}

void CSaverDlg::OnPaint()
{
    CHAIN_OPERATION("CSaverDlg::OnPaint");
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(m_hWnd, &paint);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    if (IsIconic(m_hWnd)) {
        SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
        DrawIcon(dc, x, y, m_hIcon);
    } else {
        if (!m_brBackground.IsEmpty())
            FillRect(dc, &client, m_brBackground.GetSafeHandle());
        Default();
    }
    EndPaint(m_hWnd, &paint);
}

HCURSOR CSaverDlg::OnQueryDragIcon()
{
    return reinterpret_cast<HCURSOR>(m_hIcon);
}

LRESULT CSaverDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CHAIN_OPERATION("CSaverDlg::WindowProc");
    if (message == WM_CTLCOLORSTATIC) {
        // Static texts, check boxes and group boxes draw straight onto the picture.
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(m_hHollowBrush);
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CSaverDlg::OnDestroy()
{
    CHAIN_OPERATION("CSaverDlg::OnDestroy");
    CDialog::OnDestroy();
    if (m_hHollowBrush)
        DeleteObject(m_hHollowBrush);
    m_hHollowBrush = nullptr;
}

bool CSaverDlg::OnCommand(UINT id, UINT notifyCode, HWND control)
{
    if (notifyCode == BN_CLICKED) {
        switch (id) {
        case IDC_CHECK_CROSS:
            OnCrossClicked();
            return true;
        case IDC_CHECK_DESKTOP:
            OnDesktopClicked();
            return true;
        case IDC_CHECK_HIEROGLYPHS:
            OnHieroglyphsClicked();
            return true;
        case IDC_CHECK_SOUNDS:
            OnSoundsClicked();
            return true;
        case IDC_CHECK_HIGH_QUALITY:
            OnHighQualityClicked();
            return true;
        case IDC_CHECK_RAIN:
            OnRainClicked();
            return true;
        case IDC_ABOUT:
            OnAbout();
            return true;
        default:
            break;
        }
    }
    return CDialog::OnCommand(id, notifyCode, control);
}

void CSaverDlg::StoreCheck(const int& field, std::int32_t& setting)
{
    UpdateData(true);
    setting = field != 0 ? 1 : 0;
}

void CSaverDlg::OnCrossClicked()
{
    StoreCheck(m_bCross, G_Settings.Cross);
}

void CSaverDlg::OnDesktopClicked()
{
    StoreCheck(m_bDesktop, G_Settings.Desktop);
    m_combo.EnableWindow(G_Settings.Desktop == 0);
    UpdateData(true);
}

void CSaverDlg::OnHieroglyphsClicked()
{
    StoreCheck(m_bHieroglyphs, G_Settings.Hieroglyphs);
}

void CSaverDlg::OnSoundsClicked()
{
    StoreCheck(m_bSounds, G_Settings.Sounds);
}

void CSaverDlg::OnHighQualityClicked()
{
    StoreCheck(m_bHighQuality, G_Settings.HighQuality);
}

void CSaverDlg::OnRainClicked()
{
    StoreCheck(m_bRain, G_Settings.Rain);
}

void CSaverDlg::OnOK()
{
    CHAIN_OPERATION("CSaverDlg::OnOk");
    UpdateData(true);
    CDisplay display;
    display.BuildModeList();
    for (int i = 0; i < display.GetModesCount(); ++i) {
        if (i == m_nMode) {
            // Taken even when the box is disabled: Desktop alone decides whether the
            // saver uses it.
            const ModeDescription* mode = display.GetModeDescription(static_cast<unsigned>(i));
            G_Settings.Width = mode->width;
            G_Settings.Height = mode->height;
            G_Settings.Depth = mode->bitsPerPixel;
            break;
        }
    }
    CDialog::OnOK();
}

void CSaverDlg::OnAbout()
{
    CHAIN_OPERATION("CSaverDlg::OnAbout");
    const HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    char folder[MAX_PATH] = {};
    if (GetWindowsDirectoryA(folder, MAX_PATH) != 0) {
        std::string path = InfoPageFilePath(folder);
        bool saved = SaveHTMLResource(IDR_INFO_PAGE, path.c_str());
        // An ordinary user may not write to the Windows directory: the user's own
        // temporary folder takes the page instead. Neither case is reported.
        if (!saved && GetTempPathA(MAX_PATH, folder) != 0) {
            path = InfoPageFilePath(folder);
            saved = SaveHTMLResource(IDR_INFO_PAGE, path.c_str());
        }
        if (saved)
            ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
    SetCursor(previous);
}
