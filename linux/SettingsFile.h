#pragma once
// The Linux saver's profile store: an INI-style text file, one per program name, in a
// folder named like the Windows program's registry key:
//     $XDG_CONFIG_HOME/Quenmoor Soft./<program name>/settings.ini   (default ~/.config)
// holding the section and values the registry would:
//     [Arcveil3D]
//     Width=640
// The file is read once, when the store is made; reading never writes. Each write
// replaces the whole file atomically (a temporary file in the same folder, flushed, then
// renamed over the old one), so a crash leaves the old file or the new one, never half.
// A missing file is a first run: no values, no message. Anything that cannot be read (a
// line that is neither a section, a NAME=VALUE pair, a comment nor blank; a value that
// is not a 32-bit integer; an unreadable file) gives the caller's default and one warning
// on the warning stream, however many problems the file has.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/ProfileStore.h"

class CFileProfileStore : public IProfileStore {
public:
    CFileProfileStore(std::string path, std::ostream& warnings);

    std::int32_t GetProfileInt(const char* section, const char* entry, std::int32_t fallback) override;
    bool WriteProfileInt(const char* section, const char* entry, std::int32_t value) override;

    const std::string& Path() const { return m_path; }
    // Writes refused since the store was made (the folder or the file could not be written).
    int FailedWrites() const { return m_failedWrites; }

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries; // name, raw value, in file order
    };

    void Load();
    void Warn(const std::string& problem);
    std::string* FindValue(const std::string& section, const std::string& entry);
    std::string Serialise() const;
    bool ReplaceFile(const std::string& contents) const;

    std::string m_path;
    std::ostream& m_warnings;
    bool m_warned = false;
    int m_failedWrites = 0;
    std::vector<Section> m_sections;
};

// The settings file for a program name. xdgConfigHome is used when it is an absolute
// path (the XDG rule), home + "/.config" otherwise; null when neither is usable.
std::optional<std::string> SettingsFilePath(const char* xdgConfigHome, const char* home, const std::string& programName);

// The program's name as the Windows program derives its registry key from it: the file
// name without its folder and without the extension after its last '.'.
std::string ProgramNameFromPath(const std::string& argv0);
