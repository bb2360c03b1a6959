#include <doctest/doctest.h>

#include <new>
#include <stdexcept>

#include "app/CallChain.h"

namespace {
void Innermost(bool fail)
{
    CHAIN_OPERATION("CGLDrawer::Draw");
    if (fail)
        RaiseFailure(kErrorOpenGL);
}

void Middle(bool fail)
{
    CHAIN_OPERATION("CDrawWnd::WindowProc");
    Innermost(fail);
}

void Outer(bool fail)
{
    CHAIN_OPERATION("CSaverApp::MainLoop");
    Middle(fail);
}

struct ChainReset {
    ChainReset() { g_callChain.clear(); g_errorText.clear(); }
    ~ChainReset() { g_callChain.clear(); g_errorText.clear(); }
};
} // namespace

TEST_CASE("a failure names every operation it leaves, outermost first")
{
    ChainReset reset;
    int caught = -1;
    try {
        Outer(true);
    } catch (int value) {
        caught = value;
    }
    CHECK(caught == 0);
    CHECK(g_callChain == "CSaverApp::MainLoop() -> CDrawWnd::WindowProc() -> CGLDrawer::Draw()");
    CHECK(ComposeFailureReport() ==
          "CSaverApp::MainLoop() -> CDrawWnd::WindowProc() -> CGLDrawer::Draw()\n\n"
          "\"Could not init OpenGL. Try to choose another video mode or color depth\"");
}

TEST_CASE("operations that return normally leave no trace")
{
    ChainReset reset;
    Outer(false);
    CHECK(g_callChain.empty());
    CHECK(g_errorText.empty());
}

TEST_CASE("an exception caught inside an operation does not enter the chain")
{
    ChainReset reset;
    {
        CHAIN_OPERATION("CSaverApp::MainLoop");
        try {
            Middle(true);
        } catch (int) {
        }
    }
    // Only the two operations the exception actually left.
    CHECK(g_callChain == "CDrawWnd::WindowProc() -> CGLDrawer::Draw()");
}

TEST_CASE("foreign exceptions pass unchanged and report the unknown error")
{
    ChainReset reset;
    bool sawBadAlloc = false;
    try {
        CHAIN_OPERATION("CSaverApp::InitInstance");
        {
            CHAIN_OPERATION("CDisplay::BuildModeList");
            throw std::bad_alloc();
        }
    } catch (const std::bad_alloc&) {
        sawBadAlloc = true;
    }
    CHECK(sawBadAlloc);
    CHECK(ComposeFailureReport() == "CSaverApp::InitInstance() -> CDisplay::BuildModeList()\n\n\"Unknown Error\"");
}

TEST_CASE("a failure raised while another exception unwinds is recorded only by its own operations")
{
    ChainReset reset;
    struct ThrowsInCleanup {
        ~ThrowsInCleanup()
        {
            try {
                Innermost(true);
            } catch (int) {
            }
        }
    };
    try {
        CHAIN_OPERATION("CSaverApp::MainLoop");
        ThrowsInCleanup cleanup;
        throw std::runtime_error("first");
    } catch (const std::runtime_error&) {
    }
    CHECK(g_callChain == "CSaverApp::MainLoop() -> CGLDrawer::Draw()");
}
