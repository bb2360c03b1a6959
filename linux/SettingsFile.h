#pragma once
// The Linux saver's profile store: an INI-style text file holding the section and
// values the Windows registry would:
//     [Arcveil3D]
//     Width=640
// The file is read once, when the store is made. Writes change the store's copy only;
// Commit replaces the whole file once, atomically (WriteFileAtomically), so that a
// crash leaves the old file or the new one, never half of it. A missing file (or
// folder) is a first run: no values, no problem. What cannot be read (a line that is
// neither a section, NAME=VALUE, a comment nor blank; a value that is not a 32-bit
// whole number; a value the caller refuses; an unreadable file) gives the caller's
// fallback, and each bad line is named once in one warning line (WarningLine).
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/ProfileStore.h"

class CFileProfileStore : public IProfileStore {
public:
    explicit CFileProfileStore(std::string path);

    std::int32_t GetProfileInt(const char* section, const char* entry, std::int32_t fallback) override;
    // Always accepted; the file changes at Commit.
    bool WriteProfileInt(const char* section, const char* entry, std::int32_t value) override;

    // The caller will not use the entry's value, for the reason given ("is outside 0 to 1").
    void Refuse(const char* section, const char* entry, const std::string& reason);
    // "arcveil3d: warning: PATH: line 3 'Cross=zero' is not a whole number; ...", with
    // its newline; empty when everything could be read.
    std::string WarningLine() const;

    // Writes the file; false when it could not be, with the reason in CommitError.
    bool Commit();
    const std::string& CommitError() const { return m_commitError; }
    const std::string& Path() const { return m_path; }

private:
    struct Entry {
        std::string name;
        std::string value;
        int line; // 0: written since the file was read
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries; // in file order
    };

    void Load();
    void NoteProblem(int line, const std::string& problem);
    Entry* Find(const std::string& section, const std::string& entry);
    std::string Serialise() const;

    std::string m_path;
    std::vector<Section> m_sections;
    std::vector<std::string> m_lines;       // the file as read, for naming bad lines
    std::map<int, std::string> m_problems;  // by line; line 0 is the file as a whole
    std::string m_commitError;
};

// Replaces path's contents through a temporary file in the same folder, synced, then
// renamed over it, making the folders it needs (private to the user). Empty when done,
// else the reason (strerror's text); nothing is left behind on failure.
std::string WriteFileAtomically(const std::string& path, const std::string& contents);
