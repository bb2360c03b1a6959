#include "DriverSupport_Win32.h"

#include <cstdio>
#include <cstring>

namespace drive {
namespace {
int g_failures = 0;
} // namespace

void Check(bool condition, const std::string& what)
{
    std::printf("%s: %s\n", condition ? "ok" : "FAILED", what.c_str());
    std::fflush(stdout);
    if (!condition)
        ++g_failures;
}

int FailureCount()
{
    return g_failures;
}

const char* const kSettingsRoot = "Software\\Quenmoor Soft.";
const char* const kCaption = "Arcveil 3D:";
const char* const kModeRefusedText =
    "CSaverApp::InitInstance() -> CSaverApp::MainLoop() -> CSaverWnd::Create()\n\n"
    "\"Could not set specified video mode\"";

std::string AppName(const std::string& path)
{
    std::string name = path.substr(path.find_last_of("\\/") + 1);
    return name.substr(0, name.find_last_of('.'));
}

std::string SectionPath(const std::string& appName)
{
    return std::string(kSettingsRoot) + "\\" + appName + "\\Arcveil3D";
}

void ResetSettings(const std::string& appName)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(kSettingsRoot) + "\\" + appName).c_str());
}

void SetRawValue(const std::string& appName, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, SectionPath(appName).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void SetDword(const std::string& appName, const char* name, DWORD value)
{
    SetRawValue(appName, name, REG_DWORD, &value, sizeof value);
}

Saver Start(const std::string& path, const std::string& arguments)
{
    Saver saver;
    std::string commandLine = "\"" + path + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    // Under a loaded Wine a process start now and then fails on its own; that says
    // nothing about the program, so try again a few times before the check sees it.
    for (int attempt = 0; attempt < 3 && !saver.started; ++attempt) {
        if (attempt > 0)
            Sleep(250);
        saver.started = CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                       &startup, &saver.process) != FALSE;
    }
    return saver;
}

bool StillRunning(const Saver& saver)
{
    return saver.started && WaitForSingleObject(saver.process.hProcess, 0) == WAIT_TIMEOUT;
}

long WaitForEnd(Saver& saver, DWORD timeoutMs)
{
    if (!saver.started)
        return -2;
    long code = -1;
    if (WaitForSingleObject(saver.process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        DWORD exitCode = 0;
        GetExitCodeProcess(saver.process.hProcess, &exitCode);
        code = static_cast<long>(exitCode);
    } else {
        TerminateProcess(saver.process.hProcess, 99);
        WaitForSingleObject(saver.process.hProcess, 5000);
    }
    CloseHandle(saver.process.hProcess);
    CloseHandle(saver.process.hThread);
    saver.started = false;
    return code;
}

std::vector<HWND> ProcessWindows(DWORD processId)
{
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId && IsWindowVisible(window))
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

HWND FindMessageBox(DWORD processId)
{
    for (HWND window : ProcessWindows(processId)) {
        char caption[64] = {};
        GetWindowTextA(window, caption, sizeof caption);
        if (ClassOf(window) == "#32770" && std::strcmp(caption, kCaption) == 0)
            return window;
    }
    return nullptr;
}

HWND FindSaverWindow(DWORD processId)
{
    for (HWND window : ProcessWindows(processId)) {
        if ((GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) && ClassOf(window) != "#32770")
            return window;
    }
    return nullptr;
}

bool IsFullScreen(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.left == 0 && rect.top == 0 && rect.right == GetSystemMetrics(SM_CXSCREEN) &&
           rect.bottom == GetSystemMetrics(SM_CYSCREEN);
}

std::string DisplayMode::Text() const
{
    return std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(bits);
}

DisplayMode CurrentMode()
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    return {mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel};
}

DWORD CurrentBitsPerPixel()
{
    return CurrentMode().bits;
}

void SendKey(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

void PressKey(WORD key)
{
    SendKey(key, false);
    SendKey(key, true);
}

void SendButton(DWORD down, DWORD up)
{
    INPUT inputs[2]{};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = down;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = up;
    SendInput(2, inputs, sizeof inputs[0]);
}

namespace {
LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}
} // namespace

HWND CreateHostWindow(int width, int height, HostSize size)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = PlainWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ArcveilTestHost";
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        registered = RegisterClassA(&windowClass) != 0;
    }
    RECT rect{0, 0, width, height};
    if (size == HostSize::Client)
        AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
    return CreateWindowExA(0, "ArcveilTestHost", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                           rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

void PumpFor(DWORD ms)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

HWND WaitForChild(HWND host, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        PumpFor(50);
        HWND candidate = GetWindow(host, GW_CHILD);
        if (candidate && IsWindowVisible(candidate))
            return candidate;
    }
    return nullptr;
}

HWND StartSaverWindow(Saver& saver, const std::string& path, const std::string& label, const DriverStyle& style)
{
    SetCursorPos(100, 100);
    saver = Start(path, "/s");
    HWND window = WaitFor([&] { return FindSaverWindow(saver.process.dwProcessId); }, style.windowTimeoutMs);
    Check(window != nullptr, label + ": topmost saver window shown");
    if (!window)
        return nullptr;
    if (style.windowCoversScreen)
        Check(IsFullScreen(window), label + ": it covers the screen");
    Check(FindMessageBox(saver.process.dwProcessId) == nullptr, label + ": no failure box");
    Sleep(style.firstReportMs);
    Check(StillRunning(saver), label + ": " + style.firstReportText);
    return window;
}

void ExpectCleanEnd(Saver& saver, const std::string& label, const DriverStyle& style)
{
    const DWORD start = GetTickCount();
    bool boxSeen = false;
    while (StillRunning(saver) && GetTickCount() - start < style.cleanEndMs) {
        boxSeen = boxSeen || FindMessageBox(saver.process.dwProcessId) != nullptr;
        Sleep(20);
    }
    const long code = WaitForEnd(saver, 1000);
    Check(code == 0, label + ": " + style.endedText + " (got " + std::to_string(code) + ")");
    Check(!boxSeen, label + ": no failure box on the way out");
}

void ExpectModeRefusedBox(const std::string& path, const std::string& label, const DriverStyle& style)
{
    const DWORD bitsBefore = CurrentBitsPerPixel();
    Saver saver = Start(path, "/s");
    if (style.boxInDetail)
        Check(saver.started, label + ": started");
    HWND box = WaitFor([&] { return FindMessageBox(saver.process.dwProcessId); }, style.boxTimeoutMs);
    Check(box != nullptr, label + ": " + style.boxShownText);
    if (box) {
        char text[512] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        Check(std::string(text) == kModeRefusedText,
              label + ": " + style.boxTextText + " [" + std::string(text) + "]");
        if (style.boxInDetail) {
            Check(GetWindow(box, GW_OWNER) == nullptr, label + ": box has no owner window");
            Check(GetDlgItem(box, IDOK) != nullptr && GetDlgItem(box, IDCANCEL) == nullptr,
                  label + ": box has the single button OK");
        }
        Check(FindSaverWindow(saver.process.dwProcessId) == nullptr, label + ": " + style.noWindowText);
        if (style.boxInDetail) {
            Check(CurrentBitsPerPixel() == bitsBefore, label + ": display mode untouched");
            SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        }
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    const long code = WaitForEnd(saver, style.boxEndMs);
    Check(code == 0, label + ": " + style.boxEndedText + " " + std::to_string(code));
}

} // namespace drive
