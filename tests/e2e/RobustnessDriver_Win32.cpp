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
#include "DriverSupport_Win32.h" // windows.h, which tlhelp32.h needs first

#include <tlhelp32.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
using namespace drive;

std::string g_saverPath;
std::string g_appName;
constexpr int kAboutButton = 1015;

// How this driver waits and how its checks read.
const DriverStyle kStyle{
    20000, false, 700, "still running after the first pointer report", // the saver window
    10000, "ended with exit code 0",                                   // its clean end
    15000, 8000, false,                                                // the failure box
    "failure box shown",
    "box text",
    "no saver window",
    "ended after the box, exit code",
};

// The raw bytes of every value in the section, for "nothing was written" checks.
std::string SectionSnapshot()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath(g_appName).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
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

HWND FindDialog(DWORD processId)
{
    for (HWND window : ProcessWindows(processId)) {
        if (ClassOf(window) == "#32770" && GetDlgItem(window, kAboutButton) != nullptr)
            return window;
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

// The settings dialog opens over the stored values and Cancel leaves them as they were.
void ExpectDialogOpensAndCancels(const std::string& label)
{
    const std::string before = SectionSnapshot();
    Saver saver = Start(g_saverPath, "/c");
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
         HWND other = CreateHostWindow(200, 100, HostSize::Outer);
         SetForegroundWindow(other);
         PumpFor(300);
         DestroyWindow(other);
     }},
};
constexpr int kEndingCount = sizeof kEndings / sizeof kEndings[0];

int ScenarioCycle(int starts)
{
    ResetSettings(g_appName); // default mode 640x480x16, desktop mode off
    const DisplayMode before = CurrentMode();
    const std::string exeName = ExeName();
    Check(ProcessesNamed(exeName) == 0, "no saver process before the first start");
    int clean = 0;
    for (int i = 0; i < starts; ++i) {
        const Ending& ending = kEndings[i % kEndingCount];
        const std::string label = "start " + std::to_string(i + 1) + " of " + std::to_string(starts) + ", ended by " +
                                  ending.name;
        const int failuresBefore = FailureCount();
        Saver saver;
        HWND window = StartSaverWindow(saver, g_saverPath, label, kStyle);
        if (!window) {
            WaitForEnd(saver, 0);
            continue;
        }
        ending.act(window);
        ExpectCleanEnd(saver, label, kStyle);
        Check(!IsWindow(window), label + ": its window is gone");
        Sleep(100);
        Check(ProcessesNamed(exeName) == 0, label + ": no saver process left");
        const DisplayMode after = CurrentMode();
        Check(after == before, label + ": display mode " + after.Text() + " as before (" + before.Text() + ")");
        clean += FailureCount() == failuresBefore;
    }
    std::printf("%d of %d starts ended cleanly\n", clean, starts);
    return FailureCount();
}

int ScenarioBurst()
{
    ResetSettings(g_appName);
    const DisplayMode before = CurrentMode();
    Saver saver;
    HWND window = StartSaverWindow(saver, g_saverPath, "input in bursts", kStyle);
    if (!window) {
        WaitForEnd(saver, 0);
        return FailureCount();
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
    ExpectCleanEnd(saver, "input in bursts", kStyle);
    Check(ProcessesNamed(ExeName()) == 0, "input in bursts: no saver process left");
    Check(CurrentMode() == before, "input in bursts: display mode as before");
    return FailureCount();
}

int ScenarioArguments()
{
    // A window handle that was real a moment ago.
    HWND gone = CreateHostWindow(100, 100, HostSize::Outer);
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
        Saver saver = Start(g_saverPath, arguments);
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
    return FailureCount();
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
        ResetSettings(g_appName);
        SetRawValue(g_appName, c.name, c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
        if (c.outcome == Box) {
            ExpectModeRefusedBox(g_saverPath, c.label, kStyle);
        } else {
            Saver saver;
            if (StartSaverWindow(saver, g_saverPath, c.label, kStyle)) {
                PressKey('A');
                ExpectCleanEnd(saver, c.label, kStyle);
            } else {
                WaitForEnd(saver, 0);
            }
        }
        ExpectDialogOpensAndCancels(std::string(c.label) + ", settings dialog");
    }
    // Every value at once, all of them hostile.
    ResetSettings(g_appName);
    SetDword(g_appName, "Width", 0xffffffffu);
    SetDword(g_appName, "Height", 100000);
    SetRawValue(g_appName, "Depth", REG_SZ, "32", 3);
    SetRawValue(g_appName, "Desktop", REG_BINARY, "\x01\x00\x00\x00\x00", 5);
    SetDword(g_appName, "Sounds", 0x80000000u);
    ExpectModeRefusedBox(g_saverPath, "every value hostile", kStyle);
    ExpectDialogOpensAndCancels("every value hostile, settings dialog");
    ResetSettings(g_appName);
    return FailureCount();
}

int ScenarioBare()
{
    ResetSettings(g_appName);
    SetDword(g_appName, "Desktop", 1);
    {
        Saver saver;
        HWND window = StartSaverWindow(saver, g_saverPath, "without pictures and sound, saver", kStyle);
        if (window) {
            Sleep(1500); // frames with every texture 0 and no sound
            Check(StillRunning(saver) && FindMessageBox(saver.process.dwProcessId) == nullptr,
                  "without pictures and sound: frames drawn, no box");
            PressKey('A');
            ExpectCleanEnd(saver, "without pictures and sound, saver", kStyle);
        } else {
            WaitForEnd(saver, 0);
        }
    }
    {
        HWND host = CreateHostWindow(160, 120, HostSize::Outer);
        PumpFor(200);
        Saver saver = Start(g_saverPath, "/p " + std::to_string(reinterpret_cast<INT_PTR>(host)));
        HWND child = WaitForChild(host, 10000);
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
        Saver saver = Start(g_saverPath, "/c");
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
    ResetSettings(g_appName);
    return FailureCount();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: robustness_driver <Arcveil3D.scr> <scenario> [argument]\n");
        return 100;
    }
    g_saverPath = argv[1];
    g_appName = AppName(g_saverPath);
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
