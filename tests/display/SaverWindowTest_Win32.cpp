// The drawing and saver windows in this process, where the outside cannot look; the
// video mode too, since Wine keeps a switched depth inside the switching process.
#include <doctest/doctest.h>

#include <vector>

#include "display/CSaverWnd_Win32.h"
#include "tests/WindowsFixture_Win32.h"

namespace {
class ProbeDrawWnd : public CDrawWnd {
public:
    ProbeDrawWnd() : CDrawWnd(0) {}
    const CWinGLWrapper& Wrapper() const { return m_wrapper; }
};

class ProbeSaverWnd : public CSaverWnd {
public:
    std::vector<WPARAM> defaultCommands; // the system commands that reach the default procedure
    std::size_t Views() const { return m_drawer.m_views.size(); }

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SYSCOMMAND)
            defaultCommands.push_back(wParam);
        return CSaverWnd::DefWindowProc(message, wParam, lParam);
    }
};
} // namespace

TEST_CASE("the drawing window: its own device context with the context current on it, and frames back to back")
{
    Fresh fresh;
    G_Settings.Sounds = 0;
    ProbeDrawWnd wnd;
    wnd.Create(0, WS_POPUP | WS_VISIBLE, RECT{0, 0, 96, 64}, nullptr);
    REQUIRE(wnd.Wrapper().m_hRC != nullptr);
    CHECK(GetClassLongPtrA(wnd.m_hWnd, GCL_STYLE) == (CS_HREDRAW | CS_VREDRAW | CS_OWNDC));
    CHECK(GetClassLongPtrA(wnd.m_hWnd, GCLP_HBRBACKGROUND) == 0);
    CHECK(wglGetCurrentContext() == wnd.Wrapper().m_hRC);
    CHECK(wglGetCurrentDC() == GetDC(wnd.m_hWnd));

    // The format asked for, whatever the mode's depth, and the one the window got.
    const PIXELFORMATDESCRIPTOR asked = CWinGLWrapper::RequestedPixelFormat();
    CHECK((asked.nSize == sizeof asked && asked.nVersion == 1 && asked.iPixelType == PFD_TYPE_RGBA));
    CHECK(asked.dwFlags == (PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER));
    CHECK((asked.cColorBits == 24 && asked.cDepthBits == 32 && !asked.cStencilBits && asked.iLayerType == PFD_MAIN_PLANE));
    PIXELFORMATDESCRIPTOR got{};
    DescribePixelFormat(wnd.Wrapper().m_hDC, GetPixelFormat(wnd.Wrapper().m_hDC), sizeof got, &got);
    CHECK((got.dwFlags & PFD_DOUBLEBUFFER) != 0);

    // Each frame leaves the window invalid, so the next paint request is there at once.
    for (int frame = 0; frame < 3; ++frame) {
        MSG message;
        REQUIRE(PeekMessageA(&message, wnd.m_hWnd, WM_PAINT, WM_PAINT, PM_REMOVE));
        DispatchMessageAndRethrow(message);
        CHECK(GetUpdateRect(wnd.m_hWnd, nullptr, FALSE));
    }
    wnd.DestroyWindow();
}

TEST_CASE("the saver switches to the stored mode unless Desktop, puts it back at its end, and drops the host's "
          "commands")
{
    const DWORD desktopBits = BitsPerPixel();
    REQUIRE(desktopBits != 16);
    // A size this display does not have is refused, and nothing changes.
    CHECK_FALSE(CDisplay::SetMode(GetSystemMetrics(SM_CXSCREEN) + 160, GetSystemMetrics(SM_CYSCREEN), 16));
    CHECK(BitsPerPixel() == desktopBits);
    for (const int desktop : {0, 1}) {
        CAPTURE(desktop);
        Fresh fresh;
        G_Settings = ScreenSizedSettings(desktop);
        auto* saver = new ProbeSaverWnd;
        saver->Create();
        CHECK(BitsPerPixel() == (desktop ? desktopBits : 16));
        for (const WPARAM command : {SC_SCREENSAVE, SC_CLOSE, SC_ARRANGE})
            SendMessageA(saver->m_hWnd, WM_SYSCOMMAND, command, 0);
        CHECK(saver->defaultCommands == std::vector<WPARAM>{SC_ARRANGE});
        // One monitor: the screen, the one-monitor frame, again after the monitors change.
        for (int change = 0; change < 2; ++change) {
            RECT rect{};
            GetWindowRect(saver->m_hWnd, &rect);
            const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
            CHECK((EqualRect(&rect, &screen) && saver->Views() == 0));
            SendMessageA(saver->m_hWnd, WM_DISPLAYCHANGE, 32, MAKELPARAM(screen.right, screen.bottom));
        }
        saver->DestroyWindow();
        CHECK(BitsPerPixel() == desktopBits);
    }
}
