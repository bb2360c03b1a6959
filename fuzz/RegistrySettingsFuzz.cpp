// What a registry query means as a setting, over any outcome: a result code, a type,
// and data of any length, the system filling the four-byte buffer as it does (longer
// data: "more data" and nothing read). The setting is exactly the four bytes when there
// are four, and missing otherwise.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz/Require.h"
#include "platform/RegistryValue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::uint32_t type = data[0];
    const std::size_t length = size - 2;
    long result = data[1] & 1 ? 2 /* no such value */ : kRegistryQuerySucceeded;
    unsigned char buffer[kRegistryBufferSize] = {0xcc, 0xcc, 0xcc, 0xcc};
    if (result == kRegistryQuerySucceeded && length > kRegistryBufferSize)
        result = 234; // more data
    else if (result == kRegistryQuerySucceeded)
        std::memcpy(buffer, data + 2, length);
    const auto setting = SettingFromRegistryQuery(result, type, buffer, static_cast<std::uint32_t>(length));
    const bool four = result == kRegistryQuerySucceeded && length == 4;
    std::int32_t stored = 0;
    std::memcpy(&stored, data + 2, four ? 4 : 0); // the machines here are little-endian
    Require(setting.has_value() == four && (!four || *setting == stored));
    return 0;
}
