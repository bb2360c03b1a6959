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

// A line of the file as a warning quotes it: short, printable, on one line.
std::string Quote(std::string text)
{
    if (text.size() > 40)
        text = text.substr(0, 37) + "...";
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7f)
            c = '?';
    }
    return "'" + text + "'";
}

// mkdir -p, private to the user like the rest of ~/.config.
bool MakeFolders(const std::string& folder)
{
    if (folder.empty())
        return true;
    struct stat info {};
    if (stat(folder.c_str(), &info) == 0) {
        errno = ENOTDIR;
        return S_ISDIR(info.st_mode);
    }
    const std::size_t slash = folder.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(folder.substr(0, slash)))
        return false;
    return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

} // namespace

CFileProfileStore::CFileProfileStore(std::string path) : m_path(std::move(path))
{
    Load();
}

void CFileProfileStore::NoteProblem(int line, const std::string& problem)
{
    // Each line is named once, with the first thing wrong with it.
    m_problems.emplace(line, problem);
}

void CFileProfileStore::Load()
{
    struct stat info {};
    if (stat(m_path.c_str(), &info) != 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            NoteProblem(0, std::string("cannot be read (") + std::strerror(errno) + ")");
        return;
    }
    std::ifstream file(m_path, std::ios::binary);
    if (!S_ISREG(info.st_mode) || !file) {
        NoteProblem(0, "cannot be read");
        return;
    }
    std::string line;
    Section* current = nullptr;
    while (std::getline(file, line)) {
        m_lines.push_back(line);
        const int number = static_cast<int>(m_lines.size());
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
            NoteProblem(number, "is not NAME=VALUE under a [section]");
            continue;
        }
        current->entries.push_back({TrimBlanks(text.substr(0, equals)), TrimBlanks(text.substr(equals + 1)), number});
    }
    if (file.bad())
        NoteProblem(0, "could not be read to the end");
}

CFileProfileStore::Entry* CFileProfileStore::Find(const std::string& section, const std::string& entry)
{
    // The last occurrence wins, as when a file is read top to bottom into a table.
    Entry* found = nullptr;
    for (auto& s : m_sections) {
        if (s.name != section)
            continue;
        for (auto& e : s.entries) {
            if (e.name == entry)
                found = &e;
        }
    }
    return found;
}

std::int32_t CFileProfileStore::GetProfileInt(const char* section, const char* entry, std::int32_t fallback)
{
    const Entry* found = Find(section, entry);
    if (found == nullptr)
        return fallback;
    const auto value = ParseSettingValue(found->value);
    if (!value) {
        NoteProblem(found->line, "is not a whole number");
        return fallback;
    }
    return *value;
}

void CFileProfileStore::Refuse(const char* section, const char* entry, const std::string& reason)
{
    if (const Entry* found = Find(section, entry))
        NoteProblem(found->line, reason);
}

std::string CFileProfileStore::WarningLine() const
{
    if (m_problems.empty())
        return std::string();
    std::string text = "arcveil3d: warning: " + m_path + ":";
    const char* separator = " ";
    for (const auto& [line, problem] : m_problems) {
        text += separator;
        if (line > 0)
            text += "line " + std::to_string(line) + " " + Quote(TrimBlanks(m_lines[line - 1])) + " ";
        text += problem;
        separator = "; ";
    }
    return text + "; the defaults stand for what cannot be read\n";
}

bool CFileProfileStore::WriteProfileInt(const char* section, const char* entry, std::int32_t value)
{
    const std::string text = std::to_string(value);
    if (Entry* found = Find(section, entry)) {
        found->value = text;
        return true;
    }
    Section* target = nullptr;
    for (auto& s : m_sections) {
        if (s.name == section)
            target = &s;
    }
    if (target == nullptr) {
        m_sections.push_back({section, {}});
        target = &m_sections.back();
    }
    target->entries.push_back({entry, text, 0});
    return true;
}

std::string CFileProfileStore::Serialise() const
{
    std::ostringstream out;
    out << "# Arcveil 3D settings: integers, as the Windows program keeps them in the registry.\n";
    for (const auto& section : m_sections) {
        out << "[" << section.name << "]\n";
        for (const auto& entry : section.entries)
            out << entry.name << "=" << entry.value << "\n";
    }
    return out.str();
}

bool CFileProfileStore::Commit()
{
    m_commitError = WriteFileAtomically(m_path, Serialise());
    return m_commitError.empty();
}

std::string WriteFileAtomically(const std::string& path, const std::string& contents)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && !MakeFolders(path.substr(0, slash)))
        return std::strerror(errno);
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return std::strerror(errno);
    int error = 0;
    std::size_t done = 0;
    while (error == 0 && done < contents.size()) {
        const ssize_t n = write(fd, contents.data() + done, contents.size() - done);
        if (n < 0 && errno != EINTR)
            error = errno;
        else if (n > 0)
            done += static_cast<std::size_t>(n);
    }
    // The data must be on disk before the name points at it.
    if (error == 0 && fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error == 0)
        return std::string();
    unlink(temporary.c_str());
    return std::strerror(error);
}
