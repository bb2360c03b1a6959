// The settings dialog as a user meets it: how it is asked for, what it shows from the
// stored settings, and what OK and Cancel leave in the registry.
#include <doctest/doctest.h>

#include <string>

#include "tests/e2e/DialogDriver_Win32.h"

namespace {
constexpr int kModeList = 1008;
constexpr int kDesktop = 1010;
constexpr int kSounds = 1011;
constexpr int kCross = 1012;
constexpr int kHieroglyphs = 1013;
constexpr int kRain = 1014;
constexpr int kHighQuality = 1019;

// A dialog started with arguments, found on the screen.
struct OpenDialog {
    explicit OpenDialog(const std::string& arguments) : process(arguments)
    {
        REQUIRE(process.Started());
        dialog = WaitForDialog(process);
        REQUIRE(dialog != nullptr);
    }
    HWND Item(int id) const { return GetDlgItem(dialog, id); }
    int SelectedMode() const { return ComboSelection(Item(kModeList)); }
    // Presses the button and waits for the program to end; its exit code.
    DWORD CloseWith(int button)
    {
        Click(Item(button));
        const auto code = process.WaitForExit(20000);
        REQUIRE(code.has_value());
        return *code;
    }
    SaverProcess process;
    HWND dialog = nullptr;
};

void CheckStoredMode(DWORD width, DWORD height, DWORD depth)
{
    const StoredSettings stored = ReadStoredSettings();
    CHECK(StoredDword(stored, "Width") == width);
    CHECK(StoredDword(stored, "Height") == height);
    CHECK(StoredDword(stored, "Depth") == depth);
}
} // namespace

TEST_CASE("no argument, /c, /C, c and /c:1234 all open the settings dialog, without an owner")
{
    for (const char* arguments : {"", "/c", "/C", "c", "/c:1234"}) {
        INFO(arguments);
        ClearStoredSettings();
        OpenDialog open(arguments);
        CHECK(WindowText(open.dialog) == kDialogCaption);
        CHECK(GetWindow(open.dialog, GW_OWNER) == nullptr);
        CHECK(GetParent(open.dialog) == nullptr);
        CHECK(open.CloseWith(IDCANCEL) == 0);
        // Cancel: not one value written.
        CHECK(ReadStoredSettings().empty());
    }
}

TEST_CASE("the mode list reads the six modes in order and selects the stored one")
{
    ClearStoredSettings();
    SUBCASE("a stored mode of the list selects its entry, and OK keeps it")
    {
        StoreSetting("Width", 1024);
        StoreSetting("Height", 768);
        StoreSetting("Depth", 32);
        OpenDialog open("/c");
        CHECK(ComboEntries(open.Item(kModeList)) ==
              std::vector<std::string>{"640x480x16", "640x480x32", "800x600x16", "800x600x32", "1024x768x16",
                                       "1024x768x32"});
        CHECK(open.SelectedMode() == 5);
        CHECK(IsWindowEnabled(open.Item(kModeList)));
        CHECK(open.CloseWith(IDOK) == 0);
        CheckStoredMode(1024, 768, 32);
    }
    SUBCASE("a stored mode outside the list selects the first entry, and OK stores it")
    {
        StoreSetting("Width", 1280);
        StoreSetting("Height", 1024);
        StoreSetting("Depth", 16);
        OpenDialog open("/c");
        CHECK(open.SelectedMode() == 0);
        CHECK(open.CloseWith(IDOK) == 0);
        CheckStoredMode(640, 480, 16);
    }
    SUBCASE("the entry the user picks is stored on OK")
    {
        OpenDialog open("");
        CHECK(open.SelectedMode() == 0);
        SelectComboEntry(open.dialog, open.Item(kModeList), 3);
        CHECK(open.CloseWith(IDOK) == 0);
        CheckStoredMode(800, 600, 32);
    }
}

TEST_CASE("Use desktop settings disables the mode list while it is checked, and the mode is still stored")
{
    ClearStoredSettings();
    StoreSetting("Desktop", 1);
    StoreSetting("Width", 800);
    StoreSetting("Height", 600);
    StoreSetting("Depth", 16);
    OpenDialog open("/c");
    CHECK(CheckState(open.Item(kDesktop)) == BST_CHECKED);
    CHECK_FALSE(IsWindowEnabled(open.Item(kModeList)));
    CHECK(open.SelectedMode() == 2);

    Click(open.Item(kDesktop));
    CHECK(CheckState(open.Item(kDesktop)) == BST_UNCHECKED);
    CHECK(IsWindowEnabled(open.Item(kModeList)));
    SelectComboEntry(open.dialog, open.Item(kModeList), 4);

    Click(open.Item(kDesktop));
    CHECK(CheckState(open.Item(kDesktop)) == BST_CHECKED);
    CHECK_FALSE(IsWindowEnabled(open.Item(kModeList)));

    CHECK(open.CloseWith(IDOK) == 0);
    const StoredSettings stored = ReadStoredSettings();
    CHECK(StoredDword(stored, "Desktop") == 1u);
    // Taken from the disabled list all the same.
    CheckStoredMode(1024, 768, 16);
}

TEST_CASE("each check box writes its own setting when clicked")
{
    struct Box {
        int id;
        const char* setting;
        DWORD stored;
    };
    // A mixture, so that both directions are clicked.
    const Box boxes[] = {{kSounds, "Sounds", 1},  {kCross, "Cross", 0},      {kHieroglyphs, "Hieroglyphs", 1},
                         {kRain, "Rain", 0},       {kHighQuality, "HighQuality", 1}, {kDesktop, "Desktop", 0}};
    ClearStoredSettings();
    for (const Box& box : boxes)
        StoreSetting(box.setting, box.stored);

    SUBCASE("once: every setting turns over")
    {
        OpenDialog open("/c");
        for (const Box& box : boxes) {
            INFO(box.setting);
            CHECK(CheckState(open.Item(box.id)) == static_cast<int>(box.stored));
            Click(open.Item(box.id));
            CHECK(CheckState(open.Item(box.id)) == static_cast<int>(1 - box.stored));
        }
        CHECK(open.CloseWith(IDOK) == 0);
        const StoredSettings stored = ReadStoredSettings();
        for (const Box& box : boxes) {
            INFO(box.setting);
            CHECK(StoredDword(stored, box.setting) == 1 - box.stored);
        }
    }
    SUBCASE("twice: every setting is back where it was")
    {
        OpenDialog open("/c");
        for (const Box& box : boxes) {
            Click(open.Item(box.id));
            Click(open.Item(box.id));
        }
        CHECK(open.CloseWith(IDOK) == 0);
        const StoredSettings stored = ReadStoredSettings();
        for (const Box& box : boxes) {
            INFO(box.setting);
            CHECK(StoredDword(stored, box.setting) == box.stored);
        }
    }
}

TEST_CASE("OK with nothing touched writes all nine values as they were")
{
    ClearStoredSettings();
    SUBCASE("nothing stored yet: the nine defaults appear")
    {
        OpenDialog open("");
        CHECK(open.CloseWith(IDOK) == 0);
        const StoredSettings stored = ReadStoredSettings();
        CHECK(stored.size() == 9);
        const DWORD defaults[9] = {640, 480, 16, 0, 1, 1, 1, 1, 1};
        for (int i = 0; i < 9; ++i) {
            INFO(kSettingNames[i]);
            CHECK(StoredDword(stored, kSettingNames[i]) == defaults[i]);
        }
    }
    SUBCASE("stored values: the same values again")
    {
        const DWORD values[9] = {800, 600, 16, 0, 0, 1, 0, 1, 0};
        StoreAllSettings(values);
        const StoredSettings before = ReadStoredSettings();
        OpenDialog open("/c");
        CHECK(open.CloseWith(IDOK) == 0);
        CHECK(ReadStoredSettings() == before);
    }
}

TEST_CASE("Cancel after changes leaves every stored value as it was")
{
    ClearStoredSettings();
    const DWORD values[9] = {1024, 768, 32, 1, 1, 0, 1, 0, 1};
    StoreAllSettings(values);
    // A value the program does not know stays too.
    StoreSetting("Unrelated", 7);
    const StoredSettings before = ReadStoredSettings();

    OpenDialog open("/c");
    for (int id : {kDesktop, kSounds, kCross, kHieroglyphs, kRain, kHighQuality})
        Click(open.Item(id));
    SelectComboEntry(open.dialog, open.Item(kModeList), 1);
    CHECK(open.CloseWith(IDCANCEL) == 0);

    const StoredSettings after = ReadStoredSettings();
    CHECK(after.size() == before.size());
    for (const auto& [name, value] : before) {
        CAPTURE(name);
        REQUIRE(after.count(name) == 1);
        CHECK(after.at(name) == value);
    }
}
