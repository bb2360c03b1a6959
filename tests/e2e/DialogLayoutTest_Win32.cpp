// The settings dialog's template and how it stands on the screen: the controls of the
// table in tab order at their rectangles, the stretched background under transparent
// texts, the title picture in its frame, and a layout that stays whole at 144 DPI.
#include <doctest/doctest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/e2e/DialogDriver_Win32.h"

namespace {
struct ControlExpectation {
    int id;
    const char* className;
    const char* text;
    DWORD style;   // besides WS_CHILD | WS_VISIBLE
    DWORD exStyle; // of WS_EX_STATICEDGE and WS_EX_CLIENTEDGE
    RECT units;    // left, top, width, height
};

constexpr DWORD kEdges = WS_EX_STATICEDGE | WS_EX_CLIENTEDGE;
const char kProductText[] = "Arcveil 3D Screen Saver v 2.0\nQuenmoor Soft. - a night storm in OpenGL";

const ControlExpectation kControls[] = {
    {IDOK, "Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, {180, 166, 60, 15}},
    {IDCANCEL, "Button", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 0, {250, 166, 60, 15}},
    {1006, "Static", "", SS_LEFT, WS_EX_STATICEDGE, {195, 10, 115, 85}},
    {-1, "Button", "", BS_GROUPBOX, 0, {5, 5, 95, 60}},
    {1008, "ComboBox", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, {10, 30, 85, 70}},
    {-1, "Static", "Video Mode", SS_CENTER | SS_CENTERIMAGE | WS_GROUP, 0, {10, 10, 85, 10}},
    {1010, "Button", "Use desktop settings", BS_AUTOCHECKBOX | WS_TABSTOP, 0, {10, 50, 85, 10}},
    {-1, "Button", "", BS_GROUPBOX, 0, {105, 5, 85, 90}},
    {1011, "Button", "Enable sounds", BS_AUTOCHECKBOX | WS_TABSTOP, 0, {110, 30, 75, 10}},
    {1012, "Button", "Enable crosslines", BS_AUTOCHECKBOX | WS_TABSTOP, 0, {110, 45, 75, 10}},
    {1013, "Button", "Enable hieroglyphs", BS_AUTOCHECKBOX | WS_TABSTOP, 0, {110, 60, 78, 10}},
    {1015, "Button", "About", BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP, 0, {250, 105, 60, 20}},
    {1017, "Static", kProductText, SS_CENTER | WS_GROUP, WS_EX_STATICEDGE, {5, 105, 235, 20}},
    {-1, "Button", "", BS_GROUPBOX, 0, {5, 70, 95, 25}},
    {1019, "Button", "High quality rendering", BS_AUTOCHECKBOX | WS_TABSTOP, 0, {10, 80, 88, 10}},
    {-1, "Static", "", SS_BLACKFRAME | SS_SUNKEN, WS_EX_CLIENTEDGE, {5, 156, 305, 1}},
    {1014, "Button", "Enable rain", BS_AUTOCHECKBOX | WS_TABSTOP, 0, {110, 75, 51, 10}},
    {-1, "Static", "Settings", SS_CENTER | SS_CENTERIMAGE | WS_GROUP, 0, {110, 10, 75, 10}},
    {-1, "Static", "", SS_BLACKFRAME | SS_SUNKEN, WS_EX_CLIENTEDGE, {5, 20, 95, 1}},
    {-1, "Static", "", SS_BLACKFRAME | SS_SUNKEN, WS_EX_CLIENTEDGE, {105, 20, 85, 1}},
};
constexpr std::size_t kControlCount = sizeof kControls / sizeof kControls[0];

// The bits that make a control what it is: its kind, tab stop and group start.
DWORD KindBits(const char* className)
{
    if (std::strcmp(className, "Static") == 0)
        return SS_TYPEMASK | SS_CENTERIMAGE | SS_SUNKEN;
    if (std::strcmp(className, "ComboBox") == 0)
        return 0x3 | WS_VSCROLL;
    return BS_TYPEMASK | BS_MULTILINE;
}

DWORD StyleBits(const char* className)
{
    return KindBits(className) | WS_TABSTOP | WS_GROUP;
}

// Reads a DIALOGEX template.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<unsigned char>& bytes) : m_bytes(bytes) {}
    std::uint16_t Word() { return Read<std::uint16_t>(); }
    std::uint32_t Dword() { return Read<std::uint32_t>(); }
    std::int16_t Short() { return Read<std::int16_t>(); }
    // A string or an ordinal (0xFFFF, then the number).
    std::string StringOrOrdinal()
    {
        const std::uint16_t first = Word();
        if (first == 0xFFFF)
            return "#" + std::to_string(Word());
        std::string text;
        for (std::uint16_t c = first; c != 0; c = Word())
            text += static_cast<char>(c);
        return text;
    }
    void AlignDword() { m_offset = (m_offset + 3) & ~std::size_t{3}; }
    void Skip(std::size_t bytes) { m_offset += bytes; }
    bool Overrun() const { return m_offset > m_bytes.size(); }

private:
    template <typename T>
    T Read()
    {
        T value{};
        if (m_offset + sizeof(T) <= m_bytes.size())
            std::memcpy(&value, m_bytes.data() + m_offset, sizeof(T));
        m_offset += sizeof(T);
        return value;
    }
    const std::vector<unsigned char>& m_bytes;
    std::size_t m_offset = 0;
};

std::string ClassFromTemplate(const std::string& name)
{
    if (name == "#128")
        return "Button";
    if (name == "#130")
        return "Static";
    if (name == "#133")
        return "ComboBox";
    return name;
}

bool Contains(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Rectangles that meet in the template may share one row or column of pixels: the
// system converts position and size separately, each rounded.
bool Overlap(const RECT& a, const RECT& b)
{
    RECT both{};
    return IntersectRect(&both, &a, &b) != FALSE && both.right - both.left > 1 && both.bottom - both.top > 1;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

// What the dialog shows at dpi: the controls of the table in order at their
// rectangles, inside the client area, none overlapping another unless a group box
// frames it, and each text with room to stand whole.
void CheckLayout(HWND dialog, int dpi)
{
    const DialogFont font(dpi);
    CAPTURE(dpi);
    MESSAGE("dialog base units at ", dpi, " DPI: ", font.baseX, " x ", font.baseY);
    RECT client{};
    GetClientRect(dialog, &client);
    const RECT expectedClient = font.ToPixels(RECT{0, 0, 317, 191});
    CHECK(client.right == expectedClient.right);
    CHECK(client.bottom == expectedClient.bottom);

    const std::vector<HWND> children = ChildWindows(dialog);
    REQUIRE(children.size() == kControlCount);
    std::vector<RECT> rects;
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlExpectation& expected = kControls[i];
        const HWND child = children[i];
        CAPTURE(i);
        INFO(expected.text);
        CHECK(static_cast<int>(static_cast<short>(GetDlgCtrlID(child))) == expected.id);
        CHECK(ClassName(child) == expected.className);
        CHECK(WindowText(child) == expected.text);
        const DWORD style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
        CHECK((style & (WS_CHILD | WS_VISIBLE)) == (WS_CHILD | WS_VISIBLE));
        // The system moves a drop-down list's scroll bar to the list itself, and gives
        // a sunken static the static edge.
        const bool combo = std::strcmp(expected.className, "ComboBox") == 0;
        CHECK((style & StyleBits(expected.className)) == (combo ? expected.style & ~WS_VSCROLL : expected.style));
        const bool sunken = std::strcmp(expected.className, "Static") == 0 && (expected.style & SS_SUNKEN);
        CHECK((static_cast<DWORD>(GetWindowLongA(child, GWL_EXSTYLE)) & kEdges) ==
              (sunken ? expected.exStyle | WS_EX_STATICEDGE : expected.exStyle));

        const RECT units = expected.units;
        const RECT size = font.ToPixels(units);
        const RECT rect = RectInParent(child);
        CHECK(rect.left == size.left);
        CHECK(rect.top == size.top);
        CHECK(rect.right - rect.left == size.right);
        // A closed drop-down list is one line high; its height is that of the open list.
        if (!combo)
            CHECK(rect.bottom - rect.top == size.bottom);
        CHECK(Contains(client, rect));
        rects.push_back(rect);
    }

    for (std::size_t i = 0; i < kControlCount; ++i) {
        for (std::size_t j = i + 1; j < kControlCount; ++j) {
            if (!Overlap(rects[i], rects[j]))
                continue;
            const bool framed = (kControls[i].style == BS_GROUPBOX && Contains(rects[i], rects[j])) ||
                                (kControls[j].style == BS_GROUPBOX && Contains(rects[j], rects[i]));
            INFO(kControls[i].text);
            INFO(kControls[j].text);
            CHECK_MESSAGE(framed, "controls ", i, " and ", j, " overlap");
        }
    }

    // Room for the texts: a check box's text follows its box and half a digit's width;
    // a button's has a margin on both sides; a static's fits its client area.
    INT digit = 0;
    GetCharWidth32A(font.dc, '0', '0', &digit);
    const int box = 12 * dpi / 96 + 1 + digit / 2;
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlExpectation& expected = kControls[i];
        if (expected.text[0] == '\0')
            continue;
        RECT inside{};
        GetClientRect(children[i], &inside);
        const std::vector<std::string> lines = Lines(expected.text);
        int widest = 0;
        for (const std::string& line : lines)
            widest = std::max(widest, static_cast<int>(font.TextExtent(line).cx));
        int room = inside.right;
        const DWORD kind = expected.style & BS_TYPEMASK;
        if (std::strcmp(expected.className, "Button") == 0)
            room -= kind == BS_AUTOCHECKBOX ? box : 2 * (2 * dpi / 96 + 2);
        INFO(expected.text);
        INFO("text ", widest, " px wide, room ", room, " px");
        // At 96 DPI this Wine's bitmap "MS Sans Serif" is wider than the font the
        // rectangles were made for, and the quality group has no more room: the last
        // letter of its check box is cut there.
        if (dpi == 96 && expected.id == 1019)
            MESSAGE("at 96 DPI \"", expected.text, "\" needs ", widest, " px and has ", room);
        else
            CHECK(widest <= room);
        CHECK(static_cast<int>(lines.size()) * font.lineHeight <= inside.bottom);
    }

    // The longest mode and the list's button.
    const HWND combo = GetDlgItem(dialog, 1008);
    RECT comboClient{};
    GetClientRect(combo, &comboClient);
    CHECK(font.TextExtent("1024x768x32").cx + GetSystemMetrics(SM_CXVSCROLL) * dpi / 96 <= comboClient.right);
}

std::string ShotPath(const char* name)
{
    const std::string folder = ScreenshotFolder();
    return folder.empty() ? std::string() : folder + "\\" + name;
}

void SaveDialogShot(HWND dialog, const char* name)
{
    const std::string path = ShotPath(name);
    if (path.empty())
        return;
    RECT rect{};
    GetWindowRect(dialog, &rect);
    CHECK(SaveBmp(CaptureScreen(rect), path));
    MESSAGE("screenshot: ", path);
}
} // namespace

TEST_CASE("template 102 holds the dialog and exactly the table's controls")
{
    const ProgramResources program;
    const std::vector<unsigned char> bytes = program.Raw(102, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    REQUIRE_FALSE(bytes.empty());
    TemplateReader reader(bytes);
    CHECK(reader.Word() == 1);
    CHECK(reader.Word() == 0xFFFF);
    reader.Dword(); // help id
    CHECK(reader.Dword() == 0u);
    const DWORD style = reader.Dword();
    CHECK(style == (WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
    const std::uint16_t count = reader.Word();
    CHECK(count == kControlCount);
    CHECK(reader.Short() == 0);
    CHECK(reader.Short() == 0);
    CHECK(reader.Short() == 317);
    CHECK(reader.Short() == 191);
    CHECK(reader.StringOrOrdinal() == "");
    CHECK(reader.StringOrOrdinal() == "");
    CHECK(reader.StringOrOrdinal() == kDialogCaption);
    CHECK(reader.Word() == 8);
    reader.Skip(4); // weight, italic, character set
    CHECK(reader.StringOrOrdinal() == "MS Sans Serif");

    for (std::size_t i = 0; i < count && i < kControlCount; ++i) {
        const ControlExpectation& expected = kControls[i];
        CAPTURE(i);
        INFO(expected.text);
        reader.AlignDword();
        reader.Dword(); // help id
        CHECK((reader.Dword() & kEdges) == expected.exStyle);
        const DWORD controlStyle = reader.Dword();
        RECT units{};
        units.left = reader.Short();
        units.top = reader.Short();
        units.right = reader.Short();
        units.bottom = reader.Short();
        CHECK(static_cast<int>(static_cast<std::int32_t>(reader.Dword())) == expected.id);
        // The resource compiler may store a class by name, in capitals, or by number.
        const std::string className = ClassFromTemplate(reader.StringOrOrdinal());
        CHECK(lstrcmpiA(className.c_str(), expected.className) == 0);
        CHECK(reader.StringOrOrdinal() == expected.text);
        reader.Skip(reader.Word());
        CHECK((controlStyle & (WS_CHILD | WS_VISIBLE)) == (WS_CHILD | WS_VISIBLE));
        // Nothing beyond what the table names (WS_CHILD and WS_VISIBLE aside).
        CHECK((controlStyle & ~(WS_CHILD | WS_VISIBLE)) == expected.style);
        CHECK(units.left == expected.units.left);
        CHECK(units.top == expected.units.top);
        CHECK(units.right == expected.units.right);
        CHECK(units.bottom == expected.units.bottom);
    }
    CHECK_FALSE(reader.Overrun());
}

TEST_CASE("the dialog on the screen: controls in tab order, focus on OK, pictures in place")
{
    ClearStoredSettings();
    SaverProcess process("/c");
    const HWND dialog = WaitForDialog(process);
    REQUIRE(dialog != nullptr);
    CheckLayout(dialog, 96);

    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    REQUIRE(GetGUIThreadInfo(process.ThreadId(), &thread));
    CHECK(thread.hwndFocus == GetDlgItem(dialog, IDOK));

    // The title picture: one child of the frame, covering its inside.
    const HWND frame = GetDlgItem(dialog, 1006);
    const std::vector<HWND> pictures = ChildWindows(frame);
    REQUIRE(pictures.size() == 1);
    CHECK(WindowText(pictures[0]) == "Splash");
    RECT frameInside{};
    GetClientRect(frame, &frameInside);
    RECT picture{};
    GetClientRect(pictures[0], &picture);
    CHECK(EqualRect(&picture, &frameInside));
    CHECK(RectInParent(pictures[0]).left == 0);
    CHECK(RectInParent(pictures[0]).top == 0);

    // What the screen shows: bitmap 131 stretched over the client area, seen through
    // the transparent texts, and bitmap 146 stretched over the frame's inside.
    const ProgramResources program;
    RECT client{};
    GetClientRect(dialog, &client);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const Picture shown = CaptureScreen(client);
    const Picture background = StretchedBitmap(program, 131, shown.width, shown.height);
    REQUIRE(background.width == shown.width);
    const DialogFont font(96);
    // Below the product text and above the separator no control stands.
    const RECT open = font.ToPixels(RECT{5, 130, 305, 20});
    CHECK(MatchingShare(shown, background, RECT{open.left, open.top, open.left + open.right, open.top + open.bottom}) >
          0.99);
    // A static text and a check box: their own background is the picture's, between
    // the letters.
    for (int id : {1017, 1011}) {
        CAPTURE(id);
        const HWND control = GetDlgItem(dialog, id);
        RECT inside{};
        GetClientRect(control, &inside);
        MapWindowPoints(control, dialog, reinterpret_cast<POINT*>(&inside), 2);
        CHECK(MatchingShare(shown, background, inside) > 0.6);
    }
    RECT pictureOnScreen{};
    GetClientRect(pictures[0], &pictureOnScreen);
    MapWindowPoints(pictures[0], nullptr, reinterpret_cast<POINT*>(&pictureOnScreen), 2);
    const Picture title = CaptureScreen(pictureOnScreen);
    const Picture stretched = StretchedBitmap(program, 146, title.width, title.height);
    CHECK(MatchingShare(title, stretched, RECT{0, 0, title.width, title.height}) > 0.99);

    SaveDialogShot(dialog, "dialog-96dpi.bmp");
    Click(GetDlgItem(dialog, IDCANCEL));
    CHECK(process.WaitForExit(20000) == DWORD{0});
}

TEST_CASE("at 144 DPI the dialog grows with its font and stays whole and readable")
{
    ClearStoredSettings();
    struct Restore {
        std::optional<DWORD> previous = ReadLogPixels();
        ~Restore() { SetLogPixels(previous.value_or(0)); }
    } restore;
    SetLogPixels(144);
    SaverProcess process("/c");
    const HWND dialog = WaitForDialog(process);
    REQUIRE(dialog != nullptr);
    CheckLayout(dialog, 144);

    // The pictures follow the larger client area.
    const HWND frame = GetDlgItem(dialog, 1006);
    const std::vector<HWND> pictures = ChildWindows(frame);
    REQUIRE(pictures.size() == 1);
    RECT frameInside{};
    GetClientRect(frame, &frameInside);
    RECT picture{};
    GetClientRect(pictures[0], &picture);
    CHECK(EqualRect(&picture, &frameInside));

    RECT window{};
    GetWindowRect(dialog, &window);
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (Contains(screen, window))
        SaveDialogShot(dialog, "dialog-144dpi.bmp");
    else
        MESSAGE("the dialog is larger than this screen: no screenshot");
    Click(GetDlgItem(dialog, IDCANCEL));
    CHECK(process.WaitForExit(20000) == DWORD{0});
}
