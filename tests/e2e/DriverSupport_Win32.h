#pragma once
// What the saver driver (tests/e2e) and the robustness driver have in common: counted
// checks, the settings in the registry, starting and ending Arcveil3D.scr, finding its
// windows and sending it input. Each driver keeps only its scenarios and says, through
// DriverStyle, how long it waits and how the checks it shares with the other read.
#include <windows.h>

#include <string>
#include <vector>

namespace drive {

// Prints "ok: what" or "FAILED: what" and counts the failures.
void Check(bool condition, const std::string& what);
int FailureCount();

extern const char* const kSettingsRoot;
extern const char* const kCaption;
extern const char* const kModeRefusedText;

// The settings key follows the program's file name without directory and extension.
std::string AppName(const std::string& path);
std::string SectionPath(const std::string& appName);
// Settings of one program file name: nothing at all (first run).
void ResetSettings(const std::string& appName);
void SetRawValue(const std::string& appName, const char* name, DWORD type, const void* data, DWORD size);
void SetDword(const std::string& appName, const char* name, DWORD value);

struct Saver {
    PROCESS_INFORMATION process{};
    bool started = false;
};

Saver Start(const std::string& path, const std::string& arguments);
bool StillRunning(const Saver& saver);
// Exit code, or -1 when it is still running after timeoutMs (it is then ended); -2 when
// it never started or was waited for already. Closes the process handles.
long WaitForEnd(Saver& saver, DWORD timeoutMs);

// The visible top-level windows of a process.
std::vector<HWND> ProcessWindows(DWORD processId);
std::string ClassOf(HWND window);
// The failure box: a dialog-class window with the caption "Arcveil 3D:".
HWND FindMessageBox(DWORD processId);
// The topmost window that is not a dialog.
HWND FindSaverWindow(DWORD processId);
bool IsFullScreen(HWND window);

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

struct DisplayMode {
    DWORD width, height, bits;
    bool operator==(const DisplayMode& o) const { return width == o.width && height == o.height && bits == o.bits; }
    std::string Text() const;
};
DisplayMode CurrentMode();
DWORD CurrentBitsPerPixel();

void SendKey(WORD key, bool up);
void PressKey(WORD key);
void SendButton(DWORD down, DWORD up);

// A visible, empty top-level window of this process, the given size as a whole or as
// its client area.
enum class HostSize { Outer, Client };
HWND CreateHostWindow(int width, int height, HostSize size);
// Serves this thread's messages for ms milliseconds.
void PumpFor(DWORD ms);
// The first visible child of host (a preview), serving messages meanwhile; null after
// timeoutMs.
HWND WaitForChild(HWND host, DWORD timeoutMs);

// Where the two drivers' shared checks differ: how long they wait and how they read.
struct DriverStyle {
    DWORD windowTimeoutMs;       // for the saver window to show
    bool windowCoversScreen;     // also check that it covers the screen
    DWORD firstReportMs;         // Wine reports the pointer to a new window once, this soon
    const char* firstReportText; // the check that this report ended nothing
    DWORD cleanEndMs;            // for the saver to end after an input
    const char* endedText;       // the check of its exit code
    DWORD boxTimeoutMs;          // for the failure box to show
    DWORD boxEndMs;              // for the program to end after the box
    bool boxInDetail;            // also check the start, the box's owner and button, the display
    const char* boxShownText;
    const char* boxTextText;     // followed by the box's text in brackets
    const char* noWindowText;
    const char* boxEndedText;    // followed by the exit code
};

// Starts the saver with the pointer at a known place and waits until its window shows
// and Wine's first pointer report has come and gone.
HWND StartSaverWindow(Saver& saver, const std::string& path, const std::string& label, const DriverStyle& style);
// Waits for the end while watching that no failure box appears meanwhile.
void ExpectCleanEnd(Saver& saver, const std::string& label, const DriverStyle& style);
// The video mode cannot be set: the box with the exact text, no saver window, then the
// program ends.
void ExpectModeRefusedBox(const std::string& path, const std::string& label, const DriverStyle& style);

} // namespace drive
