#include "windows/CSaverApp.h"

#include "app/CallChain.h"
#include "app/RunMode.h"
#include "app/Settings.h"
#include "assets/CSplashWnd_Win32.h"
#include "config/CSaverDlg_Win32.h"
#include "display/CDisplay.h"
#include "display/CSaverWnd_Win32.h"
#include "platform/Clock.h"
#include "platform/CrtRandom.h"
#include "platform/Sound_Win32.h"

namespace {
// A run-mode window posts the quit message when it is destroyed, so a waiting quit
// message tells that one was destroyed. The system hands out WM_QUIT whatever the
// filter, so this sees nothing else.
bool QuitMessageWaiting()
{
    MSG message;
    return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}
} // namespace

CSaverApp::CSaverApp() = default;

bool CSaverApp::InitInstance()
{
    // Dialog controls have the three-dimensional look on every system this runs on:
    // there is nothing to switch on for it.
    try {
        try {
            RunInstance();
        } catch (...) {
            ReportFailure();
        }
    } catch (...) {
        // A failure inside the report itself ends the program without a word.
    }
    return false;
}

void CSaverApp::RunInstance()
{
    CHAIN_OPERATION("CSaverApp::InitInstance");
    MainLoop();
}

void CSaverApp::ReportFailure()
{
    if (G_Settings.Desktop == 0)
        CDisplay::RestoreMode();
    if (m_pMainWnd)
        m_pMainWnd->DestroyWindow();
    if (QuitMessageWaiting()) {
        // Empty the queue so that the message box starts on a clean one and no quit
        // message ends it at once.
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        }
    }
    MessageBoxA(nullptr, ComposeFailureReport().c_str(), kFailureCaption, kFailureBoxFlags);
}

void CSaverApp::MainLoop()
{
    CHAIN_OPERATION("CSaverApp::MainLoop");
    CrtSrand(ClockMilliseconds());
    SetSoundPlayer(&SystemSoundPlayer());
    SetRegistryKey(kSettingsCompanyKey);
    LoadSettings();

    switch (ChooseRunMode(__argc, __argv)) {
    case RunMode::Settings:
        DoConfig();
        return;
    case RunMode::Preview:
        if (!StartPreview(PreviewHostHandle(__argc, __argv)))
            return;
        break;
    case RunMode::Saver:
        StartSaver();
        break;
    case RunMode::None:
        // No run mode for this option: no window would ever post the quit message.
        return;
    }
    RunMessageLoop();
}

bool CSaverApp::StartPreview(std::optional<long> hostHandle)
{
    if (!hostHandle)
        return false;
    const HWND host = reinterpret_cast<HWND>(static_cast<INT_PTR>(*hostHandle));
    if (!IsWindow(host))
        return false;
    RECT client{};
    GetClientRect(host, &client);
    auto* splash = new CSplashWnd;
    if (!splash->CreateEx(0, nullptr, "Splash", WS_CHILD | WS_VISIBLE, client.left, client.top,
                          client.right - client.left, client.bottom - client.top, host, nullptr)) {
        // Refused: the object is gone and no quit message will come.
        RaiseFailure("");
    }
    m_pMainWnd = splash;
    return true;
}

void CSaverApp::StartSaver()
{
    auto* saver = new CSaverWnd;
    saver->Create();
    // Only now: a failure inside Create leaves no main window behind.
    m_pMainWnd = saver;
}

void CSaverApp::RunMessageLoop()
{
    // Messages sent from elsewhere are handled inside PeekMessageA, WaitMessage and
    // GetMessageA too: a failure kept there leaves the loop right after the call.
    MSG message;
    for (;;) {
        const BOOL queued = PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        RethrowCallbackException();
        if (!queued) {
            // Nothing queued: sleep until something is. A window that is still invalid
            // always has a paint request waiting, so frames still run back to back.
            WaitMessage();
            RethrowCallbackException();
            continue;
        }
        const BOOL taken = GetMessageA(&message, nullptr, 0, 0);
        RethrowCallbackException();
        if (taken <= 0)
            return;
        TranslateMessage(&message);
        DispatchMessageAndRethrow(message);
    }
}

void CSaverApp::DoConfig()
{
    CHAIN_OPERATION("CSaverApp::DoConfig");
    CSaverDlg dialog;
    m_pMainWnd = &dialog;
    if (dialog.DoModal() == IDOK)
        SaveSettings();
}

void CSaverApp::LoadSettings()
{
    CHAIN_OPERATION("CSaverApp::LoadSettings");
    ReadSettings(Profile(), G_Settings);
    // Whoever turned Windows' animations off gets the lightning that flashes at most three
    // times a second; the registry keeps the nine settings as they were.
    BOOL animations = TRUE;
    if (!SystemParametersInfoA(SPI_GETCLIENTAREAANIMATION, 0, &animations, 0))
        animations = TRUE;
    G_Settings.Gentle = animations ? 0 : 1;
}

void CSaverApp::SaveSettings()
{
    CHAIN_OPERATION("CSaverApp::SaveSettings");
    WriteSettings(Profile(), G_Settings);
}
