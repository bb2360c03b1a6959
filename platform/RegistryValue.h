#pragma once
// What one registry query means as a setting. The registry code asks for a value into
// a four-byte buffer and hands the outcome here:
//  - exactly four bytes of data are the setting, little-endian, whatever the type;
//  - a failed query (no such value, data longer than the buffer, no key) is missing;
//  - data shorter than four bytes is missing too: the system reports success for it
//    (a REG_SZ of one character, say) but fills only part of the buffer.
// A missing setting takes its default.
#include <cstdint>
#include <optional>

inline constexpr std::uint32_t kRegistryBufferSize = 4;
inline constexpr long kRegistryQuerySucceeded = 0; // ERROR_SUCCESS

// `buffer` holds kRegistryBufferSize bytes; `size` is the data size the query reported.
std::optional<std::int32_t> SettingFromRegistryQuery(long queryResult, std::uint32_t type,
                                                     const unsigned char* buffer, std::uint32_t size);
