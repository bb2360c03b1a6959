// The saver window in this process, where the outside cannot look (its frames show end to
// end); the video mode too, since Wine keeps a switched depth inside the switching process.
#include <doctest/doctest.h>

#include <vector>

#include "display/CSaverWnd_Win32.h"
#include "tests/WindowsFixture_Win32.h"

namespace {
class ProbeSaverWnd : public CSaverWnd {
public:
    std::vector<WPARAM> defaultCommands; // the system commands that reach the default procedure
    std::size_t Views() const { return m_drawer.m_views.size(); }
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SYSCOMMAND)
            defaultCommands.push_back(wParam);
        return CSaverWnd::DefWindowProc(message, wParam, lParam);
    }
};
} // namespace

TEST_CASE("the saver switches to the stored mode unless Desktop, draws on its own device context, drops the host's "
          "commands, and puts the mode back at its end")
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
        const HWND window = saver->m_hWnd;
        CHECK(BitsPerPixel() == (desktop ? desktopBits : 16));
        // Whatever the mode's depth: double-buffered, with a depth buffer deep enough for the scene.
        PIXELFORMATDESCRIPTOR got{};
        DescribePixelFormat(GetDC(window), GetPixelFormat(GetDC(window)), sizeof got, &got);
        CHECK((wglGetCurrentDC() == GetDC(window) && (got.dwFlags & PFD_DOUBLEBUFFER) && got.cDepthBits >= 24));
        for (const WPARAM command : {SC_SCREENSAVE, SC_CLOSE, SC_ARRANGE})
            SendMessageA(window, WM_SYSCOMMAND, command, 0);
        CHECK(saver->defaultCommands == std::vector<WPARAM>{SC_ARRANGE});
        // One monitor: the screen, the one-monitor frame, again after the monitors change.
        for (int change = 0; change < 2; ++change) {
            RECT rect{};
            GetWindowRect(window, &rect);
            const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
            CHECK((EqualRect(&rect, &screen) && saver->Views() == 0));
            SendMessageA(window, WM_DISPLAYCHANGE, 32, MAKELPARAM(screen.right, screen.bottom));
        }
        saver->DestroyWindow();
        CHECK(BitsPerPixel() == desktopBits);
    }
}
