#pragma once
// A resource table for one test: installs itself as the resources seam and puts the
// platform's lookup back when it goes.
#include "platform/Resources.h"

#include <map>
#include <vector>

class TestResources {
public:
    TestResources()
    {
        SetResourceLookup([this](int id) -> std::optional<ResourceBytes> {
            const auto found = m_table.find(id);
            if (found == m_table.end())
                return std::nullopt;
            return ResourceBytes{found->second.data(), found->second.size()};
        });
    }
    ~TestResources() { SetResourceLookup({}); }
    TestResources(const TestResources&) = delete;
    TestResources& operator=(const TestResources&) = delete;

    void Add(int id, std::vector<unsigned char> bytes) { m_table[id] = std::move(bytes); }

private:
    std::map<int, std::vector<unsigned char>> m_table;
};
