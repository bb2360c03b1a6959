// Drives Arcveil3D.scr from a process of its own, as the screen-saver host and a user do,
// and checks what they see. The scenarios are rows of data, in groups: saver (starts ended
// each another way, or the failure box, as the stored settings decide), preview, dialog
// (what it shows and stores, the page), resources, and monitors (on with-wine.sh
// --monitors). The build without pictures, sound and page (Arcveil3DBare.scr) runs in each.
//   e2e_driver <group> <Arcveil3D.scr> <Arcveil3DBare.scr> <resources folder>
//   e2e_driver --opened <file>   the shell's "open" of a page: notes the file in a log
// One line per check, "ok: ..." or "FAILED: ..."; the exit code counts the failures.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "resources/ResourceIds.h"

namespace {
int g_checks = 0, g_failures = 0;
std::string g_scr, g_bare, g_resources;
std::string g_scenario; // what the checks that follow belong to, in front of each line
const char kBoxCaption[] = "Arcveil 3D:";

void Check(bool ok, const std::string& what)
{
    std::printf("%s: %s: %s\n", ok ? "ok" : "FAILED", g_scenario.c_str(), what.c_str());
    std::fflush(stdout);
    ++g_checks;
    g_failures += ok ? 0 : 1;
}

// What find gives first, or nothing after ms; this process's windows are served meanwhile.
template <typename Find>
auto WaitFor(Find find, DWORD ms) -> decltype(find())
{
    for (const DWORD start = GetTickCount();; Sleep(20)) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        if (auto found = find())
            return found;
        if (GetTickCount() - start >= ms)
            return {};
    }
}

void Pause(DWORD ms) { WaitFor([] { return false; }, ms); }

std::string Text(HWND window) // asked of the window itself, as another process must
{
    char text[512] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string FileName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

std::string TempPath(const char* name)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return temp + std::string(name);
}

std::string OpenedLog() { return TempPath("arcveil-opened.log"); }

// A started program, ended by force if it still runs when the object goes.
class Program {
public:
    Program(const std::string& path, const std::string& arguments)
    {
        std::string line = "\"" + path + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        // Under a loaded Wine a start now and then fails on its own: try again.
        for (int i = 0; i < 3; ++i, Sleep(250))
            if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_info))
                break;
    }
    ~Program()
    {
        if (Running())
            TerminateProcess(m_info.hProcess, 99);
        CloseHandle(m_info.hProcess);
        CloseHandle(m_info.hThread);
    }
    bool Running() const { return m_info.hProcess && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT; }
    long End(DWORD ms) const // the exit code, or -1 while it still runs after ms
    {
        DWORD code = 0;
        const bool ended = m_info.hProcess && WaitFor([&] { return !Running(); }, ms);
        return ended && GetExitCodeProcess(m_info.hProcess, &code) ? static_cast<long>(code) : -1;
    }
    bool Owns(HWND window) const
    {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        return window && owner == m_info.dwProcessId;
    }
    // Its visible top-level windows: all of them, the dialog-class one of that caption, or the topmost one.
    std::vector<HWND> Windows(const char* dialogCaption = nullptr, bool topmost = false) const
    {
        std::vector<HWND> found;
        for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
            char name[16] = {}, caption[64] = {};
            GetClassNameA(window, name, sizeof name);
            GetWindowTextA(window, caption, sizeof caption);
            const bool isTopmost = GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST;
            if (Owns(window) && IsWindowVisible(window) && (!topmost || isTopmost) &&
                (!dialogCaption || (std::string(name) == "#32770" && std::string(caption) == dialogCaption)))
                found.push_back(window);
        }
        return found;
    }
    // One look each: a window may go between two.
    HWND Dialog(const char* caption) const { return First(Windows(caption)); }
    HWND Saver() const { return First(Windows(nullptr, true)); }

private:
    static HWND First(const std::vector<HWND>& windows) { return windows.empty() ? nullptr : windows[0]; }
    PROCESS_INFORMATION m_info{};
};

// A program file's settings: HKCU\Software\Quenmoor Soft.\<file name>\Arcveil3D.
std::string SettingsKey(const std::string& program)
{
    const std::string name = FileName(program);
    return "Software\\Quenmoor Soft.\\" + name.substr(0, name.rfind('.'));
}

// One setting as stored; null bytes: deleted.
struct Value { const char* name; DWORD type; const char* bytes; DWORD size; };
const Value kDesktopOn{"Desktop", REG_DWORD, "\1\0\0\0", 4};

void Store(const std::string& program, const Value& value) // the key made when missing
{
    const std::string key = SettingsKey(program) + "\\Arcveil3D";
    if (value.bytes)
        RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), value.name, value.type, value.bytes, value.size);
    else
        RegDeleteKeyValueA(HKEY_CURRENT_USER, key.c_str(), value.name);
}

// "Name=number ..." in name order ("?" for anything but a four-byte REG_DWORD), or "no key".
std::string Stored(const std::string& program)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (SettingsKey(program) + "\\Arcveil3D").c_str(), 0, KEY_READ, &key))
        return "no key";
    std::map<std::string, std::string> values;
    char name[64];
    DWORD data[64], nameSize = sizeof name, size = sizeof data, type = 0;
    for (DWORD i = 0; !RegEnumValueA(key, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
         ++i, nameSize = sizeof name, size = sizeof data)
        values[name] = type == REG_DWORD && size == 4 ? std::to_string(data[0]) : "?";
    RegCloseKey(key);
    std::string text;
    for (const auto& [entry, number] : values)
        text += (text.empty() ? "" : " ") + entry + "=" + number;
    return text;
}

// A frameless window, such as the host's preview window, of a class of that name and background.
HWND Host(int width, int height, POINT at = {20, 20}, const char* name = "ArcveilHost", HBRUSH background = nullptr)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = name;
    windowClass.hbrBackground = background;
    RegisterClassA(&windowClass); // refused the second time, harmless
    return CreateWindowExA(0, name, name, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, at.x, at.y, width, height,
                           nullptr, nullptr, nullptr, nullptr);
}

// The 24-bit colours of an area of a device context (null: the screen), rows top-down.
std::vector<DWORD> Pixels(HDC source, const RECT& area)
{
    const int width = area.right - area.left, height = area.bottom - area.top;
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    const HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    const HBITMAP section = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, width, height, source ? source : screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + width * height);
    DeleteObject(SelectObject(memory, old));
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    for (DWORD& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

// What the host's own commands do to the window is seen in the in-process tests.
enum Ending { kMove, kLeft, kMiddle, kRight, kKey, kAltF4, kOtherWindow, kDisplayChange, kBox };
const char* const kEndingNames[] = {"a pointer move", "the left button", "the middle button", "the right button",
                                    "a key", "Alt+F4", "another window", "a change of the monitors, then a key"};

// The pointer's moves and the other window start at `at`, where the pointer was when the saver started.
void Provoke(Ending ending, const Program& saver, POINT at = {100, 100})
{
    const DWORD buttons[] = {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_RIGHTDOWN};
    const std::vector<BYTE> keys = ending == kAltF4 ? std::vector<BYTE>{VK_MENU, VK_F4} : std::vector<BYTE>{'A'};
    if (ending == kMove) {
        SetCursorPos(at.x, at.y);
        Pause(300);
        Check(saver.Running(), "the pointer at its first position again ends nothing");
        // Under load Wine's own first report may come after the first move: the next one ends it.
        for (int x = at.x + 1; x <= at.x + 3 && saver.Running(); ++x) {
            SetCursorPos(x, at.y);
            WaitFor([&] { return !saver.Running(); }, 700);
        }
    } else if (ending <= kRight) {
        mouse_event(buttons[ending], 0, 0, 0, 0);
        mouse_event(buttons[ending] << 1, 0, 0, 0, 0); // the button's up flag
    } else if (ending == kOtherWindow) {
        const HWND other = Host(200, 100, at);
        SetForegroundWindow(other);
        Pause(300);
        DestroyWindow(other);
    } else { // the keys pressed in order, released in reverse
        for (const BYTE key : keys)
            keybd_event(key, 0, 0, 0);
        for (auto key = keys.rbegin(); key != keys.rend(); ++key)
            keybd_event(*key, 0, KEYEVENTF_KEYUP, 0);
    }
}

// A saver start: the values stored for Arcveil3D.scr, the program started, how it ends.
struct SaverRow { const char* what; std::string program; std::vector<Value> values; Ending ending; };

std::vector<RECT> Monitors()
{
    std::vector<RECT> found;
    EnumDisplayMonitors(nullptr, nullptr, [](HMONITOR, HDC, LPRECT r, LPARAM list) {
        reinterpret_cast<std::vector<RECT>*>(list)->push_back(*r);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool CoversMonitors(HWND saver)
{
    RECT rect{}, all{}; // all: the monitors' bounds
    GetWindowRect(saver, &rect);
    long desktop = 0;
    for (const RECT& monitor : Monitors()) {
        UnionRect(&all, &all, &monitor);
        const std::vector<DWORD> shown = Pixels(nullptr, monitor);
        desktop += std::count(shown.begin(), shown.end(), 0xFF00FFu);
    }
    return EqualRect(&rect, &all) && desktop == 0;
}

void ExpectBox(const Program& saver)
{
    const HWND box = WaitFor([&] { return saver.Dialog(kBoxCaption); }, 20000);
    const std::string text = Text(GetDlgItem(box, 0xFFFF));
    Check(text == "CSaverApp::InitInstance() -> CSaverApp::MainLoop() -> CSaverWnd::Create()\n\n"
                  "\"Could not set specified video mode\"",
          "the box \"Arcveil 3D:\" says [" + text + "]");
    Check(box && !GetWindow(box, GW_OWNER) && GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL) && !saver.Saver(),
          "the box has no owner and the single button OK; no saver window");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    Check(saver.End(10000) == 0, "OK ends the program, exit code 0");
}

// A row's settings stored alone, the saver started with the pointer at `at`, its run or its box checked.
void Run(const SaverRow& row, POINT at = {100, 100})
{
    for (const std::string& program : {g_scr, g_bare, TempPath("Other Copy.scr")})
        RegDeleteTreeA(HKEY_CURRENT_USER, SettingsKey(program).c_str());
    for (const Value& value : row.values)
        Store(g_scr, value);
    SetCursorPos(at.x, at.y);
    g_scenario = row.what;
    const Program saver(row.program, "/s");
    if (row.ending == kBox)
        return ExpectBox(saver);
    const HWND window = WaitFor([&] { return saver.Saver(); }, 20000);
    const auto covered = [&] { return CoversMonitors(window); };
    Check(window && WaitFor(covered, 5000), "a topmost window covers the virtual screen, no desktop on any monitor");
    Pause(400); // Wine reports the pointer to a new window once, within 250 ms
    CURSORINFO cursor{sizeof(CURSORINFO), 0, nullptr, {}};
    GetCursorInfo(&cursor);
    Check(saver.Running() && !saver.Dialog(kBoxCaption) && !cursor.hCursor, "running, no box, no pointer shown");
    const std::vector<RECT> monitors = Monitors();
    const std::vector<DWORD> shot = Pixels(nullptr, monitors[0]);
    Pause(300);
    Check(shot != Pixels(nullptr, monitors[0]) && std::count(shot.begin(), shot.end(), shot[0]) < long(shot.size()),
          "the picture has more than one colour, and it moves");
    if (row.ending == kDisplayChange && monitors.size() > 1) {
        // The second monitor taken away from the window, then the monitors said to change.
        SetWindowPos(window, nullptr, 0, 0, monitors[0].right, monitors[0].bottom, SWP_NOACTIVATE | SWP_NOZORDER);
        SendMessageA(window, WM_DISPLAYCHANGE, 32, MAKELPARAM(monitors[0].right, monitors[0].bottom));
        Check(saver.Running() && WaitFor(covered, 5000), "after a change of the monitors both are covered again");
    }
    Provoke(row.ending, saver, at);
    bool box = false;
    WaitFor([&] { return (box = box || saver.Dialog(kBoxCaption)), !saver.Running(); }, 10000);
    Check(saver.End(0) == 0 && !box && !IsWindow(window),
          std::string("ended by ") + kEndingNames[row.ending] + ", exit code 0, no box, the window gone");
    if (row.values.empty() || row.program != g_scr)
        Check(Stored(row.program).empty(), "its first read made the settings key, without values");
}

void SaverGroup()
{
    const std::string copy = TempPath("Other Copy.scr");
    Check(CopyFileA(g_scr.c_str(), copy.c_str(), FALSE), "the program copied as Other Copy.scr");
    // 640x480 is this screen's only size: Width 800 (0x320) asks for a mode it refuses.
    const Value width800{"Width", REG_DWORD, "\x20\x03\0\0", 4};
    const SaverRow rows[] = {
        {"default settings: the default mode taken", g_scr, {}, kMove},
        {"Width a 2-byte REG_SZ: read as missing", g_scr, {{"Width", REG_SZ, "1", 2}}, kLeft},
        {"Width a 9-byte REG_SZ: read as missing", g_scr, {{"Width", REG_SZ, "800x600x", 9}}, kMiddle},
        {"Width an 8-byte REG_QWORD: read as missing", g_scr, {{"Width", REG_QWORD, "\x20\x03\0\0\0\0\0", 8}}, kRight},
        {"Width deleted: its default", g_scr, {width800, {"Width", REG_DWORD, nullptr, 0}}, kKey},
        {"Desktop on: the desktop's mode kept, whatever the stored one", g_scr, {kDesktopOn, width800}, kAltF4},
        {"Desktop 4 bytes of REG_BINARY: the value", g_scr, {{"Desktop", REG_BINARY, "\1\0\0\0", 4}, width800},
         kOtherWindow},
        {"a copy under another file name: settings of its own", copy, {width800}, kDisplayChange},
        {"the build without pictures, sound and page", g_bare, {}, kKey},
        {"Width 800: the display refuses the mode", g_scr, {width800}, kBox},
        {"Width 4 bytes of REG_BINARY: the value", g_scr, {{"Width", REG_BINARY, "\x20\x03\0\0", 4}}, kBox},
        {"Width a 4-byte REG_SZ: the value", g_scr, {{"Width", REG_SZ, "800", 4}}, kBox},
        {"Desktop a 2-byte REG_SZ: read as missing", g_scr, {{"Desktop", REG_SZ, "1", 2}, width800}, kBox},
    };
    // The video mode is not looked at here: Wine keeps a switched mode inside the
    // switching process (the in-process tests see it there).
    for (const SaverRow& row : rows)
        Run(row);
    DeleteFileA(copy.c_str());
}


// Two monitors (with-wine.sh --monitors), with Desktop on: this display refuses mode changes.
void MonitorsGroup()
{
    const std::vector<RECT> monitors = Monitors();
    Check(GetSystemMetrics(SM_CMONITORS) == 2 && monitors.size() == 2, "two monitors");
    const HWND desktop = Host(GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN), {0, 0},
                              "ArcveilDesktop", CreateSolidBrush(RGB(255, 0, 255)));
    const POINT onSecond{(monitors[1].left + monitors[1].right) / 2, (monitors[1].top + monitors[1].bottom) / 2};
    for (const Ending ending : {kMove, kLeft, kKey, kOtherWindow, kDisplayChange}) {
        const std::string what = std::string("two monitors, ") + kEndingNames[ending];
        Run({what.c_str(), g_scr, {kDesktopOn}, ending}, onSecond);
    }
    DestroyWindow(desktop);
}

void PreviewGroup()
{
    for (const std::string& program : {g_scr, g_bare}) {
        g_scenario = "the preview of " + FileName(program);
        const HWND host = Host(152, 112);
        const Program preview(program, "/p " + std::to_string(reinterpret_cast<INT_PTR>(host)));
        const auto shown = [&] { const HWND c = GetWindow(host, GW_CHILD); return IsWindowVisible(c) ? c : nullptr; };
        const HWND child = WaitFor(shown, 20000);
        RECT area{}, covered{};
        GetClientRect(host, &area);
        MapWindowPoints(host, nullptr, reinterpret_cast<POINT*>(&area), 2);
        GetWindowRect(child, &covered);
        Check(preview.Owns(child) && EqualRect(&area, &covered), "its child covers the host's client area");
        Pause(500);
        const bool running = preview.Running();
        DestroyWindow(host);
        Check(running && preview.End(10000) == 0 && !IsWindow(child), "it runs, then ends with the host, exit code 0");
    }
}


// The check boxes and the mode list as the user sees them: "Desktop=1 ... list=5 disabled".
std::string Shown(HWND dialog)
{
    const std::pair<int, const char*> boxes[] = {{IDC_CHECK_DESKTOP, "Desktop"}, {IDC_CHECK_SOUNDS, "Sounds"},
                                                 {IDC_CHECK_CROSS, "Cross"},     {IDC_CHECK_HIEROGLYPHS, "Hieroglyphs"},
                                                 {IDC_CHECK_RAIN, "Rain"},       {IDC_CHECK_HIGH_QUALITY, "HighQuality"}};
    std::string text;
    for (const auto& [id, name] : boxes)
        text += std::string(name) + "=" + std::to_string(SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0)) + " ";
    const HWND list = GetDlgItem(dialog, IDC_MODE_LIST);
    return text + "list=" + std::to_string(SendMessageA(list, CB_GETCURSEL, 0, 0)) +
           (IsWindowEnabled(list) ? "" : " disabled");
}

// The controls' ids and texts, the six modes as the list shows them, the title picture.
void Look(HWND dialog)
{
    // The ids other programs address the controls by, with the texts the user reads.
    const std::pair<int, const char*> controls[] = {
        {1, "OK"}, {2, "Cancel"}, {1010, "Use desktop settings"}, {1011, "Enable sounds"},
        {1012, "Enable crosslines"}, {1013, "Enable hieroglyphs"}, {1014, "Enable rain"}, {1015, "About"},
        {1019, "High quality rendering"}};
    std::string wrong;
    for (const auto& [id, text] : controls)
        wrong += Text(GetDlgItem(dialog, id)) == text ? "" : " " + std::to_string(id);
    Check(wrong.empty(), "the controls by id and text" + (wrong.empty() ? "" : "; wrong:" + wrong));

    const HWND list = GetDlgItem(dialog, IDC_MODE_LIST);
    std::string modes;
    for (int i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i) {
        SendMessageA(list, CB_SETCURSEL, i, 0); // a closed list's text is its selected entry
        modes += Text(list) + " ";
    }
    SendMessageA(list, CB_SETCURSEL, 0, 0);
    Check(modes == "640x480x16 640x480x32 800x600x16 800x600x32 1024x768x16 1024x768x32 ", "modes [" + modes + "]");

    const HWND picture = GetWindow(GetDlgItem(dialog, IDC_TITLE_FRAME), GW_CHILD);
    RECT size{};
    GetClientRect(picture, &size);
    RECT area = size;
    MapWindowPoints(picture, nullptr, reinterpret_cast<POINT*>(&area), 2);
    const HMODULE module = LoadLibraryExA(g_scr.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const HDC memory = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(memory, LoadImageA(module, MAKEINTRESOURCEA(IDB_TITLE_PICTURE), IMAGE_BITMAP,
                                                        size.right, size.bottom, 0));
    const std::vector<DWORD> expected = Pixels(memory, size), shown = Pixels(nullptr, area);
    DeleteObject(SelectObject(memory, old));
    DeleteDC(memory);
    FreeLibrary(module);
    const long same =
        std::inner_product(shown.begin(), shown.end(), expected.begin(), 0L, std::plus<>(), std::equal_to<>());
    Check(picture && !shown.empty() && same * 100 >= long(shown.size()) * 99,
          "the framed box shows the title picture, stretched over it");
}

// About writes the page byte for byte and opens it: in the Windows directory, or, when
// that refuses it, in the temporary folder. Without the page it does nothing at all.
void Page(const Program& program, HWND dialog, bool bare, const std::string& log)
{
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, MAX_PATH);
    const std::string inWindows = std::string(folder) + "\\Arcveil3D.htm", inTemp = TempPath("Arcveil3D.htm");
    const std::string page = bare ? "" : FileBytes(g_resources + "\\info.htm");
    const std::size_t windows = program.Windows().size();
    std::string opened; // the shell opens the page in a process of its own: wait for it
    const auto click = [&](long lines) {
        SendMessageA(GetDlgItem(dialog, IDC_ABOUT), BM_CLICK, 0, 0);
        WaitFor([&] { return opened = FileBytes(log), std::count(opened.begin(), opened.end(), '\n') >= lines; },
                bare ? 500 : 20000);
    };
    click(1);
    const std::string first = FileBytes(inWindows);
    // A folder of the page's name: no program, however privileged, can write the file.
    DeleteFileA(inWindows.c_str());
    CreateDirectoryA(inWindows.c_str(), nullptr);
    click(2);
    const std::string second = FileBytes(inTemp);
    RemoveDirectoryA(inWindows.c_str());
    DeleteFileA(inTemp.c_str());
    Check(first == page && second == page && first.empty() == bare,
          bare ? "About writes no page" : "About writes the page as it is, in the Windows folder, else in TEMP");
    const std::string expected = bare ? "" : inWindows + "\n" + inTemp + "\n";
    Check(lstrcmpiA(opened.c_str(), expected.c_str()) == 0 && program.Windows().size() == windows,
          "the shell opens each page written [" + opened + "], and no other window shows");
}

struct DialogRow {
    const char* what;
    std::string program;
    const char* arguments;
    std::vector<Value> stored; // before
    const char* shown;
    std::vector<int> clicks;
    int select; // an entry of the list, -1 for none
    const char* shownAfter;
    int button;
    const char* storedAfter;
};

void DialogGroup()
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    // The shell opens a page with this driver, which notes the file in the log.
    const std::string log = OpenedLog(), command = "\"" + std::string(self) + "\" --opened \"%1\"";
    RegSetValueA(HKEY_CLASSES_ROOT, ".htm", REG_SZ, "ArcveilTestPage", 15);
    RegSetValueA(HKEY_CLASSES_ROOT, "ArcveilTestPage\\shell\\open\\command", REG_SZ, command.c_str(),
                 static_cast<DWORD>(command.size()));

    const std::vector<Value> stored = {
        {"Width", REG_DWORD, "\0\4\0\0", 4},       {"Height", REG_DWORD, "\0\3\0\0", 4},
        {"Depth", REG_DWORD, "\x20\0\0\0", 4},     {"Desktop", REG_DWORD, "\1\0\0\0", 4},
        {"Sounds", REG_DWORD, "\1\0\0\0", 4},      {"Cross", REG_DWORD, "\1\0\0\0", 4},
        {"Hieroglyphs", REG_DWORD, "\0\0\0\0", 4}, {"Rain", REG_DWORD, "\1\0\0\0", 4},
        {"HighQuality", REG_DWORD, "\0\0\0\0", 4}};
    const char* const defaultsShown = "Desktop=0 Sounds=1 Cross=1 Hieroglyphs=1 Rain=1 HighQuality=1 list=0";
    const char* const storedShown = "Desktop=1 Sounds=1 Cross=1 Hieroglyphs=0 Rain=1 HighQuality=0 list=5 disabled";
    const DialogRow rows[] = {
        {"first opening, no argument, OK", g_scr, "", {}, defaultsShown, {IDC_CHECK_DESKTOP}, -1,
         "Desktop=1 Sounds=1 Cross=1 Hieroglyphs=1 Rain=1 HighQuality=1 list=0 disabled", IDOK,
         "Cross=1 Depth=16 Desktop=1 Height=480 Hieroglyphs=1 HighQuality=1 Rain=1 Sounds=1 Width=640"},
        {"stored settings changed, /c:1234 as the host asks, OK", g_scr, "/c:1234", stored, storedShown,
         {IDC_CHECK_DESKTOP, IDC_CHECK_SOUNDS, IDC_CHECK_HIEROGLYPHS, IDC_CHECK_RAIN}, 3,
         "Desktop=0 Sounds=0 Cross=1 Hieroglyphs=1 Rain=0 HighQuality=0 list=3", IDOK,
         "Cross=1 Depth=32 Desktop=0 Height=600 Hieroglyphs=1 HighQuality=0 Rain=0 Sounds=0 Width=800"},
        {"stored settings changed, /c, About, Cancel", g_scr, "/c", stored, storedShown,
         {IDC_CHECK_DESKTOP, IDC_CHECK_SOUNDS, IDC_CHECK_CROSS, IDC_CHECK_HIEROGLYPHS, IDC_CHECK_RAIN,
          IDC_CHECK_HIGH_QUALITY},
         1, "Desktop=0 Sounds=0 Cross=0 Hieroglyphs=1 Rain=0 HighQuality=1 list=1", IDCANCEL,
         "Cross=1 Depth=32 Desktop=1 Height=768 Hieroglyphs=0 HighQuality=0 Rain=1 Sounds=1 Width=1024"},
        {"the build without pictures, sound and page, About, Cancel", g_bare, "/c", {}, defaultsShown, {}, -1,
         defaultsShown, IDCANCEL, ""},
    };
    for (const DialogRow& row : rows) {
        g_scenario = row.what;
        RegDeleteTreeA(HKEY_CURRENT_USER, SettingsKey(row.program).c_str());
        for (const Value& value : row.stored)
            Store(row.program, value);
        DeleteFileA(log.c_str());
        const Program program(row.program, row.arguments);
        const HWND dialog = WaitFor([&] { return program.Dialog("Arcveil 3D v 2.0 - Settings"); }, 20000);
        Check(dialog && !GetWindow(dialog, GW_OWNER) && !program.Dialog(kBoxCaption), "the dialog, no owner, no box");
        if (!dialog)
            continue;
        Pause(300); // shown before its first paint
        if (&row == rows)
            Look(dialog);
        Check(Shown(dialog) == row.shown, "it shows [" + Shown(dialog) + "]");
        for (const int id : row.clicks)
            SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
        if (row.select >= 0) { // as a user's choice: selected, then the dialog told
            SendMessageA(GetDlgItem(dialog, IDC_MODE_LIST), CB_SETCURSEL, row.select, 0);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_MODE_LIST, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_MODE_LIST)));
        }
        Check(Shown(dialog) == row.shownAfter, "clicked, it shows [" + Shown(dialog) + "]");
        if (row.button == IDCANCEL)
            Page(program, dialog, row.program == g_bare, log);
        SendMessageA(GetDlgItem(dialog, row.button), BM_CLICK, 0, 0);
        Check(program.End(10000) == 0 && Stored(row.program) == row.storedAfter,
              "the button ends it, exit code 0, stored [" + Stored(row.program) + "]");
    }
}


std::string Resource(HMODULE module, int id, LPCSTR type)
{
    const HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return found && bytes ? std::string(bytes, SizeofResource(module, found)) : std::string();
}

void ResourcesGroup()
{
    for (const std::string& program : {g_scr, g_bare}) {
        g_scenario = FileName(program);
        const HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        char text[32] = {}; // string 1: the host's description
        LoadStringA(module, 1, text, sizeof text);
        const std::string records = Resource(module, 1, RT_MANIFEST) + Resource(module, 1, RT_VERSION);
        const auto has = [&](const char* part) { return records.find(part) != std::string::npos; };
        Check(std::string(text) == "Screen Saver" && has("<dpiAware") && has("PerMonitorV2") && has("\xBD\x04\xEF\xFE"),
              "string 1 \"Screen Saver\", a DPI-aware manifest, a version record with its fixed part");
        const std::pair<LPCSTR, int> assets[] = {
            {RT_GROUP_ICON, 128}, {RT_GROUP_CURSOR, 129}, {RT_BITMAP, 131}, {RT_BITMAP, 146},
            {RT_RCDATA, 133},     {RT_RCDATA, 137},       {RT_RCDATA, 138}, {RT_RCDATA, 139},
            {RT_RCDATA, 140},     {RT_RCDATA, 141},       {RT_RCDATA, 143}, {RT_RCDATA, 144}};
        std::size_t found = 0;
        for (const auto& [type, id] : assets)
            found += Resource(module, id, type).empty() ? 0 : 1;
        Check(found == (program == g_scr ? std::size(assets) : 0),
              "icon, pointer, pictures and raw data, " + std::to_string(found) + " of them");
        FreeLibrary(module);
    }
}

std::string WindowsPath(std::string path) // the build's paths come as Linux paths
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return path[0] == '\\' ? "Z:" + path : path;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--opened") {
        std::ofstream(OpenedLog(), std::ios::app | std::ios::binary) << argv[2] << "\n";
        return 0;
    }
    const std::map<std::string, void (*)()> groups = {{"saver", SaverGroup}, {"preview", PreviewGroup},
        {"dialog", DialogGroup}, {"resources", ResourcesGroup}, {"monitors", MonitorsGroup}};
    if (argc != 5 || !groups.count(argv[1])) {
        std::fprintf(stderr, "usage: e2e_driver <group> <Arcveil3D.scr> <Arcveil3DBare.scr> <resources folder>\n");
        return 100;
    }
    g_scr = WindowsPath(argv[2]);
    g_bare = WindowsPath(argv[3]);
    g_resources = WindowsPath(argv[4]);
    g_scenario = argv[1];
    groups.at(argv[1])();
    return g_checks == 0 ? 100 : g_failures;
}
