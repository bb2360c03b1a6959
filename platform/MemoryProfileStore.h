#pragma once
// An in-memory profile store for tests: values can be removed or refused one by one.
#include "platform/ProfileStore.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

class MemoryProfileStore : public IProfileStore {
public:
    std::int32_t GetProfileInt(const char* section, const char* entry, std::int32_t fallback) override;
    bool WriteProfileInt(const char* section, const char* entry, std::int32_t value) override;

    std::optional<std::int32_t> Value(const std::string& section, const std::string& entry) const;
    void Erase(const std::string& section, const std::string& entry);
    void RefuseWrites(const std::string& entry) { m_refused.insert(entry); }

    // Every write in order, refused ones included, as (entry, value).
    const std::vector<std::pair<std::string, std::int32_t>>& Writes() const { return m_writes; }
    const std::vector<std::string>& Reads() const { return m_reads; }

private:
    std::map<std::pair<std::string, std::string>, std::int32_t> m_values;
    std::set<std::string> m_refused;
    std::vector<std::pair<std::string, std::int32_t>> m_writes;
    std::vector<std::string> m_reads;
};
