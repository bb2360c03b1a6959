#include <doctest/doctest.h>

#include <cstring>
#include <string>

#include "app/CSaverApp_Win32.h"
#include "app/Settings.h"
#include "platform/RegistryProfileStore_Win32.h"

namespace {
constexpr const char* kCompany = "Arcveil Registry Test";

void DeleteCompanyTree()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kCompany).c_str());
}

struct CleanRegistry {
    CleanRegistry() { DeleteCompanyTree(); }
    ~CleanRegistry() { DeleteCompanyTree(); }
};

HKEY OpenKey(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

void SetRaw(const std::string& path, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = OpenKey(path);
    REQUIRE(key != nullptr);
    REQUIRE(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS);
    RegCloseKey(key);
}

DWORD ValueCount(const std::string& path)
{
    HKEY key = OpenKey(path);
    REQUIRE(key != nullptr);
    DWORD values = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    return values;
}
} // namespace

TEST_CASE("the first read creates the whole key path, without values, and gives the defaults")
{
    CleanRegistry clean;
    CRegistryProfileStore store(kCompany, "Arcveil3D");
    const std::string section = store.SectionPath(kSettingsSection);
    CHECK(section == std::string("Software\\") + kCompany + "\\Arcveil3D\\Arcveil3D");
    CHECK(OpenKey(section) == nullptr);

    SettingsRecord settings;
    ReadSettings(store, settings);
    CHECK(settings.Width == 640);
    CHECK(settings.Height == 480);
    CHECK(settings.Depth == 16);
    CHECK(settings.Desktop == 0);
    CHECK(settings.Sounds == 1);
    CHECK(settings.HighQuality == 1);
    REQUIRE(OpenKey(section) != nullptr);
    CHECK(ValueCount(section) == 0);
}

TEST_CASE("all nine values are written as four-byte REG_DWORDs and read back; a deleted one takes its default")
{
    CleanRegistry clean;
    CRegistryProfileStore store(kCompany, "Arcveil3D");
    const std::string section = store.SectionPath(kSettingsSection);
    SettingsRecord written;
    written.Width = 1024;
    written.Height = 768;
    written.Depth = 32;
    written.Desktop = 1;
    written.Sounds = 0;
    written.Cross = 0;
    written.Hieroglyphs = 0;
    written.Rain = 0;
    written.HighQuality = -7; // nothing checks ranges
    WriteSettings(store, written);
    CHECK(ValueCount(section) == 9);

    HKEY key = OpenKey(section);
    REQUIRE(key != nullptr);
    for (const auto& descriptor : kSettingDescriptors) {
        DWORD type = 0;
        DWORD data = 0;
        DWORD size = sizeof data;
        CHECK(RegQueryValueExA(key, descriptor.name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) ==
              ERROR_SUCCESS);
        CHECK(type == REG_DWORD);
        CHECK(size == 4);
        CHECK(static_cast<std::int32_t>(data) == written.*descriptor.field);
    }
    RegDeleteValueA(key, "Height");
    RegCloseKey(key);

    SettingsRecord read;
    ReadSettings(store, read);
    CHECK(read.Width == 1024);
    CHECK(read.Height == 480);
    CHECK(read.Depth == 32);
    CHECK(read.Desktop == 1);
    CHECK(read.Sounds == 0);
    CHECK(read.HighQuality == -7);
}

TEST_CASE("the data decides, not the type: exactly four bytes are the value, anything else is missing")
{
    CleanRegistry clean;
    CRegistryProfileStore store(kCompany, "Arcveil3D");
    const std::string section = store.SectionPath(kSettingsSection);
    store.GetProfileInt(kSettingsSection, "Width", 0); // creates the key

    SUBCASE("four bytes of binary data")
    {
        const unsigned char bytes[4] = {0x00, 0x04, 0x00, 0x00};
        SetRaw(section, "Width", REG_BINARY, bytes, 4);
        CHECK(store.GetProfileInt(kSettingsSection, "Width", 640) == 1024);
    }
    SUBCASE("a REG_SZ of three characters and its terminator")
    {
        SetRaw(section, "Width", REG_SZ, "abc", 4);
        CHECK(store.GetProfileInt(kSettingsSection, "Width", 640) == 0x00636261);
    }
    SUBCASE("a REG_SZ of one character: the system fills two of the four bytes")
    {
        SetRaw(section, "Width", REG_SZ, "7", 2);
        CHECK(store.GetProfileInt(kSettingsSection, "Width", 640) == 640);
        CHECK(store.GetProfileInt(kSettingsSection, "Width", -1) == -1);
    }
    SUBCASE("three bytes of binary data")
    {
        const unsigned char bytes[3] = {1, 2, 3};
        SetRaw(section, "Width", REG_BINARY, bytes, 3);
        CHECK(store.GetProfileInt(kSettingsSection, "Width", 640) == 640);
    }
    SUBCASE("no data at all")
    {
        SetRaw(section, "Width", REG_BINARY, "", 0);
        CHECK(store.GetProfileInt(kSettingsSection, "Width", 640) == 640);
    }
    SUBCASE("a longer REG_SZ")
    {
        SetRaw(section, "Width", REG_SZ, "1024", 5);
        CHECK(store.GetProfileInt(kSettingsSection, "Width", 640) == 640);
    }
    SUBCASE("a REG_QWORD")
    {
        const unsigned long long wide = 1024;
        SetRaw(section, "Width", REG_QWORD, &wide, 8);
        CHECK(store.GetProfileInt(kSettingsSection, "Width", 640) == 640);
    }
}

TEST_CASE("two application names keep two separate sets of settings")
{
    CleanRegistry clean;
    CRegistryProfileStore first(kCompany, "Arcveil3D");
    CRegistryProfileStore second(kCompany, "Arcveil3D Copy");
    CHECK(first.WriteProfileInt(kSettingsSection, "Desktop", 1));
    CHECK(first.GetProfileInt(kSettingsSection, "Desktop", 0) == 1);
    CHECK(second.GetProfileInt(kSettingsSection, "Desktop", 0) == 0);
    CHECK(OpenKey(second.SectionPath(kSettingsSection)) != nullptr);
}

TEST_CASE("the application loads and saves G_Settings under its own file name")
{
    const std::string root = "Software\\Quenmoor Soft.\\platform_registry_tests";
    RegDeleteTreeA(HKEY_CURRENT_USER, root.c_str());
    CSaverApp app;
    CHECK(app.AppName() == "platform_registry_tests");
    app.SetRegistryKey(kSettingsCompanyKey);

    G_Settings = SettingsRecord{};
    app.LoadSettings();
    CHECK(G_Settings.Width == 640);
    CHECK(G_Settings.Rain == 1);
    CHECK(ValueCount(root + "\\Arcveil3D") == 0);

    G_Settings.Depth = 32;
    G_Settings.Rain = 0;
    app.SaveSettings();
    CHECK(ValueCount(root + "\\Arcveil3D") == 9);
    G_Settings = SettingsRecord{};
    app.LoadSettings();
    CHECK(G_Settings.Depth == 32);
    CHECK(G_Settings.Rain == 0);
    CHECK(G_Settings.Cross == 1);
    RegDeleteTreeA(HKEY_CURRENT_USER, root.c_str());
    G_Settings = SettingsRecord{};
}
