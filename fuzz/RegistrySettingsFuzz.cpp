// The settings reader over arbitrary registry data, through the profile seam. A store
// stands in for the registry: each of the nine values is missing or holds data of any
// type and length, and a query into the four-byte buffer behaves as the system's does
// (longer data: "more data" and nothing read; shorter data: success with part of the
// buffer filled). The settings must come out as the four bytes or the default, never
// anything else; writing them back and reading again keeps every value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/RegistryValue.h"
#include "app/Settings.h"
#include "platform/ProfileStore.h"

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

constexpr long kFileNotFound = 2;
constexpr long kMoreData = 234;
constexpr std::uint32_t kRegDword = 4;

struct RawValue {
    std::uint32_t type = 0;
    std::vector<unsigned char> data;
};

class SimulatedRegistry : public IProfileStore {
public:
    std::map<std::string, RawValue> values;
    bool keyOpens = true;

    std::int32_t GetProfileInt(const char* section, const char* entry, std::int32_t fallback) override
    {
        Require(std::strcmp(section, kSettingsSection) == 0);
        if (!keyOpens)
            return fallback;
        unsigned char buffer[kRegistryBufferSize] = {0xcc, 0xcc, 0xcc, 0xcc};
        std::uint32_t size = kRegistryBufferSize;
        long result = 0;
        std::uint32_t type = 0;
        const auto found = values.find(entry);
        if (found == values.end()) {
            result = kFileNotFound;
        } else {
            type = found->second.type;
            const std::size_t length = found->second.data.size();
            if (length > kRegistryBufferSize) {
                result = kMoreData;
            } else {
                if (length != 0)
                    std::memcpy(buffer, found->second.data.data(), length);
            }
            size = static_cast<std::uint32_t>(length);
        }
        const auto setting = SettingFromRegistryQuery(result, type, buffer, size);
        return setting ? *setting : fallback;
    }

    bool WriteProfileInt(const char* section, const char* entry, std::int32_t value) override
    {
        Require(std::strcmp(section, kSettingsSection) == 0);
        if (!keyOpens)
            return false;
        RawValue raw;
        raw.type = kRegDword;
        raw.data.resize(4);
        const std::uint32_t bits = static_cast<std::uint32_t>(value);
        for (int i = 0; i < 4; ++i)
            raw.data[i] = static_cast<unsigned char>(bits >> (8 * i));
        values[entry] = raw;
        return true;
    }
};

// Bytes handed out in order, zeros once they run out.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    bool Empty() const { return m_at >= m_size; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Reader in(data, size);
    SimulatedRegistry registry;
    registry.keyOpens = (in.Byte() & 0x0f) != 0x0f;
    // Per value: a length byte (255: missing), a type byte, then the data.
    for (const SettingDescriptor& descriptor : kSettingDescriptors) {
        const std::uint8_t length = in.Byte();
        if (length == 255 || in.Empty())
            continue;
        RawValue raw;
        raw.type = in.Byte();
        for (std::uint8_t i = 0; i < length; ++i)
            raw.data.push_back(in.Byte());
        registry.values[descriptor.name] = raw;
    }

    SettingsRecord settings;
    ReadSettings(registry, settings);
    for (const SettingDescriptor& descriptor : kSettingDescriptors) {
        const auto found = registry.values.find(descriptor.name);
        const std::int32_t value = settings.*descriptor.field;
        if (!registry.keyOpens || found == registry.values.end() || found->second.data.size() != 4) {
            Require(value == descriptor.defaultValue);
        } else {
            std::int32_t stored = 0;
            std::memcpy(&stored, found->second.data.data(), 4); // the machines here are little-endian
            Require(value == stored);
        }
    }

    // What is written back reads back unchanged.
    WriteSettings(registry, settings);
    SettingsRecord again;
    ReadSettings(registry, again);
    for (const SettingDescriptor& descriptor : kSettingDescriptors)
        Require(again.*descriptor.field == settings.*descriptor.field);
    return 0;
}
