#include "tests/e2e/DialogDriver_Win32.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
std::string Environment(const char* name)
{
    char value[1024] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

const char kSettingsKey[] = "Software\\Quenmoor Soft.\\Arcveil3D\\Arcveil3D";
const char kCompanyKey[] = "Software\\Quenmoor Soft.\\Arcveil3D";
} // namespace

const char* const kSettingNames[9] = {"Width", "Height",      "Depth", "Desktop",    "Sounds",
                                      "Cross", "Hieroglyphs", "Rain",  "HighQuality"};

std::string SaverPath()
{
    return Environment("ARCVEIL_SCR");
}

std::string RecorderPath()
{
    return Environment("ARCVEIL_OPEN_RECORDER");
}

std::string ScreenshotFolder()
{
    return Environment("ARCVEIL_SHOT_DIR");
}

SaverProcess::SaverProcess(const std::string& arguments)
{
    std::string commandLine = "\"" + SaverPath() + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &m_info))
        m_info = PROCESS_INFORMATION{};
}

SaverProcess::~SaverProcess()
{
    if (!m_info.hProcess)
        return;
    if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_info.hProcess, 99);
        WaitForSingleObject(m_info.hProcess, 5000);
    }
    CloseHandle(m_info.hThread);
    CloseHandle(m_info.hProcess);
}

std::optional<DWORD> SaverProcess::WaitForExit(DWORD timeoutMs)
{
    if (!m_info.hProcess)
        return std::nullopt;
    const HANDLE process = m_info.hProcess;
    if (!PumpUntil([process] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, timeoutMs))
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return code;
}

HWND WaitForDialog(const SaverProcess& process, DWORD timeoutMs)
{
    HWND found = nullptr;
    const DWORD pid = process.ProcessId();
    PumpUntil(
        [&] {
            HWND window = nullptr;
            while ((window = FindWindowExA(nullptr, window, "#32770", kDialogCaption)) != nullptr) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == pid && IsWindowVisible(window)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    if (found) {
        // Visible comes before the first paint: let it settle.
        PumpUntil([] { return false; }, 300);
    }
    return found;
}

std::vector<HWND> ChildWindows(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

std::string WindowText(HWND window)
{
    char text[512] = {};
    const int length = GetWindowTextA(window, text, sizeof text);
    return std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string ClassName(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

RECT RectInParent(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void Click(HWND button)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result);
}

int CheckState(HWND box)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(box, BM_GETCHECK, 0, 0, SMTO_NORMAL, 5000, &result);
    return static_cast<int>(result);
}

void SelectComboEntry(HWND dialog, HWND combo, int index)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_NORMAL, 5000, &result);
    SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(combo), SMTO_NORMAL, 5000, &result);
}

int ComboSelection(HWND combo)
{
    DWORD_PTR selection = 0;
    SendMessageTimeoutA(combo, CB_GETCURSEL, 0, 0, SMTO_NORMAL, 5000, &selection);
    return static_cast<int>(static_cast<LRESULT>(selection));
}

std::vector<std::string> ComboEntries(HWND combo)
{
    // The system does not copy CB_GETLBTEXT's text back across processes, but it does
    // WM_GETTEXT's, which a drop-down list answers with its selected entry: select each
    // in turn, then put the selection back.
    std::vector<std::string> entries;
    const int selection = ComboSelection(combo);
    DWORD_PTR count = 0;
    SendMessageTimeoutA(combo, CB_GETCOUNT, 0, 0, SMTO_NORMAL, 5000, &count);
    for (DWORD_PTR i = 0; i < count && i < 64; ++i) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(combo, CB_SETCURSEL, i, 0, SMTO_NORMAL, 5000, &result);
        char text[128] = {};
        SendMessageTimeoutA(combo, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                            &result);
        entries.emplace_back(text);
    }
    DWORD_PTR result = 0;
    SendMessageTimeoutA(combo, CB_SETCURSEL, static_cast<WPARAM>(selection), 0, SMTO_NORMAL, 5000, &result);
    return entries;
}

void ClearStoredSettings()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, kCompanyKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, kCompanyKey);
}

void StoreSetting(const char* name, DWORD value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

void StoreAllSettings(const DWORD (&values)[9])
{
    for (int i = 0; i < 9; ++i)
        StoreSetting(kSettingNames[i], values[i]);
}

StoredSettings ReadStoredSettings()
{
    StoredSettings settings;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return settings;
    for (DWORD index = 0;; ++index) {
        char name[256] = {};
        DWORD nameLength = sizeof name;
        unsigned char data[256] = {};
        DWORD dataLength = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS)
            break;
        settings[std::string(name, nameLength)] = StoredValue{type, std::vector<unsigned char>(data, data + dataLength)};
    }
    RegCloseKey(key);
    return settings;
}

std::optional<DWORD> StoredDword(const StoredSettings& settings, const char* name)
{
    const auto found = settings.find(name);
    if (found == settings.end() || found->second.type != REG_DWORD || found->second.data.size() != 4)
        return std::nullopt;
    DWORD value = 0;
    std::memcpy(&value, found->second.data.data(), 4);
    return value;
}

ProgramResources::ProgramResources()
    : m_module(LoadLibraryExA(SaverPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE))
{
}

ProgramResources::~ProgramResources()
{
    if (m_module)
        FreeLibrary(m_module);
}

std::vector<unsigned char> ProgramResources::Raw(int id, const char* type) const
{
    if (!m_module)
        return {};
    const HRSRC info = FindResourceA(m_module, MAKEINTRESOURCEA(id), type);
    if (!info)
        return {};
    const HGLOBAL handle = LoadResource(m_module, info);
    const auto* data = static_cast<const unsigned char*>(LockResource(handle));
    if (!data)
        return {};
    return std::vector<unsigned char>(data, data + SizeofResource(m_module, info));
}

namespace {
Picture ReadDc(HDC source, int x, int y, int width, int height)
{
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(static_cast<std::size_t>(width) * height, 0);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HDC memory = CreateCompatibleDC(source);
    const HBITMAP section = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush();
    std::memcpy(picture.pixels.data(), bits, picture.pixels.size() * 4);
    SelectObject(memory, old);
    DeleteObject(section);
    DeleteDC(memory);
    return picture;
}
} // namespace

Picture CaptureScreen(const RECT& rect)
{
    const HDC screen = GetDC(nullptr);
    Picture picture = ReadDc(screen, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    ReleaseDC(nullptr, screen);
    return picture;
}

Picture StretchedBitmap(const ProgramResources& program, int id, int width, int height)
{
    const auto bitmap = static_cast<HBITMAP>(
        LoadImageA(program.Module(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, width, height, LR_DEFAULTCOLOR));
    if (!bitmap)
        return Picture{};
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    Picture picture = ReadDc(memory, 0, 0, width, height);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return picture;
}

double MatchingShare(const Picture& a, const Picture& b, const RECT& area)
{
    long matching = 0;
    long total = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (x < 0 || y < 0 || x >= a.width || y >= a.height || x >= b.width || y >= b.height)
                continue;
            ++total;
            if (a.At(x, y) == b.At(x, y))
                ++matching;
        }
    }
    return total ? static_cast<double>(matching) / total : 0.0;
}

bool SaveBmp(const Picture& picture, const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const int rowBytes = (picture.width * 3 + 3) & ~3;
    BITMAPFILEHEADER header{};
    BITMAPINFOHEADER info{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + static_cast<DWORD>(rowBytes) * picture.height;
    info.biSize = sizeof info;
    info.biWidth = picture.width;
    info.biHeight = picture.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::fwrite(&header, sizeof header, 1, file);
    std::fwrite(&info, sizeof info, 1, file);
    std::vector<unsigned char> row(static_cast<std::size_t>(rowBytes), 0);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t pixel = picture.At(x, y);
            row[x * 3 + 0] = static_cast<unsigned char>(pixel);
            row[x * 3 + 1] = static_cast<unsigned char>(pixel >> 8);
            row[x * 3 + 2] = static_cast<unsigned char>(pixel >> 16);
        }
        std::fwrite(row.data(), 1, row.size(), file);
    }
    return std::fclose(file) == 0;
}

DialogFont::DialogFont(int dpi)
    : dc(CreateCompatibleDC(nullptr)),
      font(CreateFontA(-MulDiv(8, dpi, 72), 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                       PROOF_QUALITY, FF_DONTCARE, "MS Sans Serif")),
      previous(SelectObject(dc, font)), baseX(0), baseY(0), lineHeight(0)
{
    // The system's own rule for a dialog font's base units.
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE size{};
    GetTextExtentPoint32A(dc, alphabet, 52, &size);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    baseX = (size.cx / 26 + 1) / 2;
    baseY = metrics.tmHeight;
    lineHeight = metrics.tmHeight;
}

DialogFont::~DialogFont()
{
    SelectObject(dc, previous);
    DeleteObject(font);
    DeleteDC(dc);
}

SIZE DialogFont::TextExtent(const std::string& line) const
{
    SIZE size{};
    GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size);
    return size;
}

RECT DialogFont::ToPixels(const RECT& units) const
{
    return RECT{MulDiv(units.left, baseX, 4), MulDiv(units.top, baseY, 8), MulDiv(units.right, baseX, 4),
                MulDiv(units.bottom, baseY, 8)};
}

void SetLogPixels(DWORD dpi)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    if (dpi)
        RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    else
        RegDeleteValueA(key, "LogPixels");
    RegCloseKey(key);
}

std::optional<DWORD> ReadLogPixels()
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", RRF_RT_REG_DWORD, nullptr, &value,
                     &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}
