// The application object in this process, where the outside cannot look. System calls
// are observed, or made to fail, by pointing this executable's import slots at stand-ins.
#include <doctest/doctest.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "windows/CSaverApp.h"
#include "display/CSaverWnd_Win32.h"
#include "platform/Resources.h"
#include "platform/Sound.h"
#include "resources/ResourceIds.h"
#include "tests/WindowsFixture_Win32.h"

extern "C" BOOL(WINAPI* __imp_WaitMessage)();
extern "C" BOOL(WINAPI* __imp_sndPlaySoundA)(LPCSTR, UINT);
extern "C" int(WINAPI* __imp_ChoosePixelFormat)(HDC, const PIXELFORMATDESCRIPTOR*);

namespace {
int g_waits = 0;
bool g_waitedOnFailure = false;
BOOL WINAPI CountedWait()
{
    ++g_waits;
    // A kept failure must leave the loop before it sleeps: note it, and do not sleep; else as WaitMessage.
    g_waitedOnFailure = g_waitedOnFailure || HasCallbackException();
    return HasCallbackException() ? TRUE : !MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
}

class FailingWnd : public CWnd {
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        CHAIN_OPERATION("FailingWnd::WindowProc");
        if (message == WM_APP || (message == WM_PAINT && ++m_frames == 3))
            RaiseFailure(message == WM_APP ? "\"sent failed\"" : "\"frame failed\"");
        if (message == WM_TIMER) // idle until then
            PostQuitMessage(0);
        // Frames without validating, back to back, as the drawing window draws them.
        return message == WM_PAINT ? 0 : CWnd::WindowProc(message, wParam, lParam);
    }
    int m_frames = 0;
};

std::vector<std::pair<const void*, UINT>> g_played;
BOOL WINAPI RecordedPlay(LPCSTR data, UINT flags)
{
    g_played.emplace_back(data, flags);
    return TRUE;
}

INT_PTR g_dialogEnd = 0;
void CALLBACK EndSettingsDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (const HWND dialog = FindWindowA("#32770", "Arcveil 3D v 2.0 - Settings")) {
        KillTimer(nullptr, timer);
        EndDialog(dialog, g_dialogEnd);
    }
}

// What the failure box must find while it is up, seen from inside its loop.
struct { HWND saver; DWORD bits; bool seen; } g_box;
void CALLBACK LookAtBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (const HWND box = FindWindowA("#32770", kFailureCaption)) {
        KillTimer(nullptr, timer);
        g_box.seen = true;
        char text[512] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        CHECK(std::string(text) == "CSaverApp::InitInstance() -> CDrawWnd::WindowProc()\n\n\"Unknown Error\"");
        CHECK((!IsWindow(g_box.saver) && BitsPerPixel() == g_box.bits));
        HWND icon = nullptr; // the box's visible icon control shows the information icon
        do icon = FindWindowExA(box, icon, "Static", nullptr);
        while (icon && !(IsWindowVisible(icon) && (GetWindowLongA(icon, GWL_STYLE) & SS_TYPEMASK) == SS_ICON));
        CHECK((icon && SendMessageA(icon, STM_GETICON, 0, 0) == LRESULT(LoadIconA(nullptr, IDI_INFORMATION))));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
}
} // namespace

TEST_CASE("the real message loop sleeps while idle, and leaves at once with the whole chain when a callback fails")
{
    enum Case { Idle, FailingFrame, FailingSentMessage };
    const char* const expected[] = {"", "CSaverApp::MainLoop() -> FailingWnd::WindowProc()\n\n\"frame failed\"",
                                    "CSaverApp::MainLoop() -> FailingWnd::WindowProc()\n\n\"sent failed\""};
    for (const Case c : {Idle, FailingFrame, FailingSentMessage}) {
        CAPTURE(c);
        Fresh fresh;
        const Swapped<BOOL(WINAPI*)()> wait(__imp_WaitMessage, &CountedWait);
        g_waits = 0;
        g_waitedOnFailure = false;
        // Visible only for frames: a hidden window gets no paint request and no pointer report.
        FailingWnd wnd;
        REQUIRE(wnd.CreateEx(0, nullptr, "loop", WS_POPUP | (c == FailingFrame ? WS_VISIBLE : 0), 0, 0, 32, 32,
                             nullptr, nullptr));
        if (c == Idle)
            SetTimer(wnd.m_hWnd, 1, 50, nullptr);
        if (c == FailingSentMessage) // sent from another thread: handled inside the loop's PeekMessageA
            std::thread([to = wnd.m_hWnd] { SendNotifyMessageA(to, WM_APP, 0, 0); }).join();
        CHECK(FailureReport("CSaverApp::MainLoop", [] { CSaverApp::RunMessageLoop(); }) == expected[c]);
        CHECK(((c != Idle || g_waits > 0) && !g_waitedOnFailure));
        wnd.DestroyWindow();
    }
}

TEST_CASE("the start-up: the system's sound player, and the gentle lightning on when the system's animations are "
          "off; the storm image loops in the background while a drawing window lives, when Sounds is on")
{
    Fresh fresh;
    const Swapped<BOOL(WINAPI*)(LPCSTR, UINT)> play(__imp_sndPlaySoundA, &RecordedPlay);
    BOOL before = TRUE;
    REQUIRE(SystemParametersInfoA(SPI_GETCLIENTAREAANIMATION, 0, &before, 0));
    // "/x" asks for no run mode, so the start-up returns at once.
    char* arguments[] = {__argv[0], const_cast<char*>("/x"), nullptr};
    char** const savedArguments = std::exchange(__argv, arguments);
    __argc = 2;
    for (const INT_PTR animations : {FALSE, TRUE, before}) {
        REQUIRE(SystemParametersInfoA(SPI_SETCLIENTAREAANIMATION, 0, reinterpret_cast<PVOID>(animations),
                                      SPIF_UPDATEINIFILE));
        G_Settings.Gentle = animations;
        CSaverApp().MainLoop();
        CHECK(G_Settings.Gentle == (animations ? 0 : 1));
    }
    __argv = savedArguments;
    __argc = 1;
    const std::pair<const void*, UINT> stop{nullptr, 0},
        loop{FindRawResource(IDR_STORM_SOUND)->data, SND_ASYNC | SND_NODEFAULT | SND_MEMORY | SND_LOOP};
    for (const int sounds : {1, 0}) {
        CAPTURE(sounds);
        G_Settings = ScreenSizedSettings(1);
        G_Settings.Sounds = sounds;
        g_played.clear();
        auto* wnd = new CDrawWnd(1);
        wnd->Create(0, WS_POPUP, RECT{0, 0, 32, 32}, nullptr);
        wnd->DestroyWindow();
        CHECK(g_played == (sounds ? std::vector{loop, stop} : std::vector{stop}));
    }
    SetSoundPlayer(nullptr);
}

TEST_CASE("the settings mode stores the settings only when the dialog ends with OK")
{
    for (const INT_PTR end : {IDOK, IDCANCEL, 5}) {
        CAPTURE(end);
        Fresh fresh;
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Arcveil Test");
        CSaverApp app;
        app.SetRegistryKey("Arcveil Test");
        G_Settings = DefaultSettings();
        g_dialogEnd = end;
        SetTimer(nullptr, 0, 50, EndSettingsDialog);
        app.DoConfig();
        DWORD width = 0, size = sizeof width; // one of the nine, all written or none
        const LONG read = RegGetValueA(HKEY_CURRENT_USER, "Software\\Arcveil Test\\win32_tests\\Arcveil3D", "Width",
                                       RRF_RT_REG_DWORD, nullptr, &width, &size);
        CHECK((read == ERROR_SUCCESS && width == 640) == (end == IDOK));
    }
}

TEST_CASE("the failure report: saver window gone and queue emptied before the box; the mode back unless Desktop")
{
    for (const int desktop : {0, 1}) {
        CAPTURE(desktop);
        Fresh fresh;
        const DWORD desktopBits = BitsPerPixel();
        G_Settings = ScreenSizedSettings(desktop);
        CSaverApp app;
        auto* saver = new CSaverWnd;
        saver->Create();
        app.m_pMainWnd = saver;
        g_box = {saver->m_hWnd, desktop ? 16 : desktopBits, false};
        if (desktop) // a switched mode the report must leave alone
            REQUIRE(CDisplay::SetMode(G_Settings.Width, G_Settings.Height, 16));
        CHECK(BitsPerPixel() == 16);
        PostMessageA(g_box.saver, WM_CLOSE, 0, 0); // requests still waiting when the failure came
        PostMessageA(g_box.saver, WM_CLOSE, 0, 0);
        g_callChain = "CSaverApp::InitInstance() -> CDrawWnd::WindowProc()";
        SetTimer(nullptr, 0, 100, LookAtBox);
        app.ReportFailure();
        // A quit message left in the queue would have ended the box before it showed.
        CHECK((g_box.seen && app.m_pMainWnd == nullptr));
    }
}

TEST_CASE("an OpenGL set-up that fails: the creation chain and the OpenGL text, the mode back")
{
    Fresh fresh;
    const DWORD desktopBits = BitsPerPixel();
    // A display that has no pixel format for the context.
    const Swapped<int(WINAPI*)(HDC, const PIXELFORMATDESCRIPTOR*)> choose(
        __imp_ChoosePixelFormat, [](HDC, const PIXELFORMATDESCRIPTOR*) { return 0; });
    G_Settings = ScreenSizedSettings(0);
    CHECK(FailureReport("CSaverApp::MainLoop", [] { (new CSaverWnd)->Create(); }) ==
          "CSaverApp::MainLoop() -> CSaverWnd::Create() -> CDrawWnd::Create() -> CDrawWnd::OnCreate()\n\n"
          "\"Could not init OpenGL. Try to choose another video mode or color depth\"");
    CHECK(BitsPerPixel() == desktopBits);
}
