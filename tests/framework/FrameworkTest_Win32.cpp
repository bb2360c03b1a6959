#include <doctest/doctest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/CallChain.h"
#include "framework/Framework.h"

namespace {
struct ChainReset {
    ChainReset() { g_callChain.clear(); g_errorText.clear(); }
    ~ChainReset() { g_callChain.clear(); g_errorText.clear(); }
};

// Takes every message still queued for this thread, the quit message included.
void DrainQueue()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

bool QuitWaiting(WPARAM* exitCode = nullptr)
{
    MSG message;
    if (!PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        return false;
    if (exitCode)
        *exitCode = message.wParam;
    return true;
}

// Records what the framework hands it; deletes itself when asked to.
class ProbeWnd : public CWnd {
public:
    ProbeWnd(std::vector<std::string>& log, bool autoDelete) : m_log(log), m_autoDelete(autoDelete) {}
    ~ProbeWnd() override { m_log.push_back("deleted"); }

    bool Create(HWND parent = nullptr, DWORD style = WS_POPUP)
    {
        return CreateEx(0, nullptr, "probe", style, 0, 0, 32, 32, parent, nullptr);
    }

    int createResult = 0;
    bool throwOnCreate = false;
    bool throwOnDestroy = false;
    bool throwAfterPostNcDestroy = false;
    bool destroyFromKey = false;
    bool boundDuringCreate = false;
    POINT lastPoint{};
    UINT lastKey = 0;

protected:
    int OnCreate(CREATESTRUCTA* create) override
    {
        CHAIN_OPERATION("ProbeWnd::OnCreate");
        m_log.push_back("create");
        boundDuringCreate = FromHandle(m_hWnd) == this;
        if (throwOnCreate)
            RaiseFailure("\"create failed\"");
        const int result = CWnd::OnCreate(create);
        return createResult != 0 ? createResult : result;
    }
    void OnDestroy() override
    {
        m_log.push_back("destroy");
        if (throwOnDestroy)
            throw std::runtime_error("destroy failed");
        CWnd::OnDestroy();
    }
    void OnMouseMove(UINT, POINT point) override { lastPoint = point; }
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override
    {
        lastKey = key;
        if (destroyFromKey) {
            m_log.push_back("key begin");
            ::DestroyWindow(m_hWnd);
            // Still running on the object: it must not be gone yet.
            m_log.push_back("key end");
            lastKey = key + 1;
            return;
        }
        CWnd::OnKeyDown(key, repeat, flags);
    }
    void PostNcDestroy() override
    {
        m_log.push_back(m_hWnd ? "post-nc-destroy while bound" : "post-nc-destroy");
        const bool throwNow = throwAfterPostNcDestroy;
        if (m_autoDelete)
            delete this;
        if (throwNow)
            throw std::runtime_error("post-nc-destroy failed");
    }

private:
    std::vector<std::string>& m_log;
    bool m_autoDelete;
};

// Draws "frames" from WM_PAINT without validating, and fails on the frame it is told to.
class FailingFrameWnd : public CWnd {
public:
    int framesBeforeFailure = 2;
    int frames = 0;
    bool throwForeign = false;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PAINT) {
            CHAIN_OPERATION("CDrawWnd::WindowProc");
            Draw();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    void Draw()
    {
        CHAIN_OPERATION("CGLDrawer::Draw");
        if (++frames > framesBeforeFailure) {
            if (throwForeign)
                throw std::runtime_error("foreign");
            RaiseFailure("\"frame failed\"");
        }
    }
};

void PumpUntilQuit()
{
    CHAIN_OPERATION("CSaverApp::MainLoop");
    MSG message;
    for (;;) {
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            WaitMessage();
            continue;
        }
        if (GetMessageA(&message, nullptr, 0, 0) <= 0)
            return;
        TranslateMessage(&message);
        DispatchMessageAndRethrow(message);
    }
}

void RunLikeTheApplication()
{
    CHAIN_OPERATION("CSaverApp::InitInstance");
    PumpUntilQuit();
}

void CreateThroughOperation(ProbeWnd& wnd)
{
    CHAIN_OPERATION("CDrawWnd::Create");
    wnd.Create();
}
} // namespace

TEST_CASE("a window is bound to its object from creation on, and handlers get cracked messages")
{
    DrainQueue();
    std::vector<std::string> log;
    ProbeWnd wnd(log, false);
    REQUIRE(wnd.Create());
    CHECK(wnd.boundDuringCreate);
    CHECK(CWnd::FromHandle(wnd.m_hWnd) == &wnd);

    // Coordinates are signed 16-bit values: left of the window is negative.
    SendMessageA(wnd.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(-5), 7));
    CHECK(wnd.lastPoint.x == -5);
    CHECK(wnd.lastPoint.y == 7);
    SendMessageA(wnd.m_hWnd, WM_KEYDOWN, 'Q', 0);
    CHECK(wnd.lastKey == 'Q');

    // A message without a handler gets the default window procedure.
    SendMessageA(wnd.m_hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("renamed"));
    char text[32] = {};
    GetWindowTextA(wnd.m_hWnd, text, sizeof text);
    CHECK(std::string(text) == "renamed");

    const HWND window = wnd.m_hWnd;
    CHECK(wnd.DestroyWindow());
    CHECK(wnd.m_hWnd == nullptr);
    CHECK(CWnd::FromHandle(window) == nullptr);
    CHECK(log == std::vector<std::string>{"create", "destroy", "post-nc-destroy"});
    // Not the main window: no quit message.
    CHECK_FALSE(QuitWaiting());
}

TEST_CASE("the main window's end posts the quit message and clears the reference; the object deletes itself")
{
    DrainQueue();
    CWinApp app("FrameworkTest");
    std::vector<std::string> log;
    auto* wnd = new ProbeWnd(log, true);
    REQUIRE(wnd->Create());
    app.m_pMainWnd = wnd;

    SUBCASE("destroyed from outside")
    {
        CHECK(wnd->DestroyWindow());
        CHECK(log == std::vector<std::string>{"create", "destroy", "post-nc-destroy", "deleted"});
    }
    SUBCASE("destroyed by its own handler: deleted only after the handler returns")
    {
        wnd->destroyFromKey = true;
        SendMessageA(wnd->m_hWnd, WM_KEYDOWN, 'K', 0);
        CHECK(log == std::vector<std::string>{"create", "key begin", "destroy", "key end", "post-nc-destroy",
                                              "deleted"});
    }
    CHECK(app.m_pMainWnd == nullptr);
    WPARAM exitCode = 99;
    CHECK(QuitWaiting(&exitCode));
    CHECK(exitCode == 0);
}

TEST_CASE("an object that goes before its window stops being the main window")
{
    CWinApp app("FrameworkTest");
    std::vector<std::string> log;
    {
        ProbeWnd wnd(log, false);
        app.m_pMainWnd = &wnd;
    }
    CHECK(app.m_pMainWnd == nullptr);
}

TEST_CASE("a refused window ends the object's life once, and CreateEx says so")
{
    DrainQueue();
    std::vector<std::string> log;

    SUBCASE("refused by its creation handler")
    {
        auto* wnd = new ProbeWnd(log, true);
        wnd->createResult = -1;
        CHECK_FALSE(wnd->Create());
        // Wine, like Windows, destroys the half-made window: its last message comes.
        CHECK(log.front() == "create");
        CHECK(log.back() == "deleted");
        CHECK(std::count(log.begin(), log.end(), "post-nc-destroy") == 1);
    }
    SUBCASE("refused by the system before any message")
    {
        auto* wnd = new ProbeWnd(log, true);
        // A child of a window that does not exist.
        CHECK_FALSE(wnd->Create(reinterpret_cast<HWND>(0x7ff0), WS_CHILD));
        CHECK(log == std::vector<std::string>{"post-nc-destroy", "deleted"});
    }
    CHECK_FALSE(HasCallbackException());
}

TEST_CASE("an exception in a creation handler comes out of CreateEx with its chain, and the window is refused")
{
    DrainQueue();
    ChainReset reset;
    std::vector<std::string> log;
    auto* wnd = new ProbeWnd(log, true);
    wnd->throwOnCreate = true;
    SUBCASE("alone") {}
    SUBCASE("followed by another as the refused window ends: the first one wins")
    {
        wnd->throwOnDestroy = true;
        wnd->throwAfterPostNcDestroy = true;
    }
    int caught = -1;
    try {
        CreateThroughOperation(*wnd);
    } catch (int value) {
        caught = value;
    }
    CHECK(caught == 0);
    CHECK(g_callChain == "CDrawWnd::Create() -> ProbeWnd::OnCreate()");
    CHECK(g_errorText == "\"create failed\"");
    CHECK(log.back() == "deleted");
    CHECK(std::count(log.begin(), log.end(), "post-nc-destroy") == 1);
    CHECK_FALSE(HasCallbackException());
}

TEST_CASE("a failure while a frame is drawn leaves the message loop with the whole chain")
{
    DrainQueue();
    ChainReset reset;
    FailingFrameWnd wnd;
    REQUIRE(wnd.CreateEx(0, nullptr, "frames", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64, nullptr, nullptr));
    InvalidateRect(wnd.m_hWnd, nullptr, FALSE);

    SUBCASE("the program's own failure")
    {
        int caught = -1;
        try {
            RunLikeTheApplication();
        } catch (int value) {
            caught = value;
        }
        CHECK(caught == 0);
        CHECK(g_callChain ==
              "CSaverApp::InitInstance() -> CSaverApp::MainLoop() -> CDrawWnd::WindowProc() -> CGLDrawer::Draw()");
        CHECK(ComposeFailureReport() == "CSaverApp::InitInstance() -> CSaverApp::MainLoop() -> "
                                        "CDrawWnd::WindowProc() -> CGLDrawer::Draw()\n\n\"frame failed\"");
    }
    SUBCASE("a foreign exception passes unchanged and reports the unknown error")
    {
        wnd.throwForeign = true;
        std::string what;
        try {
            RunLikeTheApplication();
        } catch (const std::runtime_error& error) {
            what = error.what();
        }
        CHECK(what == "foreign");
        CHECK(ComposeFailureReport() == "CSaverApp::InitInstance() -> CSaverApp::MainLoop() -> "
                                        "CDrawWnd::WindowProc() -> CGLDrawer::Draw()\n\n\"Unknown Error\"");
    }
    // Frames ran back to back from the standing paint request until the failure.
    CHECK(wnd.frames == 3);
    CHECK_FALSE(HasCallbackException());
    wnd.DestroyWindow();
    DrainQueue();
}

TEST_CASE("the application name is the file name without directory and extension")
{
    CHECK(AppNameFromModulePath("C:\\Windows\\System32\\Arcveil3D.scr") == "Arcveil3D");
    CHECK(AppNameFromModulePath("Z:\\tmp\\my.copy\\Night.Storm.scr") == "Night.Storm");
    CHECK(AppNameFromModulePath("C:/saver/Other.SCR") == "Other");
    CHECK(AppNameFromModulePath("NoExtension") == "NoExtension");
}
