#pragma once
// The Linux saver's profile store: an INI-style text file holding the section and
// values the Windows registry would:
//     [Arcveil3D]
//     Width=640
// The file is read once, when the store is made (linux/SafeFile.h: a regular file, not
// too large; a UTF-8 byte-order mark is skipped). Writes change the store's copy only;
// Commit replaces the whole file once, atomically, changing only the values written, in
// place: every other byte (comments, blank lines, other sections and names, lines it
// cannot parse, the line ends) stays as it was. A name that was missing goes at the end
// of its section's last occurrence, a missing section at the end of the file. A missing
// file (or folder) is a first run: no values, no problem. A file that exists but could
// not be read whole is never written. What cannot be read (a line that is neither a
// section, NAME=VALUE, a comment nor blank; a value that is not a 32-bit whole number; a
// value the caller refuses; an unreadable file) gives the caller's fallback, and the
// first few bad lines are named in one warning line (WarningLine).
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "linux/SafeFile.h"
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

    // True when the file exists but could not be read whole: Commit then refuses, and
    // CommitError says why it could not be read.
    bool Unreadable() const { return !m_readError.empty(); }
    // Writes the file; false when it could not be, with the reason in CommitError.
    bool Commit();
    const std::string& CommitError() const { return m_commitError; }
    const std::string& Path() const { return m_path; }

private:
    struct Line {
        std::string text; // without its end
        std::string end;  // "\n", "\r\n", or "" on a last line without one
    };
    struct Entry {
        std::string section;
        std::string name;
        std::size_t line;       // index into m_lines
        std::size_t valueStart; // the value's bytes in the line's text
        std::size_t valueEnd;
    };
    struct Addition {
        std::string section;
        std::string name;
        std::string value;
    };

    void Load();
    void Parse(const std::string& bytes);
    void NoteProblem(int line, const std::string& problem);
    Entry* Find(const std::string& section, const std::string& entry);
    std::string Serialise() const;

    std::string m_path;
    std::vector<Line> m_lines;                       // the file as read
    std::vector<Entry> m_entries;                    // in file order
    std::map<std::string, std::size_t> m_sectionEnd; // its last line (header or entry)
    std::vector<Addition> m_additions;               // names the file lacked, in order
    std::map<int, std::string> m_problems;           // by line; line 0 is the file as a whole
    std::string m_readError;                         // why an existing file could not be read
    std::string m_commitError;
};
