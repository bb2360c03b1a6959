// Drives Arcveil3D.scr through hostile use, as tests/e2e's saver_driver drives it through
// ordinary use, from a Windows process of its own. Usage:
//   robustness_driver <Arcveil3D.scr> <scenario> [argument]
// Scenarios:
//   cycle N      N starts of the saver (desktop mode off), each ended by the next of ten
//                different inputs: it ends with exit code 0, without a failure box,
//                leaves no process behind and the display mode as it found it
//   burst        hundreds of pointer moves and key presses at once end it once
//   arguments    garbage, empty, very long and preview-less command lines end at once
//                and never show a window
//   registry     values of the wrong type, the wrong size, negative and huge give the
//                failure box or the default, and the dialog opens over any of them
//   bare         a program file without its pictures, sound and page runs all three
//                modes without a failure box
// Each check prints "ok" or "FAILED"; the exit code is the number of failed checks.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
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
constexpr int kAboutButton = 1015;

// The settings key follows the program's file name without directory and extension.
std::string AppName(const std::string& path)
{
    std::string name = path.substr(path.find_last_of("\\/") + 1);
    return name.substr(0, name.find_last_of('.'));
}

std::string SectionPath()
{
    return std::string(kSettingsRoot) + "\\" + AppName(g_saverPath) + "\\Arcveil3D";
}

void ResetSettings()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(kSettingsRoot) + "\\" + AppName(g_saverPath)).c_str());
}

void SetRawValue(const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, SectionPath().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void SetDword(const char* name, DWORD value)
{
    SetRawValue(name, REG_DWORD, &value, sizeof value);
}

// The raw bytes of every value in the section, for "nothing was written" checks.
std::string SectionSnapshot()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "<no key>";
    std::string snapshot;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD nameSize = sizeof name;
        unsigned char data[1024];
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        snapshot += std::string(name) + ":" + std::to_string(type) + ":" +
                    std::string(reinterpret_cast<char*>(data), dataSize) + ";";
    }
    RegCloseKey(key);
    return snapshot;
}

struct Saver {
    PROCESS_INFORMATION process{};
    bool started = false;
};

Saver Start(const std::string& arguments)
{
    Saver saver;
    std::string commandLine = "\"" + g_saverPath + "\"";
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

bool StillRunning(const Saver& saver)
{
    return saver.started && WaitForSingleObject(saver.process.hProcess, 0) == WAIT_TIMEOUT;
}

// Exit code, or -1 when it is still running after timeoutMs (it is then ended).
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

std::vector<HWND> ProcessWindows(DWORD processId, bool visibleOnly = true)
{
    struct Search {
        DWORD processId;
        bool visibleOnly;
        std::vector<HWND> found;
    } search{processId, visibleOnly, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId && (!s->visibleOnly || IsWindowVisible(window)))
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

HWND FindDialog(DWORD processId)
{
    for (HWND window : ProcessWindows(processId)) {
        if (ClassOf(window) == "#32770" && GetDlgItem(window, kAboutButton) != nullptr)
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

template <typename Found>
HWND WaitFor(Found find, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (HWND window = find())
            return window;
        Sleep(30);
    }
    return nullptr;
}

// Processes of this program file still alive, by executable name.
int ProcessesNamed(const std::string& exeName)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        count += lstrcmpiA(entry.szExeFile, exeName.c_str()) == 0;
    CloseHandle(snapshot);
    return count;
}

std::string ExeName()
{
    return g_saverPath.substr(g_saverPath.find_last_of("\\/") + 1);
}

struct DisplayMode {
    DWORD width, height, bits;
    bool operator==(const DisplayMode& o) const { return width == o.width && height == o.height && bits == o.bits; }
    std::string Text() const
    {
        return std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(bits);
    }
};

DisplayMode CurrentMode()
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    return {mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel};
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

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreatePlainWindow(int width, int height)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = PlainWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ArcveilRobustnessHost";
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        registered = RegisterClassA(&windowClass) != 0;
    }
    return CreateWindowExA(0, "ArcveilRobustnessHost", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, width,
                           height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
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

// Starts the saver with the pointer at a known place and waits until its window shows
// and Wine's first pointer report has come and gone.
HWND StartSaverWindow(Saver& saver, const std::string& label)
{
    SetCursorPos(100, 100);
    saver = Start("/s");
    HWND window = WaitFor([&] { return FindSaverWindow(saver.process.dwProcessId); }, 20000);
    Check(window != nullptr, label + ": topmost saver window shown");
    if (!window)
        return nullptr;
    Check(FindMessageBox(saver.process.dwProcessId) == nullptr, label + ": no failure box");
    Sleep(700);
    Check(StillRunning(saver), label + ": still running after the first pointer report");
    return window;
}

// Waits for the end while watching that no failure box appears meanwhile.
void ExpectCleanEnd(Saver& saver, const std::string& label)
{
    const DWORD start = GetTickCount();
    bool boxSeen = false;
    while (StillRunning(saver) && GetTickCount() - start < 10000) {
        boxSeen = boxSeen || FindMessageBox(saver.process.dwProcessId) != nullptr;
        Sleep(20);
    }
    const long code = WaitForEnd(saver, 1000);
    Check(code == 0, label + ": ended with exit code 0 (got " + std::to_string(code) + ")");
    Check(!boxSeen, label + ": no failure box on the way out");
}

// The video mode cannot be set: the box with the exact text, then the program ends.
void ExpectModeRefusedBox(const std::string& label)
{
    Saver saver = Start("/s");
    HWND box = WaitFor([&] { return FindMessageBox(saver.process.dwProcessId); }, 15000);
    Check(box != nullptr, label + ": failure box shown");
    if (box) {
        char text[512] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        Check(std::string(text) == kModeRefusedText, label + ": box text [" + std::string(text) + "]");
        Check(FindSaverWindow(saver.process.dwProcessId) == nullptr, label + ": no saver window");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    const long code = WaitForEnd(saver, 8000);
    Check(code == 0, label + ": ended after the box, exit code " + std::to_string(code));
}

// The settings dialog opens over the stored values and Cancel leaves them as they were.
void ExpectDialogOpensAndCancels(const std::string& label)
{
    const std::string before = SectionSnapshot();
    Saver saver = Start("/c");
    HWND dialog = WaitFor([&] { return FindDialog(saver.process.dwProcessId); }, 15000);
    Check(dialog != nullptr, label + ": the settings dialog opens");
    if (dialog) {
        Check(FindMessageBox(saver.process.dwProcessId) == nullptr, label + ": no failure box over it");
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    const long code = WaitForEnd(saver, 8000);
    Check(code == 0, label + ": Cancel ends it, exit code " + std::to_string(code));
    Check(SectionSnapshot() == before, label + ": nothing was written");
}

// ---------------------------------------------------------------------------------

struct Ending {
    const char* name;
    void (*act)(HWND saverWindow);
};

const Ending kEndings[] = {
    {"pointer move",
     [](HWND window) {
         // On a loaded machine Wine's own first report may come late, and the move
         // below then only records the first position: a second move ends it.
         SetCursorPos(140, 120);
         for (int wait = 0; wait < 30 && IsWindow(window); ++wait)
             Sleep(50);
         if (IsWindow(window))
             SetCursorPos(180, 150);
     }},
    {"left button", [](HWND) { SendButton(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP); }},
    {"right button", [](HWND) { SendButton(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); }},
    {"middle button", [](HWND) { SendButton(MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP); }},
    {"key A", [](HWND) { PressKey('A'); }},
    {"Escape", [](HWND) { PressKey(VK_ESCAPE); }},
    {"Space", [](HWND) { PressKey(VK_SPACE); }},
    {"Shift", [](HWND) { PressKey(VK_SHIFT); }},
    {"Alt+F4",
     [](HWND) {
         SendKey(VK_MENU, false);
         SendKey(VK_F4, false);
         SendKey(VK_F4, true);
         SendKey(VK_MENU, true);
     }},
    {"another window activated",
     [](HWND) {
         HWND other = CreatePlainWindow(200, 100);
         SetForegroundWindow(other);
         PumpFor(300);
         DestroyWindow(other);
     }},
};
constexpr int kEndingCount = sizeof kEndings / sizeof kEndings[0];

int ScenarioCycle(int starts)
{
    ResetSettings(); // default mode 640x480x16, desktop mode off
    const DisplayMode before = CurrentMode();
    const std::string exeName = ExeName();
    Check(ProcessesNamed(exeName) == 0, "no saver process before the first start");
    int clean = 0;
    for (int i = 0; i < starts; ++i) {
        const Ending& ending = kEndings[i % kEndingCount];
        const std::string label = "start " + std::to_string(i + 1) + " of " + std::to_string(starts) + ", ended by " +
                                  ending.name;
        const int failuresBefore = g_failures;
        Saver saver;
        HWND window = StartSaverWindow(saver, label);
        if (!window) {
            WaitForEnd(saver, 0);
            continue;
        }
        ending.act(window);
        ExpectCleanEnd(saver, label);
        Check(!IsWindow(window), label + ": its window is gone");
        Sleep(100);
        Check(ProcessesNamed(exeName) == 0, label + ": no saver process left");
        const DisplayMode after = CurrentMode();
        Check(after == before, label + ": display mode " + after.Text() + " as before (" + before.Text() + ")");
        clean += g_failures == failuresBefore;
    }
    std::printf("%d of %d starts ended cleanly\n", clean, starts);
    return g_failures;
}

int ScenarioBurst()
{
    ResetSettings();
    const DisplayMode before = CurrentMode();
    Saver saver;
    HWND window = StartSaverWindow(saver, "input in bursts");
    if (!window) {
        WaitForEnd(saver, 0);
        return g_failures;
    }
    // Hundreds of moves, clicks and keys queued before the saver can handle the first.
    std::vector<INPUT> inputs;
    for (int i = 0; i < 400; ++i) {
        INPUT move{};
        move.type = INPUT_MOUSE;
        move.mi.dx = (i % 2) ? 3 : -3;
        move.mi.dy = (i % 3) ? 2 : -2;
        move.mi.dwFlags = MOUSEEVENTF_MOVE;
        inputs.push_back(move);
        if (i % 4 == 0) {
            INPUT key{};
            key.type = INPUT_KEYBOARD;
            key.ki.wVk = static_cast<WORD>('A' + i % 26);
            inputs.push_back(key);
            key.ki.dwFlags = KEYEVENTF_KEYUP;
            inputs.push_back(key);
        }
        if (i % 50 == 0) {
            INPUT click{};
            click.type = INPUT_MOUSE;
            click.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
            inputs.push_back(click);
            click.mi.dwFlags = MOUSEEVENTF_LEFTUP;
            inputs.push_back(click);
        }
    }
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Check(sent == inputs.size(), "a burst of " + std::to_string(inputs.size()) + " inputs sent");
    // More while it is ending: posted straight to the window, which may already be gone.
    for (int i = 0; i < 200; ++i) {
        PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(i, i));
        PostMessageA(window, WM_KEYDOWN, 'Q', 0);
    }
    ExpectCleanEnd(saver, "input in bursts");
    Check(ProcessesNamed(ExeName()) == 0, "input in bursts: no saver process left");
    Check(CurrentMode() == before, "input in bursts: display mode as before");
    return g_failures;
}

int ScenarioArguments()
{
    // A window handle that was real a moment ago.
    HWND gone = CreatePlainWindow(100, 100);
    const std::string goneHandle = std::to_string(reinterpret_cast<INT_PTR>(gone));
    DestroyWindow(gone);

    std::vector<std::string> commandLines = {
        "/x", "--s", "\"\"", "\"\" /s", "-", "/", "\\s", "0", "??????", "/\xe9", "\xff\xfe\xfd",
        "/p", "/p 0", "/p -1", "/p 12345", "/p 99999999999999999999", "/p window", "/p " + goneHandle,
        "-p 0x10", "/p \"\"",
    };
    commandLines.push_back(std::string(30000, 'x'));            // one very long argument
    commandLines.push_back("/p " + std::string(20000, '7'));   // a very long number
    std::string many;
    for (int i = 0; i < 3000; ++i)
        many += "/q ";
    commandLines.push_back(many); // thousands of arguments

    for (const std::string& arguments : commandLines) {
        const std::string label =
            "arguments [" + (arguments.size() > 40 ? arguments.substr(0, 20) + "... (" +
                                                         std::to_string(arguments.size()) + " characters)"
                                                   : arguments) +
            "]";
        Saver saver = Start(arguments);
        Check(saver.started, label + ": started");
        bool windowSeen = false;
        const DWORD start = GetTickCount();
        while (StillRunning(saver) && GetTickCount() - start < 8000) {
            windowSeen = windowSeen || !ProcessWindows(saver.process.dwProcessId).empty();
            Sleep(10);
        }
        const DWORD took = GetTickCount() - start;
        const long code = WaitForEnd(saver, 0);
        Check(code == 0 && took < 5000, label + ": ends at once (" + std::to_string(took) + " ms) with exit code 0 (got " +
                                            std::to_string(code) + ")");
        Check(!windowSeen, label + ": no window");
    }
    return g_failures;
}

int ScenarioRegistry()
{
    // On a 640x480 screen: the default mode is accepted, so a value read as its default
    // runs the saver and a value read as itself (or as another number) decides the box.
    enum Outcome { Runs, Box };
    struct Case {
        const char* label;
        const char* name;
        DWORD type;
        std::vector<unsigned char> data;
        Outcome outcome;
    };
    auto dword = [](std::int32_t v) {
        const auto u = static_cast<std::uint32_t>(v);
        return std::vector<unsigned char>{static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8),
                                          static_cast<unsigned char>(u >> 16), static_cast<unsigned char>(u >> 24)};
    };
    const std::vector<Case> cases = {
        {"Width -1", "Width", REG_DWORD, dword(-1), Box},
        {"Width 100000", "Width", REG_DWORD, dword(100000), Box},
        {"Height -480", "Height", REG_DWORD, dword(-480), Box},
        {"Depth -1", "Depth", REG_DWORD, dword(-1), Box},
        {"Width as big-endian 640 (four bytes taken as they are)", "Width", REG_DWORD_BIG_ENDIAN,
         {0x00, 0x00, 0x02, 0x80}, Box},
        {"Width as the REG_SZ \"abc\" (four bytes)", "Width", REG_SZ, {'a', 'b', 'c', 0}, Box},
        {"Width as an 8-byte REG_QWORD (too long: default)", "Width", REG_QWORD,
         {0x00, 0x04, 0, 0, 0, 0, 0, 0}, Runs},
        {"Width as a long REG_SZ (default)", "Width", REG_SZ,
         {'1', '0', '2', '4', 'x', '7', '6', '8', 0}, Runs},
        {"Width as 2 bytes of REG_BINARY (too short: default)", "Width", REG_BINARY, {0x00, 0x04}, Runs},
        {"Width as 0 bytes of REG_BINARY (default)", "Width", REG_BINARY, {}, Runs},
        {"Height as 4000 bytes of REG_BINARY (default)", "Height", REG_BINARY,
         std::vector<unsigned char>(4000, 0xee), Runs},
        {"Sounds -1", "Sounds", REG_DWORD, dword(-1), Runs},
        {"Rain 100000", "Rain", REG_DWORD, dword(100000), Runs},
        {"Hieroglyphs INT_MIN", "Hieroglyphs", REG_DWORD, dword(INT32_MIN), Runs},
        {"HighQuality -5", "HighQuality", REG_DWORD, dword(-5), Runs},
        {"Cross as REG_MULTI_SZ", "Cross", REG_MULTI_SZ, {'o', 'n', 0, 0}, Runs},
        {"Desktop -1 (on: mode never switched)", "Desktop", REG_DWORD, dword(-1), Runs},
    };
    for (const Case& c : cases) {
        ResetSettings();
        SetRawValue(c.name, c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
        if (c.outcome == Box) {
            ExpectModeRefusedBox(c.label);
        } else {
            Saver saver;
            if (StartSaverWindow(saver, c.label)) {
                PressKey('A');
                ExpectCleanEnd(saver, c.label);
            } else {
                WaitForEnd(saver, 0);
            }
        }
        ExpectDialogOpensAndCancels(std::string(c.label) + ", settings dialog");
    }
    // Every value at once, all of them hostile.
    ResetSettings();
    SetDword("Width", 0xffffffffu);
    SetDword("Height", 100000);
    SetRawValue("Depth", REG_SZ, "32", 3);
    SetRawValue("Desktop", REG_BINARY, "\x01\x00\x00\x00\x00", 5);
    SetDword("Sounds", 0x80000000u);
    ExpectModeRefusedBox("every value hostile");
    ExpectDialogOpensAndCancels("every value hostile, settings dialog");
    ResetSettings();
    return g_failures;
}

int ScenarioBare()
{
    ResetSettings();
    SetDword("Desktop", 1);
    {
        Saver saver;
        HWND window = StartSaverWindow(saver, "without pictures and sound, saver");
        if (window) {
            Sleep(1500); // frames with every texture 0 and no sound
            Check(StillRunning(saver) && FindMessageBox(saver.process.dwProcessId) == nullptr,
                  "without pictures and sound: frames drawn, no box");
            PressKey('A');
            ExpectCleanEnd(saver, "without pictures and sound, saver");
        } else {
            WaitForEnd(saver, 0);
        }
    }
    {
        HWND host = CreatePlainWindow(160, 120);
        PumpFor(200);
        Saver saver = Start("/p " + std::to_string(reinterpret_cast<INT_PTR>(host)));
        HWND child = nullptr;
        const DWORD start = GetTickCount();
        while (!child && GetTickCount() - start < 10000) {
            PumpFor(50);
            HWND candidate = GetWindow(host, GW_CHILD);
            if (candidate && IsWindowVisible(candidate))
                child = candidate;
        }
        Check(child != nullptr, "without the title picture: the preview child still appears");
        PumpFor(500);
        Check(StillRunning(saver), "without the title picture: the preview keeps running");
        DestroyWindow(host);
        PumpFor(100);
        const long code = WaitForEnd(saver, 8000);
        Check(code == 0, "without the title picture: the preview ends with its host, exit code " +
                             std::to_string(code));
    }
    {
        char folder[MAX_PATH] = {};
        GetWindowsDirectoryA(folder, MAX_PATH);
        const std::string page = std::string(folder) + "\\Arcveil3D.htm";
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        const std::string tempPage = std::string(temp) + "Arcveil3D.htm";
        DeleteFileA(page.c_str());
        DeleteFileA(tempPage.c_str());
        Saver saver = Start("/c");
        HWND dialog = WaitFor([&] { return FindDialog(saver.process.dwProcessId); }, 15000);
        Check(dialog != nullptr, "without its background picture: the settings dialog opens");
        if (dialog) {
            const size_t windowsBefore = ProcessWindows(saver.process.dwProcessId).size();
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kAboutButton, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, kAboutButton)));
            Sleep(800);
            Check(StillRunning(saver), "without the page: About leaves the dialog running");
            Check(ProcessWindows(saver.process.dwProcessId).size() == windowsBefore,
                  "without the page: About shows no window or message");
            Check(GetFileAttributesA(page.c_str()) == INVALID_FILE_ATTRIBUTES &&
                      GetFileAttributesA(tempPage.c_str()) == INVALID_FILE_ATTRIBUTES,
                  "without the page: no page file written");
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
        const long code = WaitForEnd(saver, 8000);
        Check(code == 0, "without pictures: the dialog ends with exit code 0 (got " + std::to_string(code) + ")");
    }
    ResetSettings();
    return g_failures;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: robustness_driver <Arcveil3D.scr> <scenario> [argument]\n");
        return 100;
    }
    g_saverPath = argv[1];
    const std::string scenario = argv[2];
    if (scenario == "cycle")
        return ScenarioCycle(argc >= 4 ? std::atoi(argv[3]) : 50);
    if (scenario == "burst")
        return ScenarioBurst();
    if (scenario == "arguments")
        return ScenarioArguments();
    if (scenario == "registry")
        return ScenarioRegistry();
    if (scenario == "bare")
        return ScenarioBare();
    std::fprintf(stderr, "robustness_driver: unknown scenario %s\n", scenario.c_str());
    return 100;
}
