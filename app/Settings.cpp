#include "app/Settings.h"

#include <cstring>

SettingsRecord G_Settings;

const SettingDescriptor kSettingDescriptors[kSettingCount] = {
    {"Width", &SettingsRecord::Width, 640},
    {"Height", &SettingsRecord::Height, 480},
    {"Depth", &SettingsRecord::Depth, 16},
    {"Desktop", &SettingsRecord::Desktop, 0},
    {"Sounds", &SettingsRecord::Sounds, 1},
    {"Cross", &SettingsRecord::Cross, 1},
    {"Hieroglyphs", &SettingsRecord::Hieroglyphs, 1},
    {"Rain", &SettingsRecord::Rain, 1},
    {"HighQuality", &SettingsRecord::HighQuality, 1},
};

const SettingDescriptor* FindSettingDescriptor(const char* name)
{
    for (const auto& descriptor : kSettingDescriptors) {
        if (std::strcmp(descriptor.name, name) == 0)
            return &descriptor;
    }
    return nullptr;
}

SettingsRecord DefaultSettings()
{
    SettingsRecord settings;
    for (const auto& descriptor : kSettingDescriptors)
        settings.*descriptor.field = descriptor.defaultValue;
    return settings;
}

void ReadSettings(IProfileStore& store, SettingsRecord& settings)
{
    for (const auto& descriptor : kSettingDescriptors)
        settings.*descriptor.field = store.GetProfileInt(kSettingsSection, descriptor.name, descriptor.defaultValue);
}

void WriteSettings(IProfileStore& store, const SettingsRecord& settings)
{
    for (const auto& descriptor : kSettingDescriptors)
        store.WriteProfileInt(kSettingsSection, descriptor.name, settings.*descriptor.field);
}
