// The framework's contract, in this process. (Data exchange shows in the settings
// dialog, end to end.) The dialog is the program's own.
#include <doctest/doctest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/CDialog.h"
#include "resources/ResourceIds.h"
#include "tests/WindowsFixture_Win32.h"

namespace {
[[noreturn]] void Fail(const char* operation)
{
    CHAIN_OPERATION(operation);
    RaiseFailure("\"probe\"");
}

// A heap window that notes what happens to it and deletes itself.
class ProbeWnd : public CWnd {
public:
    explicit ProbeWnd(std::vector<std::string>& log) : m_log(log) {}
    ~ProbeWnd() override { m_log.push_back("deleted"); }
    bool boundAtCreate = false, failCreate = false, failAtEnd = false;
    std::vector<std::string>& m_log;

    int OnCreate(CREATESTRUCTA* create) override
    {
        boundAtCreate = FromHandle(m_hWnd) == this;
        if (failCreate)
            Fail("ProbeWnd::OnCreate");
        return CWnd::OnCreate(create);
    }
    void OnDestroy() override { m_log.push_back("destroy"); }
    void OnKeyDown(UINT, UINT, UINT) override
    {
        m_log.push_back("key");
        ::DestroyWindow(m_hWnd);
        m_log.push_back("key handler returns"); // still on the object
    }
    void PostNcDestroy() override
    {
        m_log.push_back("post-nc-destroy");
        const bool fail = failAtEnd;
        delete this;
        if (fail)
            throw std::runtime_error("a later failure");
    }
};

// The program's dialog template, failing where it is told to.
class ProbeDialog : public CDialog {
public:
    explicit ProbeDialog(const std::string& failIn) : CDialog(IDD_SAVER_DIALOG), m_failIn(failIn) {} // the handler to fail
    bool takeFailureAtDestroy = false; // as a handler that catches it would
    const std::string m_failIn;

    int OnCreate(CREATESTRUCTA* create) override
    {
        if (m_failIn == "OnCreate")
            Fail("ProbeDialog::OnCreate");
        return CDialog::OnCreate(create);
    }
    BOOL OnInitDialog() override
    {
        if (m_failIn == "OnInitDialog")
            Fail("ProbeDialog::OnInitDialog");
        PostMessageA(m_hWnd, WM_COMMAND, IDC_ABOUT, 0);
        return CDialog::OnInitDialog();
    }
    bool OnCommand(UINT id, UINT notifyCode, HWND control) override
    {
        if (id == IDC_ABOUT)
            Fail("ProbeDialog::OnCommand");
        return CDialog::OnCommand(id, notifyCode, control);
    }
    void OnDestroy() override
    {
        if (takeFailureAtDestroy)
            FailureReport("ProbeDialog::OnDestroy", RethrowCallbackException);
        CDialog::OnDestroy();
    }
};
} // namespace

TEST_CASE("the main window: bound from its first message; its end posts the quit message once no handler runs on it")
{
    const std::vector<std::string> fromOutside{"destroy", "post-nc-destroy", "deleted"},
        fromItsHandler{"key", "destroy", "key handler returns", "post-nc-destroy", "deleted"};
    for (const bool inHandler : {false, true}) {
        CAPTURE(inHandler);
        Fresh fresh;
        CWinApp app("FrameworkTest");
        std::vector<std::string> log;
        auto* wnd = new ProbeWnd(log);
        REQUIRE(wnd->CreateEx(0, nullptr, "probe", WS_POPUP, 0, 0, 32, 32, nullptr, nullptr));
        CHECK(wnd->boundAtCreate);
        app.m_pMainWnd = wnd;
        const HWND window = wnd->m_hWnd;
        if (inHandler)
            SendMessageA(window, WM_KEYDOWN, 'K', 0);
        else
            wnd->DestroyWindow();
        CHECK(log == (inHandler ? fromItsHandler : fromOutside));
        CHECK((CWnd::FromHandle(window) == nullptr && app.m_pMainWnd == nullptr));
        MSG quit{};
        CHECK((PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && quit.wParam == 0));
    }
}

TEST_CASE("a failure in a creation handler leaves CreateEx with its chain; the first failure kept wins")
{
    Fresh fresh;
    std::vector<std::string> log;
    auto* wnd = new ProbeWnd(log);
    wnd->failCreate = true;
    wnd->failAtEnd = true; // as the refused window ends
    // A later failure that escaped instead would fail the case as an unexpected exception.
    const auto create = [&] { wnd->CreateEx(0, nullptr, "probe", WS_POPUP, 0, 0, 32, 32, nullptr, nullptr); };
    CHECK(FailureReport("Caller", create) == "Caller() -> ProbeWnd::OnCreate()\n\n\"probe\"");
    // The refused window's life ended once, and the object with it.
    CHECK((std::count(log.begin(), log.end(), "post-nc-destroy") == 1 && log.back() == "deleted"));
    CHECK_FALSE(HasCallbackException());
}

TEST_CASE("a failure in a dialog handler ends the dialog as refused and leaves DoModal with its chain")
{
    for (const char* where : {"OnCreate", "OnInitDialog", "OnCommand"}) {
        CAPTURE(where);
        Fresh fresh;
        ProbeDialog dialog(where);
        CHECK(FailureReport("Caller", [&] { dialog.DoModal(); }) ==
              "Caller() -> ProbeDialog::" + std::string(where) + "()\n\n\"probe\"");
        CHECK((dialog.m_hWnd == nullptr && !HasCallbackException()));
    }
    // Taken out before DoModal sees it, the failure shows in the dialog's result: -1, the
    // value of a dialog the system could not make, never a button's.
    Fresh fresh;
    ProbeDialog dialog("OnCommand");
    dialog.takeFailureAtDestroy = true;
    CHECK(dialog.DoModal() == -1);
}
