#include <doctest/doctest.h>

#include <utility>
#include <vector>

#include "app/CallChain.h"
#include "app/Settings.h"
#include "platform/Sound_Win32.h"
#include "display/CDisplay.h"
#include "display/CSaverWnd_Win32.h"
#include "platform/Resources.h"
#include "resources/ResourceIds.h"

namespace {
void DrainQueue()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

// A call to the sound seam: resource 0 for a stop.
struct SoundCall {
    int resourceId;
};

const unsigned char kFakeWave[] = {'R', 'I', 'F', 'F', 0, 0, 0, 0};

// Records the player and supplies a sound resource for the duration of a test.
struct SoundRecorder : ISoundPlayer {
    std::vector<SoundCall> calls;
    void PlayLoop(int resourceId) override { calls.push_back({resourceId}); }
    void Stop() override { calls.push_back({0}); }
    explicit SoundRecorder(bool withResource = true)
    {
        SetSoundPlayer(this);
        SetResourceLookup([withResource](int id) -> std::optional<ResourceBytes> {
            if (withResource && id == IDR_STORM_SOUND)
                return ResourceBytes{kFakeWave, sizeof kFakeWave};
            return std::nullopt;
        });
    }
    ~SoundRecorder()
    {
        SetSoundPlayer(nullptr);
        SetResourceLookup(nullptr);
    }
};

struct SettingsScope {
    explicit SettingsScope(SettingsRecord settings) { G_Settings = settings; }
    ~SettingsScope() { G_Settings = SettingsRecord{}; }
};

SettingsRecord DesktopSettings(int sounds)
{
    SettingsRecord settings = DefaultSettings();
    settings.Desktop = 1;
    settings.Sounds = sounds;
    return settings;
}

// A drawing window the test can look into; counts its own deletion.
class ProbeDrawWnd : public CDrawWnd {
public:
    ProbeDrawWnd(int autoDelete, int& deletions) : CDrawWnd(autoDelete), m_deletions(deletions) {}
    ~ProbeDrawWnd() override { ++m_deletions; }
    CWinGLWrapper& Wrapper() { return m_wrapper; }

private:
    int& m_deletions;
};

bool CloseRequestQueued(HWND window)
{
    MSG message;
    return PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE;
}

// The saver window of the running saver: the topmost full-screen window of this thread.
HWND FindSaverWindow()
{
    struct Search {
        HWND found = nullptr;
    } search;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            if (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) {
                reinterpret_cast<Search*>(data)->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}
} // namespace

TEST_CASE("the drawing window: its class, its context, the sound, and frames without validation")
{
    DrainQueue();
    SettingsScope settings(DesktopSettings(1));
    SoundRecorder sound;
    int deletions = 0;
    ProbeDrawWnd wnd(0, deletions);
    wnd.Create(0, WS_POPUP | WS_VISIBLE, RECT{0, 0, 96, 64}, nullptr);
    REQUIRE(wnd.m_hWnd != nullptr);

    CHECK(GetClassLongPtrA(wnd.m_hWnd, GCL_STYLE) == 0x23);
    CHECK(GetClassLongPtrA(wnd.m_hWnd, GCLP_HBRBACKGROUND) == 0);
    CHECK(GetClassLongPtrA(wnd.m_hWnd, GCLP_HICON) == 0);
    // The invisible pointer from the program's own cursor resource (none in this test
    // binary: no cursor, which is just as invisible).
    CHECK(GetClassLongPtrA(wnd.m_hWnd, GCLP_HCURSOR) ==
          reinterpret_cast<ULONG_PTR>(LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(129))));

    // The context is current from creation on, on the window's own device context.
    REQUIRE(wnd.Wrapper().m_hRC != nullptr);
    CHECK(wglGetCurrentContext() == wnd.Wrapper().m_hRC);
    CHECK(WindowFromDC(wnd.Wrapper().m_hDC) == wnd.m_hWnd);
    REQUIRE(sound.calls.size() == 1);
    CHECK(sound.calls[0].resourceId == IDR_STORM_SOUND);

    // Each frame leaves the window invalid, so the next paint request is there at once.
    for (int frame = 0; frame < 3; ++frame) {
        MSG message;
        REQUIRE(PeekMessageA(&message, wnd.m_hWnd, WM_PAINT, WM_PAINT, PM_REMOVE));
        DispatchMessageAndRethrow(message);
        CHECK(GetUpdateRect(wnd.m_hWnd, nullptr, FALSE));
    }

    wnd.DestroyWindow();
    CHECK(wnd.m_hWnd == nullptr);
    CHECK(deletions == 0);
    REQUIRE(sound.calls.size() == 2);
    CHECK(sound.calls[1].resourceId == 0);
    // The context goes with the object, after the window.
    CHECK(wnd.Wrapper().m_hRC != nullptr);
    wnd.Wrapper().Done();
    CHECK(wglGetCurrentContext() == nullptr);
    wnd.Wrapper().Done();
    DrainQueue();
}

TEST_CASE("sound: silent setting plays nothing but still stops; a missing resource plays nothing")
{
    DrainQueue();
    SUBCASE("Sounds off")
    {
        SettingsScope settings(DesktopSettings(0));
        SoundRecorder sound;
        int deletions = 0;
        auto* wnd = new ProbeDrawWnd(1, deletions);
        wnd->Create(0, WS_POPUP, RECT{0, 0, 32, 32}, nullptr);
        CHECK(sound.calls.empty());
        wnd->DestroyWindow();
        CHECK(deletions == 1);
        REQUIRE(sound.calls.size() == 1);
        CHECK(sound.calls[0].resourceId == 0);
    }
    SUBCASE("no sound resource")
    {
        SoundRecorder sound(false);
        CHECK_NOTHROW(SystemSoundPlayer().PlayLoop(IDR_STORM_SOUND));
        CHECK_NOTHROW(SystemSoundPlayer().Stop());
    }
    DrainQueue();
}

TEST_CASE("a drawing window the system refuses is a failure without text, and the object is gone")
{
    DrainQueue();
    g_callChain.clear();
    g_errorText = "left over";
    SettingsScope settings(DesktopSettings(0));
    int deletions = 0;
    auto* wnd = new ProbeDrawWnd(1, deletions);
    CWnd missingParent;
    missingParent.m_hWnd = reinterpret_cast<HWND>(0x7ff4);
    bool failed = false;
    try {
        wnd->Create(0, WS_CHILD, RECT{0, 0, 32, 32}, &missingParent);
    } catch (int) {
        failed = true;
    }
    missingParent.m_hWnd = nullptr;
    CHECK(failed);
    CHECK(deletions == 1);
    CHECK(g_callChain == "CDrawWnd::Create()");
    CHECK(ComposeFailureReport() == "CDrawWnd::Create()\n\n\"Unknown Error\"");
    g_callChain.clear();
    g_errorText.clear();
}

TEST_CASE("the saver window covers the screen and ends on the first sign of the user")
{
    DrainQueue();
    SettingsScope settings(DesktopSettings(0));
    SoundRecorder sound;
    CWinApp app("SaverWindowTest");
    auto* saver = new CSaverWnd;
    saver->Create();
    app.m_pMainWnd = saver;
    const HWND window = FindSaverWindow();
    REQUIRE(window != nullptr);
    CHECK(window == saver->m_hWnd);
    RECT rect{};
    GetWindowRect(window, &rect);
    CHECK(rect.left == 0);
    CHECK(rect.top == 0);
    CHECK(rect.right == GetSystemMetrics(SM_CXSCREEN));
    CHECK(rect.bottom == GetSystemMetrics(SM_CYSCREEN));
    CHECK((GetWindowLongPtrA(window, GWL_STYLE) & (WS_POPUP | WS_VISIBLE)) == (WS_POPUP | WS_VISIBLE));

    SUBCASE("the pointer is hidden over it")
    {
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        CHECK(SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)) ==
              TRUE);
        CHECK(GetCursor() == nullptr);
        CHECK_FALSE(CloseRequestQueued(window));
    }
    SUBCASE("the first mouse report only records; the same place again ends nothing; one pixel away ends it")
    {
        SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(200, 150));
        CHECK_FALSE(CloseRequestQueued(window));
        SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(200, 150));
        CHECK_FALSE(CloseRequestQueued(window));
        SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(201, 150));
        CHECK(CloseRequestQueued(window));
        // Still compared with the first position, not the last one.
        SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(201, 150));
        CHECK(CloseRequestQueued(window));
    }
    SUBCASE("a key release, the wheel and the host's saver command end nothing")
    {
        SendMessageA(window, WM_KEYUP, 'A', 0);
        SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
        SendMessageA(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
        SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        CHECK(IsWindow(window));
        CHECK_FALSE(CloseRequestQueued(window));
        // The inactive look is refused.
        CHECK(SendMessageA(window, WM_NCACTIVATE, FALSE, 0) == FALSE);
    }
    SUBCASE("each button, key and system key asks to close")
    {
        for (const UINT message : {WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN, WM_KEYDOWN, WM_SYSKEYDOWN}) {
            CAPTURE(message);
            SendMessageA(window, message, 0, 0);
            CHECK(CloseRequestQueued(window));
        }
    }
    SUBCASE("losing activation asks to close")
    {
        SendMessageA(window, WM_ACTIVATEAPP, FALSE, 0);
        CHECK(CloseRequestQueued(window));
        SendMessageA(window, WM_ACTIVATE, WA_INACTIVE, 0);
        CHECK(CloseRequestQueued(window));
    }

    // The close request ends it: quit message, sound off, object gone.
    PostMessageA(window, WM_CLOSE, 0, 0);
    MSG message;
    int quits = 0;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            ++quits;
        else
            DispatchMessageAndRethrow(message);
    }
    CHECK_FALSE(IsWindow(window));
    CHECK(app.m_pMainWnd == nullptr);
    CHECK(quits == 1);
    REQUIRE_FALSE(sound.calls.empty());
    CHECK(sound.calls.back().resourceId == 0);
}

namespace {
DWORD CurrentBitsPerPixel()
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    return mode.dmBitsPerPel;
}
} // namespace

TEST_CASE("the video mode: switched for the saver unless Desktop is on, and put back when it ends")
{
    DrainQueue();
    const DWORD desktopBits = CurrentBitsPerPixel();
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    REQUIRE(desktopBits != 16);
    SUBCASE("a size the display does not have is refused")
    {
        CHECK_FALSE(CDisplay::SetMode(width + 160, height + 120, 32));
        CHECK(CurrentBitsPerPixel() == desktopBits);
    }
    SUBCASE("the saver switches and restores")
    {
        SettingsRecord settings = DefaultSettings();
        settings.Width = width;
        settings.Height = height;
        settings.Depth = 16;
        settings.Sounds = 0;
        SettingsScope scope(settings);
        auto* saver = new CSaverWnd;
        saver->Create();
        CHECK(CurrentBitsPerPixel() == 16);
        saver->DestroyWindow();
        CHECK(CurrentBitsPerPixel() == desktopBits);
    }
    SUBCASE("with Desktop on, nothing is switched")
    {
        SettingsRecord settings = DefaultSettings();
        settings.Desktop = 1;
        settings.Width = width;
        settings.Height = height;
        settings.Depth = 16;
        settings.Sounds = 0;
        SettingsScope scope(settings);
        auto* saver = new CSaverWnd;
        saver->Create();
        CHECK(CurrentBitsPerPixel() == desktopBits);
        saver->DestroyWindow();
    }
    CDisplay::RestoreMode();
    CHECK(CurrentBitsPerPixel() == desktopBits);
    DrainQueue();
}

TEST_CASE("the context wrapper holds nothing after a failed Init, and Done is safe at any time")
{
    CWinGLWrapper wrapper;
    wrapper.Done();
    CHECK(wrapper.m_hDC == nullptr);
    CHECK(wrapper.m_hRC == nullptr);

    SUBCASE("no window to draw in")
    {
        CHECK_FALSE(wrapper.Init(reinterpret_cast<HWND>(0x7ff8)));
    }
    SUBCASE("a window whose device context already has another pixel format")
    {
        CWnd window;
        REQUIRE(window.CreateEx(0, CWnd::RegisterWndClass(CS_OWNDC, nullptr, nullptr, nullptr), "", WS_POPUP, 0, 0,
                                32, 32, nullptr, nullptr));
        HDC dc = GetDC(window.m_hWnd);
        PIXELFORMATDESCRIPTOR other{};
        other.nSize = sizeof other;
        other.nVersion = 1;
        other.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
        other.iPixelType = PFD_TYPE_RGBA;
        other.cColorBits = 24;
        REQUIRE(SetPixelFormat(dc, ChoosePixelFormat(dc, &other), &other));
        ReleaseDC(window.m_hWnd, dc);
        CHECK_FALSE(wrapper.Init(window.m_hWnd));
        window.DestroyWindow();
    }
    CHECK(wrapper.m_hDC == nullptr);
    CHECK(wrapper.m_hRC == nullptr);
    CHECK(wglGetCurrentContext() == nullptr);
    wrapper.Done();
}
