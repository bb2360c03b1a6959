#include "platform/MemoryProfileStore.h"

std::int32_t MemoryProfileStore::GetProfileInt(const char* section, const char* entry, std::int32_t fallback)
{
    m_reads.emplace_back(entry);
    const auto found = m_values.find({section, entry});
    return found == m_values.end() ? fallback : found->second;
}

bool MemoryProfileStore::WriteProfileInt(const char* section, const char* entry, std::int32_t value)
{
    m_writes.emplace_back(entry, value);
    if (m_refused.count(entry))
        return false;
    m_values[{section, entry}] = value;
    return true;
}

std::optional<std::int32_t> MemoryProfileStore::Value(const std::string& section, const std::string& entry) const
{
    const auto found = m_values.find({section, entry});
    if (found == m_values.end())
        return std::nullopt;
    return found->second;
}

void MemoryProfileStore::Erase(const std::string& section, const std::string& entry)
{
    m_values.erase({section, entry});
}
