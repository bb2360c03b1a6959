// Drives Arcveil3D.scr as the screen-saver host or a user would, from a Windows
// process of its own, and checks what they would see. Usage:
//   saver_driver <path of Arcveil3D.scr> <scenario> [argument]
// Each check prints one line, "ok" or "FAILED"; the exit code is the number of
// failed checks (0: all passed).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
int g_failures = 0;
std::string g_saverPath;

void Check(bool condition, const std::string& what)
{
    std::printf("%s: %s\n", condition ? "ok" : "FAILED", what.c_str());
    std::fflush(stdout);
    if (!condition)
        ++g_failures;
}

const char* const kSettingsRoot = "Software\\Quenmoor Soft.";
const char* const kCaption = "Arcveil 3D:";
const char* const kModeRefusedText =
    "CSaverApp::InitInstance() -> CSaverApp::MainLoop() -> CSaverWnd::Create()\n\n"
    "\"Could not set specified video mode\"";

std::string SectionPath(const std::string& appName)
{
    return std::string(kSettingsRoot) + "\\" + appName + "\\Arcveil3D";
}

// Settings of one program file name: nothing at all (first run), or the given values.
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

// -1 when the key does not exist.
int ValueCount(const std::string& appName)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath(appName).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return -1;
    DWORD values = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    return static_cast<int>(values);
}

struct Saver {
    PROCESS_INFORMATION process{};
    bool started = false;
};

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
    saver.started = CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &saver.process) != FALSE;
    return saver;
}

// Exit code, or -1 when it is still running after timeoutMs (it is then ended).
long WaitForEnd(Saver& saver, DWORD timeoutMs)
{
    if (!saver.started)
        return -2;
    if (WaitForSingleObject(saver.process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(saver.process.hProcess, 99);
        WaitForSingleObject(saver.process.hProcess, 5000);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(saver.process.hProcess, &code);
    return static_cast<long>(code);
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

bool IsFullScreen(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.left == 0 && rect.top == 0 && rect.right == GetSystemMetrics(SM_CXSCREEN) &&
           rect.bottom == GetSystemMetrics(SM_CYSCREEN);
}

HWND FindSaverWindow(DWORD processId)
{
    for (HWND window : ProcessWindows(processId)) {
        if ((GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) && ClassOf(window) != "#32770")
            return window;
    }
    return nullptr;
}

template <typename Found>
HWND WaitFor(Found find, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (HWND window = find())
            return window;
        Sleep(50);
    }
    return nullptr;
}

bool StillRunning(Saver& saver)
{
    return WaitForSingleObject(saver.process.hProcess, 0) == WAIT_TIMEOUT;
}

// Waits for the end while watching that no failure box appears meanwhile.
void ExpectCleanEnd(Saver& saver, const std::string& how)
{
    const DWORD start = GetTickCount();
    bool boxSeen = false;
    while (StillRunning(saver) && GetTickCount() - start < 8000) {
        boxSeen = boxSeen || FindMessageBox(saver.process.dwProcessId) != nullptr;
        Sleep(20);
    }
    const long code = WaitForEnd(saver, 1000);
    Check(code == 0, how + ": the process ended, exit code 0 (got " + std::to_string(code) + ")");
    Check(!boxSeen, how + ": no failure box on the way out");
}

DWORD CurrentBitsPerPixel()
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    return mode.dmBitsPerPel;
}

void SendKey(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
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

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateHostWindow(int clientWidth, int clientHeight)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = PlainWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ArcveilTestHost";
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RegisterClassA(&windowClass);
    RECT rect{0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window = CreateWindowExA(0, "ArcveilTestHost", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                                  rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    return window;
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

// The video mode cannot be set: the box with the exact text, no window, mode untouched.
void ExpectModeRefusedBox(const std::string& path, const std::string& label)
{
    const DWORD bitsBefore = CurrentBitsPerPixel();
    Saver saver = Start(path, "/s");
    Check(saver.started, label + ": started");
    HWND box = WaitFor([&] { return FindMessageBox(saver.process.dwProcessId); }, 10000);
    Check(box != nullptr, label + ": failure box with caption \"Arcveil 3D:\" shown");
    if (box) {
        char text[512] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        Check(std::string(text) == kModeRefusedText, label + ": box text is the chain and the video-mode text: [" +
                                                         std::string(text) + "]");
        Check(GetWindow(box, GW_OWNER) == nullptr, label + ": box has no owner window");
        Check(GetDlgItem(box, IDOK) != nullptr && GetDlgItem(box, IDCANCEL) == nullptr,
              label + ": box has the single button OK");
        Check(FindSaverWindow(saver.process.dwProcessId) == nullptr, label + ": no saver window was created");
        Check(CurrentBitsPerPixel() == bitsBefore, label + ": display mode untouched");
        SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    const long code = WaitForEnd(saver, 5000);
    Check(code == 0, label + ": program ended after the box, exit code " + std::to_string(code));
}

// Starts the saver with the pointer at a known place and waits for its window.
HWND StartSaverWindow(Saver& saver, const std::string& path, const std::string& label)
{
    SetCursorPos(100, 100);
    saver = Start(path, "/s");
    HWND window = WaitFor([&] { return FindSaverWindow(saver.process.dwProcessId); }, 15000);
    Check(window != nullptr, label + ": topmost saver window shown");
    if (!window)
        return nullptr;
    Check(IsFullScreen(window), label + ": it covers the screen");
    Check(FindMessageBox(saver.process.dwProcessId) == nullptr, label + ": no failure box");
    // Wine reports the pointer to a new window once, shortly after it appears.
    Sleep(800);
    Check(StillRunning(saver), label + ": the first pointer report ends nothing");
    return window;
}

// Tells the calling script that the program is in the state to look at, and waits
// until it has looked (no files given: carries straight on).
void HoldWhileMeasured(const std::string& readyFile, const std::string& goFile)
{
    if (readyFile.empty())
        return;
    std::fclose(std::fopen(readyFile.c_str(), "w"));
    const DWORD start = GetTickCount();
    while (GetFileAttributesA(goFile.c_str()) == INVALID_FILE_ATTRIBUTES && GetTickCount() - start < 20000)
        PumpFor(50);
}

int ScenarioModeRefused()
{
    ResetSettings("Arcveil3D");
    ExpectModeRefusedBox(g_saverPath, "default settings, display refuses 640x480x16");
    return g_failures;
}

int ScenarioModeAccepted()
{
    ResetSettings("Arcveil3D");
    const DWORD bitsBefore = CurrentBitsPerPixel();
    Saver saver;
    HWND window = StartSaverWindow(saver, g_saverPath, "default mode 640x480x16");
    if (window) {
        // Wine keeps a switched depth inside the switching process (windows_tests checks
        // it there); from here only the outcome shows: the saver ran instead of a box.
        SendKey('A', false);
        SendKey('A', true);
        ExpectCleanEnd(saver, "key press");
    }
    Check(CurrentBitsPerPixel() == bitsBefore, "the desktop mode is back (" + std::to_string(CurrentBitsPerPixel()) +
                                                   " bits, before " + std::to_string(bitsBefore) + ")");
    return g_failures;
}

int ScenarioEnd(const std::string& how, const std::string& readyFile, const std::string& goFile)
{
    ResetSettings("Arcveil3D");
    SetDword("Arcveil3D", "Desktop", 1);
    const DWORD bitsBefore = CurrentBitsPerPixel();
    Saver saver;
    HWND window = StartSaverWindow(saver, g_saverPath, "desktop mode, ended by " + how);
    if (!window) {
        WaitForEnd(saver, 0);
        return g_failures;
    }
    Check(CurrentBitsPerPixel() == bitsBefore, "desktop mode kept");
    CURSORINFO cursor{};
    cursor.cbSize = sizeof cursor;
    GetCursorInfo(&cursor);
    Check(cursor.hCursor == nullptr, "the pointer is hidden over the saver");

    if (!readyFile.empty()) {
        // Lets the calling script take its screenshots while the saver runs.
        HoldWhileMeasured(readyFile, goFile);
        Check(StillRunning(saver), "still running after the capture");
    }

    if (how == "move") {
        SetCursorPos(100, 100);
        Sleep(500);
        Check(StillRunning(saver), "a report of the first position again ends nothing");
        SetCursorPos(101, 100);
    } else if (how == "button") {
        SendButton(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    } else if (how == "right-button") {
        SendButton(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    } else if (how == "key") {
        SendKey(VK_SHIFT, false);
        SendKey(VK_SHIFT, true);
    } else if (how == "alt-f4") {
        SendKey(VK_MENU, false);
        SendKey(VK_F4, false);
        SendKey(VK_F4, true);
        SendKey(VK_MENU, true);
    } else if (how == "activation") {
        HWND other = CreateHostWindow(200, 100);
        SetForegroundWindow(other);
        PumpFor(300);
        DestroyWindow(other);
    } else if (how == "screensave-command") {
        // The host asking for the saver again, and a close command, are both dropped.
        PostMessageA(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        Sleep(800);
        Check(StillRunning(saver) && IsWindow(window), "SC_SCREENSAVE and SC_CLOSE are dropped");
        Check(ProcessWindows(saver.process.dwProcessId).size() <= 2, "no second saver window");
        SendKey('Z', false);
        SendKey('Z', true);
    } else {
        Check(false, "known way to end: " + how);
    }
    ExpectCleanEnd(saver, how);
    Check(!IsWindow(window), how + ": the saver window is gone");
    return g_failures;
}

int ScenarioRegistry()
{
    // The display refuses the default mode here (1024x768 screen), so the Desktop
    // setting as read decides between the failure box and a running saver.
    std::string copy = g_saverPath.substr(0, g_saverPath.find_last_of('\\') + 1) + "Other Copy.scr";
    Check(CopyFileA(g_saverPath.c_str(), copy.c_str(), FALSE) != FALSE, "copy of the program as 'Other Copy.scr'");

    ResetSettings("Arcveil3D");
    ResetSettings("Other Copy");
    SetDword("Arcveil3D", "Desktop", 1);
    ExpectModeRefusedBox(copy, "a copy under another file name has its own (default) settings");
    Check(ValueCount("Other Copy") == 0, "the copy's key was created on reading, without values");
    {
        Saver saver;
        if (StartSaverWindow(saver, g_saverPath, "the original keeps Desktop = 1")) {
            SendKey('A', false);
            SendKey('A', true);
            ExpectCleanEnd(saver, "key press");
        }
    }

    const unsigned char fourBytes[4] = {1, 0, 0, 0};
    SetRawValue("Arcveil3D", "Desktop", REG_BINARY, fourBytes, 4);
    {
        Saver saver;
        if (StartSaverWindow(saver, g_saverPath, "Desktop as four bytes of REG_BINARY counts as on")) {
            SendKey('A', false);
            SendKey('A', true);
            ExpectCleanEnd(saver, "key press");
        }
    }
    SetRawValue("Arcveil3D", "Desktop", REG_SZ, "1", 2);
    ExpectModeRefusedBox(g_saverPath, "Desktop as the REG_SZ \"1\" (two bytes) counts as missing");

    SetDword("Arcveil3D", "Desktop", 1);
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath("Arcveil3D").c_str(), 0, KEY_ALL_ACCESS, &key);
    RegDeleteValueA(key, "Desktop");
    RegCloseKey(key);
    ExpectModeRefusedBox(g_saverPath, "a deleted Desktop value takes its default 0");

    DeleteFileA(copy.c_str());
    ResetSettings("Other Copy");
    ResetSettings("Arcveil3D");
    return g_failures;
}

int ScenarioOptions(const std::string& readyFile, const std::string& goFile)
{
    // Options that start no run mode end the program at once, without any window: a
    // letter of no mode, two prefix characters, an empty argument, a preview without a
    // host window or with one that does not exist.
    for (const char* arguments : {"/x", "--s", "\"\"", "/p", "/p 12345"}) {
        Saver saver = Start(g_saverPath, arguments);
        const long code = WaitForEnd(saver, 8000);
        Check(code == 0, std::string("arguments [") + arguments + "]: ends at once with exit code 0 (got " +
                             std::to_string(code) + ")");
    }

    // Preview: a child covering the host window's client area, ending with the host.
    HWND host = CreateHostWindow(152, 112);
    PumpFor(200);
    Saver saver = Start(g_saverPath, "/p " + std::to_string(reinterpret_cast<INT_PTR>(host)));
    HWND child = nullptr;
    const DWORD start = GetTickCount();
    while (!child && GetTickCount() - start < 10000) {
        PumpFor(50);
        HWND candidate = GetWindow(host, GW_CHILD);
        if (candidate && IsWindowVisible(candidate))
            child = candidate;
    }
    Check(child != nullptr, "/p <host>: a child window appears in the host window");
    if (child) {
        RECT hostClient{}, childClient{};
        GetClientRect(host, &hostClient);
        GetClientRect(child, &childClient);
        Check(EqualRect(&hostClient, &childClient) != FALSE, "the child covers the host's client area");
        DWORD owner = 0;
        GetWindowThreadProcessId(child, &owner);
        Check(owner == saver.process.dwProcessId, "the child belongs to the saver process");
        Check(StillRunning(saver), "the preview keeps running");
        HoldWhileMeasured(readyFile, goFile);
    }
    DestroyWindow(host);
    PumpFor(100);
    const long code = WaitForEnd(saver, 8000);
    Check(code == 0, "destroying the host ends the preview, exit code " + std::to_string(code));
    return g_failures;
}

// What the file carries for the host and the system: the description string, the
// manifest with DPI awareness, the version record, the icon and the invisible pointer,
// and no application title (so that the settings follow the file name).
int ScenarioResources()
{
    HMODULE module = LoadLibraryExA(g_saverPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    Check(module != nullptr, "the program file loads as data");
    if (!module)
        return g_failures;
    char text[64] = {};
    LoadStringA(module, 1, text, sizeof text);
    Check(std::string(text) == "Screen Saver", std::string("string 1 is \"Screen Saver\" (got \"") + text + "\")");
    Check(LoadStringA(module, 57344, text, sizeof text) == 0, "no application title string 57344");

    HRSRC manifest = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    Check(manifest != nullptr, "a manifest for the process");
    if (manifest) {
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, manifest)));
        const std::string body(bytes, SizeofResource(module, manifest));
        Check(body.find("<dpiAware") != std::string::npos && body.find("PerMonitorV2") != std::string::npos,
              "the manifest declares DPI awareness");
    }
    HRSRC version = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));
    Check(version != nullptr, "a version record");
    if (version) {
        const unsigned char* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(module, version)));
        const std::string body(reinterpret_cast<const char*>(bytes), SizeofResource(module, version));
        const char signature[4] = {static_cast<char>(0xBD), static_cast<char>(0x04), static_cast<char>(0xEF),
                                   static_cast<char>(0xFE)};
        Check(body.find(std::string(signature, 4)) != std::string::npos, "the version record has its fixed part");
    }
    Check(FindResourceA(module, MAKEINTRESOURCEA(128), MAKEINTRESOURCEA(14)) != nullptr, "icon 128");
    Check(FindResourceA(module, MAKEINTRESOURCEA(129), MAKEINTRESOURCEA(12)) != nullptr, "cursor 129");
    FreeLibrary(module);
    return g_failures;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: saver_driver <Arcveil3D.scr> <scenario> [how] [ready-file go-file]\n");
        return 100;
    }
    g_saverPath = argv[1];
    const std::string scenario = argv[2];
    if (scenario == "mode-refused")
        return ScenarioModeRefused();
    if (scenario == "mode-accepted")
        return ScenarioModeAccepted();
    if (scenario == "end" && argc >= 4)
        return ScenarioEnd(argv[3], argc >= 6 ? argv[4] : "", argc >= 6 ? argv[5] : "");
    if (scenario == "registry")
        return ScenarioRegistry();
    if (scenario == "options")
        return ScenarioOptions(argc >= 5 ? argv[3] : "", argc >= 5 ? argv[4] : "");
    if (scenario == "resources")
        return ScenarioResources();
    std::fprintf(stderr, "saver_driver: unknown scenario %s\n", scenario.c_str());
    return 100;
}
