#include "platform/RegistryValue.h"

std::optional<std::int32_t> SettingFromRegistryQuery(long queryResult, std::uint32_t /*type*/,
                                                     const unsigned char* buffer, std::uint32_t size)
{
    if (queryResult != kRegistryQuerySucceeded || buffer == nullptr || size != kRegistryBufferSize)
        return std::nullopt;
    // Assembled byte by byte: the stored order is little-endian on every platform.
    const std::uint32_t bits = static_cast<std::uint32_t>(buffer[0]) | static_cast<std::uint32_t>(buffer[1]) << 8 |
                               static_cast<std::uint32_t>(buffer[2]) << 16 |
                               static_cast<std::uint32_t>(buffer[3]) << 24;
    return static_cast<std::int32_t>(bits);
}
