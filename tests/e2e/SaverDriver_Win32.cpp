// Drives Arcveil3D.scr as the screen-saver host or a user would, from a Windows
// process of its own, and checks what they would see. Usage:
//   saver_driver <path of Arcveil3D.scr> <scenario> [argument]
// Each check prints one line, "ok" or "FAILED"; the exit code is the number of
// failed checks (0: all passed).
#include "DriverSupport_Win32.h"

#include <cstdio>
#include <string>

namespace {
using namespace drive;

std::string g_saverPath;

// How this driver waits and how its checks read.
const DriverStyle kStyle{
    15000, true, 800, "the first pointer report ends nothing", // the saver window
    8000, "the process ended, exit code 0",                     // its clean end
    10000, 5000, true,                                          // the failure box
    "failure box with caption \"Arcveil 3D:\" shown",
    "box text is the chain and the video-mode text:",
    "no saver window was created",
    "program ended after the box, exit code",
};

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
    ExpectModeRefusedBox(g_saverPath, "default settings, display refuses 640x480x16", kStyle);
    return FailureCount();
}

int ScenarioModeAccepted()
{
    ResetSettings("Arcveil3D");
    const DWORD bitsBefore = CurrentBitsPerPixel();
    Saver saver;
    HWND window = StartSaverWindow(saver, g_saverPath, "default mode 640x480x16", kStyle);
    if (window) {
        // Wine keeps a switched depth inside the switching process (display_window_tests checks
        // it there); from here only the outcome shows: the saver ran instead of a box.
        SendKey('A', false);
        SendKey('A', true);
        ExpectCleanEnd(saver, "key press", kStyle);
    }
    Check(CurrentBitsPerPixel() == bitsBefore, "the desktop mode is back (" + std::to_string(CurrentBitsPerPixel()) +
                                                   " bits, before " + std::to_string(bitsBefore) + ")");
    return FailureCount();
}

int ScenarioEnd(const std::string& how, const std::string& readyFile, const std::string& goFile)
{
    ResetSettings("Arcveil3D");
    SetDword("Arcveil3D", "Desktop", 1);
    const DWORD bitsBefore = CurrentBitsPerPixel();
    Saver saver;
    HWND window = StartSaverWindow(saver, g_saverPath, "desktop mode, ended by " + how, kStyle);
    if (!window) {
        WaitForEnd(saver, 0);
        return FailureCount();
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
        HWND other = CreateHostWindow(200, 100, HostSize::Client);
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
    ExpectCleanEnd(saver, how, kStyle);
    Check(!IsWindow(window), how + ": the saver window is gone");
    return FailureCount();
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
    ExpectModeRefusedBox(copy, "a copy under another file name has its own (default) settings", kStyle);
    Check(ValueCount("Other Copy") == 0, "the copy's key was created on reading, without values");
    {
        Saver saver;
        if (StartSaverWindow(saver, g_saverPath, "the original keeps Desktop = 1", kStyle)) {
            SendKey('A', false);
            SendKey('A', true);
            ExpectCleanEnd(saver, "key press", kStyle);
        }
    }

    const unsigned char fourBytes[4] = {1, 0, 0, 0};
    SetRawValue("Arcveil3D", "Desktop", REG_BINARY, fourBytes, 4);
    {
        Saver saver;
        if (StartSaverWindow(saver, g_saverPath, "Desktop as four bytes of REG_BINARY counts as on", kStyle)) {
            SendKey('A', false);
            SendKey('A', true);
            ExpectCleanEnd(saver, "key press", kStyle);
        }
    }
    SetRawValue("Arcveil3D", "Desktop", REG_SZ, "1", 2);
    ExpectModeRefusedBox(g_saverPath, "Desktop as the REG_SZ \"1\" (two bytes) counts as missing", kStyle);

    SetDword("Arcveil3D", "Desktop", 1);
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath("Arcveil3D").c_str(), 0, KEY_ALL_ACCESS, &key);
    RegDeleteValueA(key, "Desktop");
    RegCloseKey(key);
    ExpectModeRefusedBox(g_saverPath, "a deleted Desktop value takes its default 0", kStyle);

    DeleteFileA(copy.c_str());
    ResetSettings("Other Copy");
    ResetSettings("Arcveil3D");
    return FailureCount();
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
    HWND host = CreateHostWindow(152, 112, HostSize::Client);
    PumpFor(200);
    Saver saver = Start(g_saverPath, "/p " + std::to_string(reinterpret_cast<INT_PTR>(host)));
    HWND child = WaitForChild(host, 10000);
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
    return FailureCount();
}

// What the file carries for the host and the system: the description string, the
// manifest with DPI awareness, the version record, the icon and the invisible pointer,
// and no application title (so that the settings follow the file name).
int ScenarioResources()
{
    HMODULE module = LoadLibraryExA(g_saverPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    Check(module != nullptr, "the program file loads as data");
    if (!module)
        return FailureCount();
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
    return FailureCount();
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
