// The title picture window in this process, where its painting can be looked at on
// the screen: bitmap 146 stretched over whatever client area it was created with, the
// framework's plain class, and one deletion when its parent goes.
#include <doctest/doctest.h>

#include <vector>

#include "assets/CSplashWnd_Win32.h"

namespace {
void Pump(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

class CountedSplash : public CSplashWnd {
public:
    explicit CountedSplash(int& deletions) : m_deletions(deletions) {}
    ~CountedSplash() override { ++m_deletions; }

private:
    int& m_deletions;
};

HWND MakeParent(int width, int height)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "ArcveilSplashTestParent";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, "ArcveilSplashTestParent", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 30, 30, width,
                           height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// 24-bit pixels of what the screen shows, or of a bitmap, in rows top-down.
std::vector<std::uint32_t> Pixels(HDC source, int x, int y, int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HDC memory = CreateCompatibleDC(source);
    const HBITMAP section = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits),
                                      static_cast<const std::uint32_t*>(bits) + width * height);
    for (auto& pixel : pixels)
        pixel &= 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(section);
    DeleteDC(memory);
    return pixels;
}

std::vector<std::uint32_t> StretchedTitle(int width, int height)
{
    const auto bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(146), IMAGE_BITMAP, width, height, LR_DEFAULTCOLOR));
    REQUIRE(bitmap != nullptr);
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    std::vector<std::uint32_t> pixels = Pixels(memory, 0, 0, width, height);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return pixels;
}
} // namespace

TEST_CASE("the title picture window shows bitmap 146 stretched to its size and deletes itself once")
{
    struct Size {
        int width;
        int height;
    };
    // The host's preview size, and one of another aspect: the picture is not kept square.
    for (const Size size : {Size{152, 112}, Size{240, 60}}) {
        CAPTURE(size.width);
        CAPTURE(size.height);
        const HWND parent = MakeParent(size.width, size.height);
        REQUIRE(parent != nullptr);
        int deletions = 0;
        auto* splash = new CountedSplash(deletions);
        REQUIRE(splash->CreateEx(0, nullptr, "Splash", WS_CHILD | WS_VISIBLE, 0, 0, size.width, size.height, parent,
                                 nullptr));
        const HWND window = splash->m_hWnd;
        CHECK(GetClassLongPtrA(window, GCL_STYLE) == (CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW));
        CHECK(GetClassLongPtrA(window, GCLP_HBRBACKGROUND) == 0);
        CHECK(GetClassLongPtrA(window, GCLP_HCURSOR) == reinterpret_cast<ULONG_PTR>(LoadCursorA(nullptr, IDC_ARROW)));
        Pump(300);

        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        const HDC screen = GetDC(nullptr);
        const std::vector<std::uint32_t> shown = Pixels(screen, origin.x, origin.y, size.width, size.height);
        ReleaseDC(nullptr, screen);
        const std::vector<std::uint32_t> expected = StretchedTitle(size.width, size.height);
        std::size_t same = 0;
        for (std::size_t i = 0; i < shown.size(); ++i)
            same += shown[i] == expected[i] ? 1 : 0;
        CHECK(same >= shown.size() * 99 / 100);

        CHECK(deletions == 0);
        DestroyWindow(parent);
        CHECK(deletions == 1);
        CHECK_FALSE(IsWindow(window));
        Pump(50);
        CHECK(deletions == 1);
    }
}
