#pragma once
// The nine settings: one process-wide record, persisted as integers in the profile
// store under section "Arcveil3D". Names, order and defaults are defined here once and
// read by the registry code, the dialog, the Linux saver and the command-line tools.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ProfileStore.h"
#include "resources/ProductInfo.h"

struct SettingsRecord {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t Depth = 0;
    std::int32_t Desktop = 0;
    std::int32_t Sounds = 0;
    std::int32_t Cross = 0;
    std::int32_t Hieroglyphs = 0;
    std::int32_t Rain = 0;
    std::int32_t HighQuality = 0;
    // Not one of the nine: the gentle lightning (render/GentleLight.h), 0 or 1. The Windows
    // program takes it from the system's animation setting and stores it nowhere; the
    // native programs take it from their command lines and the Linux settings file.
    std::int32_t Gentle = 0;
};

// Holds zeros until the settings are loaded at start-up.
extern SettingsRecord G_Settings;

inline constexpr const char* kSettingsCompanyKey = ARCVEIL_COMPANY_NAME;
// The largest width or height, in pixels, of any picture or window the programs make.
inline constexpr std::int32_t kMaxPictureSide = 16384;
inline constexpr const char* kSettingsSection = "Arcveil3D";

struct SettingDescriptor {
    const char* name;
    std::int32_t SettingsRecord::*field;
    std::int32_t defaultValue;
    // The values the native programs accept, from their command lines and the Linux
    // settings file alike; the Windows program reads its registry unchecked.
    std::int32_t low;
    std::int32_t high;
    bool Allows(std::int32_t value) const { return value >= low && value <= high; }
};

// In the order they are read and written.
inline constexpr std::size_t kSettingCount = 9;
extern const SettingDescriptor kSettingDescriptors[kSettingCount];

// The gentle lightning's entry, found by name like the nine, read and written by the
// native programs alone.
extern const SettingDescriptor kGentleDescriptor;

// The descriptor of the named setting, Gentle included (exact, case-sensitive name), or null.
const SettingDescriptor* FindSettingDescriptor(const char* name);

SettingsRecord DefaultSettings();

// Each value from the store, its default where the store has none.
void ReadSettings(IProfileStore& store, SettingsRecord& settings);
// All nine values; a refused write does not stop the others.
void WriteSettings(IProfileStore& store, const SettingsRecord& settings);

// The text without the blanks around it (spaces, tabs, carriage returns, line feeds), as
// every reader of settings and options takes its words.
std::string TrimBlanks(const std::string& text);
// The same rule as a place, for a reader that keeps the text's other bytes: [first, last)
// is what is left of the text from `from` on; both are text.size() when nothing is.
std::pair<std::size_t, std::size_t> TrimmedRange(const std::string& text, std::size_t from = 0);

// A decimal whole number from low to high, with one optional sign and nothing around it
// but blanks; null otherwise.
std::optional<std::int64_t> ParseWholeNumber(const std::string& text, std::int64_t low, std::int64_t high);
// A setting's value as text (the settings file, --set): a whole number of 32 bits.
std::optional<std::int32_t> ParseSettingValue(const std::string& text);

// One setting given by its stored name, as the command line and the settings file name it.
struct SettingOverride {
    std::string name; // one of the nine names, exactly as stored
    std::int32_t value = 0;
};

// Sets each named setting in order, the last of a name winning; names that are not
// settings change nothing.
void ApplySettingOverrides(SettingsRecord& settings, const std::vector<SettingOverride>& overrides);
