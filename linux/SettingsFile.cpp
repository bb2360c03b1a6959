#include "linux/SettingsFile.h"

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

// The warning names this many bad lines, then counts the rest.
constexpr std::size_t kNamedProblems = 5;
constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

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
    const FileBytes file = ReadSmallFile(m_path);
    if (!file.problem.empty()) {
        NoteProblem(0, file.problem);
        m_readError = file.reason;
    }
    Parse(file.bytes);
}

void CFileProfileStore::Parse(const std::string& bytes)
{
    std::string section;
    bool inSection = false;
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t newline = bytes.find('\n', start);
        if (newline == std::string::npos)
            newline = bytes.size();
        Line line {bytes.substr(start, newline - start), newline < bytes.size() ? "\n" : ""};
        start = newline + 1;
        if (!line.end.empty() && !line.text.empty() && line.text.back() == '\r') {
            line.text.pop_back();
            line.end = "\r\n";
        }
        m_lines.push_back(line);
        const std::size_t index = m_lines.size() - 1;
        const int number = static_cast<int>(m_lines.size());
        // Editors on other systems start a UTF-8 file with a byte-order mark.
        const auto [first, last] = TrimmedRange(line.text, index == 0 && line.text.rfind(kByteOrderMark, 0) == 0 ? 3 : 0);
        const std::string text = line.text.substr(first, last - first);
        if (text.empty() || text[0] == '#' || text[0] == ';')
            continue;
        if (text.front() == '[' && text.back() == ']') {
            section = TrimBlanks(text.substr(1, text.size() - 2));
            inSection = true;
            m_sectionEnd[section] = index;
            continue;
        }
        const std::size_t equals = text.find('=');
        if (equals == std::string::npos || equals == 0 || !inSection) {
            NoteProblem(number, "is not NAME=VALUE under a [section]");
            continue;
        }
        const auto [valueStart, valueEnd] = TrimmedRange(line.text.substr(0, last), first + equals + 1);
        m_entries.push_back({section, TrimBlanks(text.substr(0, equals)), index, valueStart, valueEnd});
        m_sectionEnd[section] = index;
    }
}

CFileProfileStore::Entry* CFileProfileStore::Find(const std::string& section, const std::string& entry)
{
    // The last occurrence wins, as when a file is read top to bottom into a table.
    Entry* found = nullptr;
    for (auto& e : m_entries) {
        if (e.section == section && e.name == entry)
            found = &e;
    }
    return found;
}

std::int32_t CFileProfileStore::GetProfileInt(const char* section, const char* entry, std::int32_t fallback)
{
    const Entry* found = Find(section, entry);
    if (found == nullptr)
        return fallback;
    const std::string& text = m_lines[found->line].text;
    const auto value = ParseSettingValue(text.substr(found->valueStart, found->valueEnd - found->valueStart));
    if (!value) {
        NoteProblem(static_cast<int>(found->line) + 1, "is not a whole number");
        return fallback;
    }
    return *value;
}

void CFileProfileStore::Refuse(const char* section, const char* entry, const std::string& reason)
{
    if (const Entry* found = Find(section, entry))
        NoteProblem(static_cast<int>(found->line) + 1, reason);
}

std::string CFileProfileStore::WarningLine() const
{
    if (m_problems.empty())
        return std::string();
    std::string text = "arcveil3d: warning: " + m_path + ":";
    const char* separator = " ";
    std::size_t named = 0;
    for (const auto& [line, problem] : m_problems) {
        if (named++ == kNamedProblems) {
            text += separator + std::string("and ") + std::to_string(m_problems.size() - kNamedProblems) + " more";
            break;
        }
        text += separator;
        if (line > 0)
            text += "line " + std::to_string(line) + " " + Quote(TrimBlanks(m_lines[line - 1].text)) + " ";
        text += problem;
        separator = "; ";
    }
    return text + "; the defaults stand for what cannot be read\n";
}

bool CFileProfileStore::WriteProfileInt(const char* section, const char* entry, std::int32_t value)
{
    const std::string text = std::to_string(value);
    if (Entry* found = Find(section, entry)) {
        std::string& line = m_lines[found->line].text;
        // Only the value's bytes change; the other entries on later lines keep theirs.
        line.replace(found->valueStart, found->valueEnd - found->valueStart, text);
        found->valueEnd = found->valueStart + text.size();
        return true;
    }
    for (auto& addition : m_additions) {
        if (addition.section == section && addition.name == entry) {
            addition.value = text;
            return true;
        }
    }
    m_additions.push_back({section, entry, text});
    return true;
}

std::string CFileProfileStore::Serialise() const
{
    // New lines end as the file's first line does.
    const std::string end = !m_lines.empty() && !m_lines.front().end.empty() ? m_lines.front().end : "\n";
    const auto addTo = [this, &end](std::string& out, const std::string& section) {
        for (const auto& addition : m_additions) {
            if (addition.section != section)
                continue;
            // A last line without its end gets one only when something follows it.
            if (!out.empty() && out.back() != '\n')
                out += end;
            out += addition.name + "=" + addition.value + end;
        }
    };
    std::string out;
    if (m_lines.empty())
        out = "# Arcveil 3D settings: integers, as the Windows program keeps them in the registry." + end;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        out += m_lines[i].text + m_lines[i].end;
        for (const auto& [section, last] : m_sectionEnd) {
            if (last == i)
                addTo(out, section);
        }
    }
    std::map<std::string, bool> added;
    for (const auto& addition : m_additions) {
        if (m_sectionEnd.count(addition.section) != 0 || added[addition.section])
            continue;
        added[addition.section] = true;
        out += (!out.empty() && out.back() != '\n' ? end : "") + "[" + addition.section + "]" + end;
        addTo(out, addition.section);
    }
    return out;
}

bool CFileProfileStore::Commit()
{
    // What could not be read is the user's still: it is never replaced.
    m_commitError = Unreadable() ? m_readError : WriteFileAtomically(m_path, Serialise());
    return m_commitError.empty();
}
