#pragma once
// The Windows-side driver of the settings dialog, preview and information page tests:
// starts Arcveil3D.scr as the screen-saver host or a user would, finds its windows,
// reads the registry it writes, and looks at the screen.
#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The program under test, its open-verb recorder and the screenshot folder, from the
// environment the runner script sets (Windows paths).
std::string SaverPath();
std::string RecorderPath();
std::string ScreenshotFolder();

// A started Arcveil3D.scr; ended (terminated) when the object goes, if still running.
class SaverProcess {
public:
    explicit SaverProcess(const std::string& arguments);
    ~SaverProcess();
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    bool Started() const { return m_info.hProcess != nullptr; }
    DWORD ProcessId() const { return m_info.dwProcessId; }
    DWORD ThreadId() const { return m_info.dwThreadId; }
    // The exit code, or nullopt when it still runs after timeoutMs (messages of this
    // thread are served meanwhile).
    std::optional<DWORD> WaitForExit(DWORD timeoutMs);

private:
    PROCESS_INFORMATION m_info{};
};

// Serves this thread's messages for up to timeoutMs or until done() holds.
template <typename Done>
bool PumpUntil(Done done, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

inline constexpr const char* kDialogCaption = "Arcveil 3D v 2.0 - Settings";

// The visible settings dialog of process, or null after timeoutMs.
HWND WaitForDialog(const SaverProcess& process, DWORD timeoutMs = 30000);
// The dialog's direct children, in z order (the template's, which is the tab order).
std::vector<HWND> ChildWindows(HWND parent);
std::string WindowText(HWND window);
std::string ClassName(HWND window);
// The window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND window);

// Sends BM_CLICK and waits until the dialog has handled it.
void Click(HWND button);
int CheckState(HWND box);
// Selects the entry and tells the dialog, as a user's choice would.
void SelectComboEntry(HWND dialog, HWND combo, int index);
// The selected entry's index, -1 for none.
int ComboSelection(HWND combo);
// The entries' texts, top to bottom.
std::vector<std::string> ComboEntries(HWND combo);

// The settings: HKCU\Software\Quenmoor Soft.\Arcveil3D\Arcveil3D.
struct StoredValue {
    DWORD type = 0;
    std::vector<unsigned char> data;
    bool operator==(const StoredValue& other) const { return type == other.type && data == other.data; }
};
using StoredSettings = std::map<std::string, StoredValue>;
void ClearStoredSettings();
void StoreSetting(const char* name, DWORD value);
StoredSettings ReadStoredSettings();
// The DWORD value, or nullopt when missing or not a four-byte DWORD.
std::optional<DWORD> StoredDword(const StoredSettings& settings, const char* name);
// All nine at once, in the settings' order: Width, Height, Depth, Desktop, Sounds,
// Cross, Hieroglyphs, Rain, HighQuality.
void StoreAllSettings(const DWORD (&values)[9]);
extern const char* const kSettingNames[9];

// Resources of the program file itself, loaded as data.
class ProgramResources {
public:
    ProgramResources();
    ~ProgramResources();
    ProgramResources(const ProgramResources&) = delete;
    ProgramResources& operator=(const ProgramResources&) = delete;
    HMODULE Module() const { return m_module; }
    std::vector<unsigned char> Raw(int id, const char* type) const;

private:
    HMODULE m_module;
};

// Pixels, 32-bit BGRX, top-down.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFF; }
};
// What the screen shows in rect (screen coordinates).
Picture CaptureScreen(const RECT& rect);
// A bitmap resource of the program, stretched to width x height as the system does it.
Picture StretchedBitmap(const ProgramResources& program, int id, int width, int height);
// The share of pixels in the sub-rectangle (of both pictures' size) equal in both.
double MatchingShare(const Picture& a, const Picture& b, const RECT& area);
// Writes a 24-bit BMP file; false when it could not.
bool SaveBmp(const Picture& picture, const std::string& path);

// The dialog's font as the system builds it from the template at dpi, and the dialog
// base units it gives (what MapDialogRect uses).
struct DialogFont {
    explicit DialogFont(int dpi);
    ~DialogFont();
    DialogFont(const DialogFont&) = delete;
    DialogFont& operator=(const DialogFont&) = delete;
    SIZE TextExtent(const std::string& line) const;
    RECT ToPixels(const RECT& dialogUnits) const; // left, top, width, height in and out
    HDC dc;
    HFONT font;
    HGDIOBJ previous;
    int baseX;
    int baseY;
    int lineHeight;
};

// HKCU\Control Panel\Desktop LogPixels, which programs started from now on take as the
// system's DPI; 0 deletes it (nullopt when there is none).
void SetLogPixels(DWORD dpi);
std::optional<DWORD> ReadLogPixels();
