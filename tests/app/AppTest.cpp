// The application's portable rules: the failure chain, and the run mode and preview host
// the command line asks for.
#include <doctest/doctest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/CallChain.h"
#include "app/RunMode.h"

namespace {
void Draw(int how)
{
    CHAIN_OPERATION("CGLDrawer::Draw");
    if (how == 1)
        RaiseFailure(kErrorOpenGL);
    if (how == 2)
        throw std::runtime_error("foreign");
    try {
        RaiseFailure("\"caught inside\"");
    } catch (int) {
    }
}

void Loop(int how)
{
    CHAIN_OPERATION("CSaverApp::MainLoop");
    Draw(how);
}
} // namespace

TEST_CASE("a failure names every operation it leaves, outermost first, then its text")
{
    Loop(0); // returns normally: what was caught inside leaves no trace
    CHECK(g_callChain == "");
    for (const auto& [how, report] :
         {std::pair{1, "CSaverApp::MainLoop() -> CGLDrawer::Draw()\n\n"
                       "\"Could not init OpenGL. Try to choose another video mode or color depth\""},
          std::pair{2, "CSaverApp::MainLoop() -> CGLDrawer::Draw()\n\n\"Unknown Error\""}}) {
        g_callChain.clear();
        g_errorText.clear();
        CHECK_THROWS(Loop(how));
        CHECK(ComposeFailureReport() == report);
    }
}

TEST_CASE("the first argument chooses the run mode; argument 2 is the preview's host")
{
    const struct {
        std::vector<const char*> argv;
        RunMode mode;
        long host; // 0: none
    } rows[] = {
        {{"a.scr"}, RunMode::Settings, 0}, {{"a.scr", "/c:1234"}, RunMode::Settings, 0},
        {{"a.scr", "/p", "1234"}, RunMode::Preview, 1234}, {{"a.scr", "-P", "  42xyz"}, RunMode::Preview, 42},
        {{"a.scr", "/p", "-5"}, RunMode::Preview, -5}, {{"a.scr", "/p", "0"}, RunMode::Preview, 0},
        {{"a.scr", "/p", nullptr}, RunMode::Preview, 0}, {{"a.scr", "/s"}, RunMode::Saver, 0},
        {{"a.scr", "/save", "/c"}, RunMode::Saver, 0}, {{"a.scr", " s"}, RunMode::Saver, 0},
        {{"a.scr", "--s"}, RunMode::None, 0}, {{"a.scr", nullptr}, RunMode::None, 0},
        {{"a.scr", "/"}, RunMode::None, 0}, {{"a.scr", "x", "/s"}, RunMode::None, 0},
    };
    for (const auto& row : rows) {
        CAPTURE(row.argv.size() > 1 && row.argv[1] ? row.argv[1] : "(none)");
        const int argc = static_cast<int>(row.argv.size());
        CHECK(ChooseRunMode(argc, row.argv.data()) == row.mode);
        CHECK(PreviewHostHandle(argc, row.argv.data()).value_or(0) == row.host);
    }
    CHECK(ChooseRunMode(0, nullptr) == RunMode::Settings);
    const char* huge[] = {"a.scr", "/p", "99999999999999999999999"};
    CHECK(PreviewHostHandle(3, huge).value_or(0) > 0); // saturates, never undefined
}
