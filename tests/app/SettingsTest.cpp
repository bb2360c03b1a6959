#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "app/Settings.h"
#include "platform/MemoryProfileStore.h"

TEST_CASE("first run reads the defaults")
{
    MemoryProfileStore store;
    SettingsRecord settings;
    ReadSettings(store, settings);
    CHECK(settings.Width == 640);
    CHECK(settings.Height == 480);
    CHECK(settings.Depth == 16);
    CHECK(settings.Desktop == 0);
    CHECK(settings.Sounds == 1);
    CHECK(settings.Cross == 1);
    CHECK(settings.Hieroglyphs == 1);
    CHECK(settings.Rain == 1);
    CHECK(settings.HighQuality == 1);
    CHECK(store.Reads() == std::vector<std::string>{"Width", "Height", "Depth", "Desktop", "Sounds", "Cross",
                                                    "Hieroglyphs", "Rain", "HighQuality"});
}

TEST_CASE("stored values win, a deleted value falls back to its own default only")
{
    MemoryProfileStore store;
    SettingsRecord written;
    written.Width = 1024;
    written.Height = 768;
    written.Depth = 32;
    written.Desktop = 1;
    written.Sounds = 0;
    written.Cross = 0;
    written.Hieroglyphs = 0;
    written.Rain = 0;
    written.HighQuality = 0;
    WriteSettings(store, written);
    store.Erase(kSettingsSection, "Height");

    SettingsRecord settings;
    ReadSettings(store, settings);
    CHECK(settings.Width == 1024);
    CHECK(settings.Height == 480);
    CHECK(settings.Depth == 32);
    CHECK(settings.Desktop == 1);
    CHECK(settings.Rain == 0);
    CHECK(settings.HighQuality == 0);
}

TEST_CASE("saving writes all nine values in order even when one write is refused")
{
    MemoryProfileStore store;
    store.RefuseWrites("Depth");
    SettingsRecord settings = DefaultSettings();
    settings.Width = 1234; // no range check: the display decides
    WriteSettings(store, settings);
    REQUIRE(store.Writes().size() == kSettingCount);
    CHECK(store.Writes().front().first == "Width");
    CHECK(store.Writes().front().second == 1234);
    CHECK(store.Writes().back().first == "HighQuality");
    CHECK_FALSE(store.Value(kSettingsSection, "Depth").has_value());
    CHECK(store.Value(kSettingsSection, "HighQuality") == 1);
}

TEST_CASE("settings are found by their exact names")
{
    REQUIRE(FindSettingDescriptor("HighQuality") != nullptr);
    CHECK(FindSettingDescriptor("HighQuality")->defaultValue == 1);
    CHECK(FindSettingDescriptor("highquality") == nullptr);
    CHECK(FindSettingDescriptor("") == nullptr);
}
