// The framework's modal dialog: bound to its object from the first message, data
// exchange in both directions, the end of a main window, and exceptions carried out of
// the dialog's procedures to DoModal's caller with their chain.
#include <doctest/doctest.h>

#include <functional>
#include <string>

#include "app/CallChain.h"
#include "framework/CDialog.h"
#include "framework/DataExchange.h"

namespace {
constexpr int kTemplate = 200;
constexpr int kCheck = 10;
constexpr int kCombo = 11;
constexpr int kCommand = 12;

void DrainQueue()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

// A dialog whose steps the test scripts; it records what it saw.
class ProbeDialog : public CDialog {
public:
    ProbeDialog() : CDialog(kTemplate) {}

    int m_check = 1;
    int m_index = 2;
    CComboBox m_combo;

    bool boundAtCreate = false;
    bool createdBeforeInit = false;
    int checkShown = -1;
    int indexShown = -2;
    HWND window = nullptr;
    std::function<void(ProbeDialog&)> atInit;
    std::function<void()> atCommand;
    std::function<int()> atCreate;

    using CDialog::GetDlgItem;

protected:
    void DoDataExchange(CDataExchange* exchange) override
    {
        DDX_Control(exchange, kCombo, m_combo);
        DDX_Check(exchange, kCheck, m_check);
        DDX_CBIndex(exchange, kCombo, m_index);
    }
    int OnCreate(CREATESTRUCTA* create) override
    {
        boundAtCreate = m_hWnd != nullptr;
        createdBeforeInit = true;
        if (atCreate)
            return atCreate();
        return CDialog::OnCreate(create);
    }
    BOOL OnInitDialog() override
    {
        window = m_hWnd;
        // The list must have entries before a selection can be put into it.
        const HWND combo = GetDlgItem(kCombo);
        for (const char* entry : {"zero", "one", "two"})
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        CDialog::OnInitDialog();
        checkShown = static_cast<int>(SendMessageA(GetDlgItem(kCheck), BM_GETCHECK, 0, 0));
        indexShown = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
        if (atInit)
            atInit(*this);
        return TRUE;
    }
    bool OnCommand(UINT id, UINT notifyCode, HWND control) override
    {
        if (id == kCommand && atCommand) {
            atCommand();
            return true;
        }
        return CDialog::OnCommand(id, notifyCode, control);
    }
};

void Post(ProbeDialog& dialog, int id)
{
    PostMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(dialog.GetDlgItem(id)));
}

void Failing(const char* name)
{
    CHAIN_OPERATION(name);
    RaiseFailure("\"probe\"");
}
} // namespace

TEST_CASE("a modal dialog: bound from creation on, fields into the controls, back on OK, not on Cancel")
{
    DrainQueue();
    ProbeDialog dialog;
    SUBCASE("OK takes the controls into the fields")
    {
        dialog.atInit = [](ProbeDialog& d) {
            SendMessageA(d.GetDlgItem(kCheck), BM_SETCHECK, BST_UNCHECKED, 0);
            SendMessageA(d.GetDlgItem(kCombo), CB_SETCURSEL, 0, 0);
            Post(d, IDOK);
        };
        CHECK(dialog.DoModal() == IDOK);
        CHECK(dialog.m_check == 0);
        CHECK(dialog.m_index == 0);
    }
    SUBCASE("Cancel leaves the fields alone")
    {
        dialog.atInit = [](ProbeDialog& d) {
            SendMessageA(d.GetDlgItem(kCheck), BM_SETCHECK, BST_UNCHECKED, 0);
            Post(d, IDCANCEL);
        };
        CHECK(dialog.DoModal() == IDCANCEL);
        CHECK(dialog.m_check == 1);
        CHECK(dialog.m_index == 2);
    }
    SUBCASE("no selection reads as -1, and -1 clears it")
    {
        dialog.m_index = -1;
        dialog.atInit = [](ProbeDialog& d) {
            d.m_index = 1;
            d.UpdateData(false);
            d.m_index = 7;
            SendMessageA(d.GetDlgItem(kCombo), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            d.UpdateData(true);
            Post(d, IDCANCEL);
        };
        CHECK(dialog.DoModal() == IDCANCEL);
        CHECK(dialog.indexShown == -1);
        CHECK(dialog.m_index == -1);
    }
    CHECK(dialog.boundAtCreate);
    CHECK(dialog.createdBeforeInit);
    CHECK(dialog.checkShown == BST_CHECKED);
    CHECK(dialog.m_combo.m_hWnd != nullptr);
    // Unbound after its last message; the window is gone.
    CHECK(dialog.m_hWnd == nullptr);
    CHECK_FALSE(IsWindow(dialog.window));
    DrainQueue();
}

TEST_CASE("a dialog that is the main window posts the quit message at its end and stops being it")
{
    DrainQueue();
    CWinApp app("FrameworkDialogTest");
    ProbeDialog dialog;
    app.m_pMainWnd = &dialog;
    dialog.atInit = [](ProbeDialog& d) { Post(d, IDCANCEL); };
    CHECK(dialog.DoModal() == IDCANCEL);
    CHECK(app.m_pMainWnd == nullptr);
    MSG message;
    CHECK(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    DrainQueue();
}

TEST_CASE("an exception in a dialog handler ends the dialog and leaves DoModal with its chain")
{
    DrainQueue();
    g_callChain.clear();
    g_errorText.clear();
    ProbeDialog dialog;
    std::string expectedChain;
    SUBCASE("during initialisation")
    {
        dialog.atInit = [](ProbeDialog&) { Failing("Probe::Init"); };
        expectedChain = "Probe::Init()";
    }
    SUBCASE("in a command, the dialog running")
    {
        dialog.atInit = [](ProbeDialog& d) { Post(d, kCommand); };
        dialog.atCommand = [] { Failing("Probe::Command"); };
        expectedChain = "Probe::Command()";
    }
    SUBCASE("during creation: the dialog is refused")
    {
        dialog.atCreate = []() -> int {
            Failing("Probe::Create");
            return 0;
        };
        expectedChain = "Probe::Create()";
    }
    bool thrown = false;
    try {
        dialog.DoModal();
    } catch (int) {
        thrown = true;
    }
    CHECK(thrown);
    CHECK(g_callChain.find(expectedChain) != std::string::npos);
    CHECK(g_errorText == "\"probe\"");
    CHECK(dialog.m_hWnd == nullptr);
    if (dialog.window)
        CHECK_FALSE(IsWindow(dialog.window));
    // Nothing left over for the next callback.
    CHECK_FALSE(HasCallbackException());
    g_callChain.clear();
    g_errorText.clear();
    DrainQueue();
}
