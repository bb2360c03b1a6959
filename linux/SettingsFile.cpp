#include "linux/SettingsFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "app/Settings.h"

namespace {

std::string TrimBlanks(const std::string& text)
{
    const char* blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    const std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

// mkdir -p, private to the user like the rest of ~/.config.
bool MakeFolders(const std::string& folder)
{
    if (folder.empty())
        return true;
    struct stat info {};
    if (stat(folder.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode);
    const std::size_t slash = folder.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(folder.substr(0, slash)))
        return false;
    return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

} // namespace

CFileProfileStore::CFileProfileStore(std::string path, std::ostream& warnings)
    : m_path(std::move(path)), m_warnings(warnings)
{
    Load();
}

void CFileProfileStore::Warn(const std::string& problem)
{
    if (m_warned)
        return;
    m_warned = true;
    m_warnings << "arcveil3d: warning: " << m_path << ": " << problem
               << "; the defaults stand for what cannot be read" << std::endl;
}

void CFileProfileStore::Load()
{
    struct stat info {};
    if (stat(m_path.c_str(), &info) != 0) {
        if (errno != ENOENT)
            Warn(std::string("cannot be read (") + std::strerror(errno) + ")");
        return;
    }
    std::ifstream file(m_path, std::ios::binary);
    if (!S_ISREG(info.st_mode) || !file) {
        Warn("cannot be read");
        return;
    }
    std::string line;
    int number = 0;
    Section* current = nullptr;
    while (std::getline(file, line)) {
        ++number;
        const std::string text = TrimBlanks(line);
        if (text.empty() || text[0] == '#' || text[0] == ';')
            continue;
        if (text.front() == '[' && text.back() == ']') {
            m_sections.push_back({TrimBlanks(text.substr(1, text.size() - 2)), {}});
            current = &m_sections.back();
            continue;
        }
        const std::size_t equals = text.find('=');
        if (equals == std::string::npos || equals == 0 || current == nullptr) {
            Warn("line " + std::to_string(number) + " is not understood");
            continue;
        }
        current->entries.emplace_back(TrimBlanks(text.substr(0, equals)), TrimBlanks(text.substr(equals + 1)));
    }
    if (file.bad())
        Warn("reading failed");
}

std::string* CFileProfileStore::FindValue(const std::string& section, const std::string& entry)
{
    // The last occurrence wins, as when a file is read top to bottom into a table.
    std::string* found = nullptr;
    for (auto& s : m_sections) {
        if (s.name != section)
            continue;
        for (auto& e : s.entries) {
            if (e.first == entry)
                found = &e.second;
        }
    }
    return found;
}

std::int32_t CFileProfileStore::GetProfileInt(const char* section, const char* entry, std::int32_t fallback)
{
    const std::string* raw = FindValue(section, entry);
    if (raw == nullptr)
        return fallback;
    const auto value = ParseSettingValue(*raw);
    if (!value) {
        Warn(std::string(entry) + "=" + *raw + " is not an integer");
        return fallback;
    }
    return *value;
}

std::string CFileProfileStore::Serialise() const
{
    std::ostringstream out;
    out << "# Arcveil 3D settings: integers, as the Windows program keeps them in the registry.\n";
    for (const auto& section : m_sections) {
        out << "[" << section.name << "]\n";
        for (const auto& entry : section.entries)
            out << entry.first << "=" << entry.second << "\n";
    }
    return out.str();
}

bool CFileProfileStore::ReplaceFile(const std::string& contents) const
{
    const std::size_t slash = m_path.find_last_of('/');
    if (slash != std::string::npos && !MakeFolders(m_path.substr(0, slash)))
        return false;
    std::string temporary = m_path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return false;
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < contents.size()) {
        const ssize_t n = write(fd, contents.data() + done, contents.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            done += static_cast<std::size_t>(n);
    }
    // The data must be on disk before the name points at it.
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && std::rename(temporary.c_str(), m_path.c_str()) == 0;
    if (!ok)
        unlink(temporary.c_str());
    return ok;
}

bool CFileProfileStore::WriteProfileInt(const char* section, const char* entry, std::int32_t value)
{
    const std::string text = std::to_string(value);
    if (std::string* raw = FindValue(section, entry)) {
        *raw = text;
    } else {
        Section* target = nullptr;
        for (auto& s : m_sections) {
            if (s.name == section)
                target = &s;
        }
        if (target == nullptr) {
            m_sections.push_back({section, {}});
            target = &m_sections.back();
        }
        target->entries.emplace_back(entry, text);
    }
    if (ReplaceFile(Serialise()))
        return true;
    ++m_failedWrites;
    return false;
}

std::optional<std::string> SettingsFilePath(const char* xdgConfigHome, const char* home, const std::string& programName)
{
    std::string base;
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/')
        base = xdgConfigHome;
    else if (home != nullptr && home[0] == '/')
        base = std::string(home) + "/.config";
    else
        return std::nullopt;
    return base + "/" + kSettingsCompanyKey + "/" + programName + "/settings.ini";
}

std::string ProgramNameFromPath(const std::string& argv0)
{
    std::string name = argv0.substr(argv0.find_last_of('/') == std::string::npos ? 0 : argv0.find_last_of('/') + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    return name.empty() ? std::string("arcveil3d") : name;
}
