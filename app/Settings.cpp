#include "app/Settings.h"

#include <cstdint>
#include <cstring>

SettingsRecord G_Settings;

const SettingDescriptor kSettingDescriptors[kSettingCount] = {
    {"Width", &SettingsRecord::Width, 640, 1, kMaxPictureSide},
    {"Height", &SettingsRecord::Height, 480, 1, kMaxPictureSide},
    {"Depth", &SettingsRecord::Depth, 16, 8, 32}, // bits per pixel
    {"Desktop", &SettingsRecord::Desktop, 0, 0, 1},
    {"Sounds", &SettingsRecord::Sounds, 1, 0, 1},
    {"Cross", &SettingsRecord::Cross, 1, 0, 1},
    {"Hieroglyphs", &SettingsRecord::Hieroglyphs, 1, 0, 1},
    {"Rain", &SettingsRecord::Rain, 1, 0, 1},
    {"HighQuality", &SettingsRecord::HighQuality, 1, 0, 1},
};

const SettingDescriptor kGentleDescriptor = {"Gentle", &SettingsRecord::Gentle, 0, 0, 1};

const SettingDescriptor* FindSettingDescriptor(const char* name)
{
    for (const auto& descriptor : kSettingDescriptors) {
        if (std::strcmp(descriptor.name, name) == 0)
            return &descriptor;
    }
    return std::strcmp(kGentleDescriptor.name, name) == 0 ? &kGentleDescriptor : nullptr;
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

std::pair<std::size_t, std::size_t> TrimmedRange(const std::string& text, std::size_t from)
{
    const char* blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks, from);
    if (first == std::string::npos)
        return {text.size(), text.size()};
    return {first, text.find_last_not_of(blanks) + 1};
}

std::string TrimBlanks(const std::string& text)
{
    const auto [first, last] = TrimmedRange(text);
    return text.substr(first, last - first);
}

std::optional<std::int64_t> ParseWholeNumber(const std::string& text, std::int64_t low, std::int64_t high)
{
    const std::string trimmed = TrimBlanks(text);
    if (trimmed.empty())
        return std::nullopt;
    const bool negative = trimmed[0] == '-';
    std::size_t i = trimmed[0] == '-' || trimmed[0] == '+' ? 1 : 0;
    if (i == trimmed.size())
        return std::nullopt;
    std::int64_t magnitude = 0;
    for (; i < trimmed.size(); ++i) {
        if (trimmed[i] < '0' || trimmed[i] > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (trimmed[i] - '0');
        // Far beyond any range asked for, and far from overflowing.
        if (magnitude > 1000000000000000LL)
            return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> ParseSettingValue(const std::string& text)
{
    const auto value = ParseWholeNumber(text, INT32_MIN, INT32_MAX);
    if (!value)
        return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

void ApplySettingOverrides(SettingsRecord& settings, const std::vector<SettingOverride>& overrides)
{
    for (const auto& change : overrides) {
        if (const SettingDescriptor* descriptor = FindSettingDescriptor(change.name.c_str()))
            settings.*descriptor->field = change.value;
    }
}
