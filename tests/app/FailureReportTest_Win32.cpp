#include <doctest/doctest.h>

#include <string>

#include "app/CSaverApp_Win32.h"
#include "app/CallChain.h"
#include "app/Settings.h"
#include "display/CDisplay.h"
#include "display/CSaverWnd_Win32.h"

namespace {
void DrainQueue()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

DWORD CurrentBitsPerPixel()
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    return mode.dmBitsPerPel;
}

// What the failure box found when it was up, read from inside its own modal loop.
struct BoxSighting {
    bool seen = false;
    std::string text;
    bool hasOwner = true;
    HWND watchedWindow = nullptr;
    bool watchedWindowAlive = true;
    DWORD bitsPerPixel = 0;
};
BoxSighting g_sighting;

void CALLBACK LookAtBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = FindWindowA("#32770", kFailureCaption);
    if (!box)
        return;
    KillTimer(nullptr, timer);
    char text[512] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    g_sighting.seen = true;
    g_sighting.text = text;
    g_sighting.hasOwner = GetWindow(box, GW_OWNER) != nullptr;
    g_sighting.watchedWindowAlive = g_sighting.watchedWindow && IsWindow(g_sighting.watchedWindow);
    g_sighting.bitsPerPixel = CurrentBitsPerPixel();
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

struct FailureScope {
    FailureScope()
    {
        DrainQueue();
        g_sighting = BoxSighting{};
        g_callChain.clear();
        g_errorText.clear();
    }
    ~FailureScope()
    {
        g_callChain.clear();
        g_errorText.clear();
        G_Settings = SettingsRecord{};
        CDisplay::RestoreMode();
        DrainQueue();
    }
};

void Report(CSaverApp& app)
{
    SetTimer(nullptr, 0, 100, LookAtBox);
    app.ReportFailure();
}
} // namespace

TEST_CASE("the report with a running saver: window destroyed, queue taken to the quit message, then the box")
{
    FailureScope scope;
    const DWORD desktopBits = CurrentBitsPerPixel();
    G_Settings = DefaultSettings();
    G_Settings.Width = GetSystemMetrics(SM_CXSCREEN);
    G_Settings.Height = GetSystemMetrics(SM_CYSCREEN);
    G_Settings.Sounds = 0;
    CSaverApp app;
    auto* saver = new CSaverWnd;
    saver->Create();
    app.m_pMainWnd = saver;
    g_sighting.watchedWindow = saver->m_hWnd;
    REQUIRE(CurrentBitsPerPixel() == 16);
    // Stray requests that were waiting when the failure came.
    PostMessageA(saver->m_hWnd, WM_CLOSE, 0, 0);
    PostMessageA(saver->m_hWnd, WM_CLOSE, 0, 0);
    g_callChain = "CSaverApp::InitInstance() -> CSaverApp::MainLoop() -> CDrawWnd::WindowProc() -> CGLDrawer::Draw()";

    Report(app);
    // Had the quit message still been waiting, it would have ended the box at once.
    REQUIRE(g_sighting.seen);
    CHECK(g_sighting.text == "CSaverApp::InitInstance() -> CSaverApp::MainLoop() -> CDrawWnd::WindowProc() -> "
                             "CGLDrawer::Draw()\n\n\"Unknown Error\"");
    CHECK_FALSE(g_sighting.hasOwner);
    CHECK_FALSE(g_sighting.watchedWindowAlive);
    CHECK(g_sighting.bitsPerPixel == desktopBits);
    CHECK(app.m_pMainWnd == nullptr);
    MSG message;
    CHECK_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_CASE("the report without any window: no waiting for a quit message that never comes")
{
    FailureScope scope;
    G_Settings = DefaultSettings();
    CSaverApp app;
    g_callChain = "CSaverApp::InitInstance() -> CSaverApp::MainLoop() -> CSaverWnd::Create()";
    g_errorText = kErrorVideoMode;
    Report(app);
    REQUIRE(g_sighting.seen);
    CHECK(g_sighting.text == "CSaverApp::InitInstance() -> CSaverApp::MainLoop() -> CSaverWnd::Create()\n\n"
                             "\"Could not set specified video mode\"");
}

TEST_CASE("with Desktop on, the report leaves the video mode alone")
{
    FailureScope scope;
    G_Settings = DefaultSettings();
    G_Settings.Desktop = 1;
    REQUIRE(CDisplay::SetMode(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), 16));
    CSaverApp app;
    g_callChain = "CSaverApp::InitInstance()";
    Report(app);
    REQUIRE(g_sighting.seen);
    CHECK(g_sighting.bitsPerPixel == 16);
    CHECK(g_sighting.text == "CSaverApp::InitInstance()\n\n\"Unknown Error\"");
}

TEST_CASE("an OpenGL set-up that fails gives the creation chain, no window, and the mode back")
{
    // A drawing window whose device context already carries another pixel format:
    // the context's own format can then not be set, as on a display without one.
    class NoGLSaverWnd : public CSaverWnd {
    protected:
        int OnCreate(CREATESTRUCTA* create) override
        {
            HDC dc = GetDC(m_hWnd);
            PIXELFORMATDESCRIPTOR other{};
            other.nSize = sizeof other;
            other.nVersion = 1;
            other.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL; // single-buffered
            other.iPixelType = PFD_TYPE_RGBA;
            other.cColorBits = 24;
            const int format = ChoosePixelFormat(dc, &other);
            SetPixelFormat(dc, format, &other);
            ReleaseDC(m_hWnd, dc);
            return CSaverWnd::OnCreate(create);
        }
    };
    FailureScope scope;
    const DWORD desktopBits = CurrentBitsPerPixel();
    G_Settings = DefaultSettings();
    G_Settings.Width = GetSystemMetrics(SM_CXSCREEN);
    G_Settings.Height = GetSystemMetrics(SM_CYSCREEN);
    G_Settings.Sounds = 0;
    bool failed = false;
    try {
        CHAIN_OPERATION("CSaverApp::MainLoop");
        auto* saver = new NoGLSaverWnd;
        saver->Create();
        saver->DestroyWindow();
    } catch (int) {
        failed = true;
    }
    REQUIRE(failed);
    CHECK(ComposeFailureReport() ==
          "CSaverApp::MainLoop() -> CSaverWnd::Create() -> CDrawWnd::Create() -> CDrawWnd::OnCreate()\n\n"
          "\"Could not init OpenGL. Try to choose another video mode or color depth\"");
    // The refused window restored the mode on its way out; the object is gone with it.
    CHECK(CurrentBitsPerPixel() == desktopBits);
}
