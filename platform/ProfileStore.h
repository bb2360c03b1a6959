#pragma once
// Profile store seam: integers by section and value name. The Windows program keeps
// them in the registry, the Linux saver in a file, tests in memory.
#include <cstdint>

class IProfileStore {
public:
    virtual ~IProfileStore() = default;
    // The stored value, or fallback when it is missing or cannot be read as an integer.
    virtual std::int32_t GetProfileInt(const char* section, const char* entry, std::int32_t fallback) = 0;
    // False when the value could not be written.
    virtual bool WriteProfileInt(const char* section, const char* entry, std::int32_t value) = 0;
};
