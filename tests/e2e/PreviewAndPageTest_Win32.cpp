// The preview in a host's window, the information page behind About, and the sound
// the saver carries.
#include <doctest/doctest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assets/WaveFile.h"
#include "tests/e2e/DialogDriver_Win32.h"

namespace {
// A top-level window standing in for the screen-saver host's preview window.
class HostWindow {
public:
    HostWindow(int clientWidth, int clientHeight)
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = "ArcveilTestHost";
        RegisterClassA(&windowClass);
        // A popup without a frame: its client area is the whole window. It leaves its
        // child's area alone when it paints, as a host's preview window does.
        m_window = CreateWindowExA(0, "ArcveilTestHost", "Preview host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 20,
                                   20, clientWidth,
                                   clientHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~HostWindow()
    {
        if (IsWindow(m_window))
            DestroyWindow(m_window);
    }
    HWND Handle() const { return m_window; }

private:
    HWND m_window = nullptr;
};

std::vector<unsigned char> ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> ReadLines(const std::string& path)
{
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

std::string WindowsDirectory()
{
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

std::string TempDirectory()
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return folder;
}

// Makes the shell's "open" of an .htm file run the recorder, which notes the file it
// was given in the log; puts the previous association back afterwards.
class OpenVerbRecorder {
public:
    explicit OpenVerbRecorder(const std::string& log) : m_log(log)
    {
        DeleteFileA(log.c_str());
        SetEnvironmentVariableA("ARCVEIL_OPEN_LOG", log.c_str());
        m_previous = ReadDefault(".htm");
        WriteDefault(".htm", "ArcveilTestPage");
        WriteDefault("ArcveilTestPage\\shell\\open\\command", "\"" + RecorderPath() + "\" \"%1\"");
    }
    ~OpenVerbRecorder()
    {
        WriteDefault(".htm", m_previous);
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "ArcveilTestPage");
        RegDeleteKeyA(HKEY_CLASSES_ROOT, "ArcveilTestPage");
    }
    // The files opened so far, once count of them have been noted (or the timeout).
    std::vector<std::string> Opened(std::size_t count) const
    {
        std::vector<std::string> lines;
        PumpUntil(
            [&] {
                lines = ReadLines(m_log);
                return lines.size() >= count;
            },
            10000);
        return lines;
    }

private:
    static std::string ReadDefault(const char* key)
    {
        char value[512] = {};
        LONG size = sizeof value;
        if (RegQueryValueA(HKEY_CLASSES_ROOT, key, value, &size) != ERROR_SUCCESS)
            return {};
        return value;
    }
    static void WriteDefault(const char* key, const std::string& value)
    {
        RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, value.c_str(), static_cast<DWORD>(value.size()));
    }
    std::string m_log;
    std::string m_previous;
};

bool SameFile(const std::string& a, const std::string& b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}
} // namespace

TEST_CASE("/p <host> puts one Splash child over the host's client area until the host goes")
{
    HostWindow host(152, 112);
    REQUIRE(host.Handle() != nullptr);
    SaverProcess process("/p " + std::to_string(reinterpret_cast<INT_PTR>(host.Handle())));
    REQUIRE(process.Started());
    HWND child = nullptr;
    REQUIRE(PumpUntil(
        [&] {
            child = GetWindow(host.Handle(), GW_CHILD);
            return child && IsWindowVisible(child);
        },
        10000));

    CHECK(ChildWindows(host.Handle()).size() == 1);
    CHECK(WindowText(child) == "Splash");
    DWORD owner = 0;
    GetWindowThreadProcessId(child, &owner);
    CHECK(owner == process.ProcessId());
    const DWORD style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
    CHECK((style & (WS_CHILD | WS_VISIBLE | WS_POPUP | WS_CAPTION | WS_BORDER)) == (WS_CHILD | WS_VISIBLE));
    CHECK(GetDlgCtrlID(child) == 0);
    RECT hostClient{};
    GetClientRect(host.Handle(), &hostClient);
    CHECK(hostClient.right == 152);
    CHECK(hostClient.bottom == 112);
    const RECT placed = RectInParent(child);
    CHECK(EqualRect(&placed, &hostClient));

    // What it paints is not looked at here: under Wine a window of another process
    // that is the child of this one's never shows on the screen. The same window
    // class is looked at in the settings dialog's frame.
    CHECK_FALSE(process.WaitForExit(200).has_value());
    DestroyWindow(host.Handle());
    CHECK(process.WaitForExit(20000) == DWORD{0});
    CHECK_FALSE(IsWindow(child));
}

TEST_CASE("About writes resource 143 byte for byte and opens it; the temporary folder takes it when the Windows "
          "directory refuses")
{
    const ProgramResources program;
    const std::vector<unsigned char> page = program.Raw(143, MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    REQUIRE(page.size() == 8945);
    const std::string inWindows = WindowsDirectory() + "\\Arcveil3D.htm";
    const std::string inTemp = TempDirectory() + "Arcveil3D.htm";
    DeleteFileA(inWindows.c_str());
    DeleteFileA(inTemp.c_str());
    const OpenVerbRecorder recorder(TempDirectory() + "arcveil-opened.log");

    ClearStoredSettings();
    SaverProcess process("/c");
    const HWND dialog = WaitForDialog(process);
    REQUIRE(dialog != nullptr);
    const HWND about = GetDlgItem(dialog, 1015);

    SUBCASE("in the Windows directory, twice in a row")
    {
        Click(about);
        CHECK(ReadFile(inWindows) == page);
        // A longer file in the way: the second click writes it over, to the byte.
        {
            std::ofstream junk(inWindows, std::ios::binary | std::ios::trunc);
            junk << std::string(20000, 'x');
        }
        Click(about);
        CHECK(ReadFile(inWindows) == page);
        const std::vector<std::string> opened = recorder.Opened(2);
        REQUIRE(opened.size() == 2);
        CHECK(SameFile(opened[0], inWindows));
        CHECK(SameFile(opened[1], inWindows));
        CHECK(GetFileAttributesA(inTemp.c_str()) == INVALID_FILE_ATTRIBUTES);
    }
    SUBCASE("the Windows directory refuses: the temporary folder")
    {
        // A folder of that name: no program, however privileged, can write the file.
        REQUIRE(CreateDirectoryA(inWindows.c_str(), nullptr));
        Click(about);
        CHECK(ReadFile(inTemp) == page);
        const std::vector<std::string> opened = recorder.Opened(1);
        REQUIRE(opened.size() == 1);
        CHECK(SameFile(opened[0], inTemp));
        CHECK((GetFileAttributesA(inWindows.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0);
        RemoveDirectoryA(inWindows.c_str());
    }
    SUBCASE("neither folder takes it: nothing opens and the dialog carries on")
    {
        REQUIRE(CreateDirectoryA(inWindows.c_str(), nullptr));
        REQUIRE(CreateDirectoryA(inTemp.c_str(), nullptr));
        Click(about);
        CHECK(recorder.Opened(1).empty());
        CHECK(IsWindowVisible(dialog));
        RemoveDirectoryA(inWindows.c_str());
        RemoveDirectoryA(inTemp.c_str());
    }

    // The dialog is still there and ends as usual.
    Click(GetDlgItem(dialog, IDCANCEL));
    CHECK(process.WaitForExit(20000) == DWORD{0});
    DeleteFileA(inWindows.c_str());
    DeleteFileA(inTemp.c_str());
}

TEST_CASE("the saver's sound, resource 144, is the looping stereo recording the player expects")
{
    const ProgramResources program;
    const std::vector<unsigned char> wave = program.Raw(144, MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    REQUIRE(wave.size() == 340066);
    const auto info = ParseWave(wave.data(), wave.size());
    REQUIRE(info.has_value());
    CHECK(info->riffSize == 340058u);
    CHECK(info->formatTag == 1);
    CHECK(info->channels == 2);
    CHECK(info->samplesPerSecond == 22050u);
    CHECK(info->bytesPerSecond == 44100u);
    CHECK(info->blockAlign == 2);
    CHECK(info->bitsPerSample == 8);
    CHECK(info->samples == wave.data() + 44);
    CHECK(info->sampleBytes == 339966u);
    CHECK(info->FrameCount() == 169983u);
    REQUIRE(info->chunks.size() == 3);
    CHECK(info->chunks[0].id == "fmt ");
    CHECK(info->chunks[1].id == "data");
    CHECK(info->chunks[2].id == "LIST");
    CHECK(info->chunks[2].offset == 340010u);
    CHECK(info->chunks[2].size == 48u);
}
