#include <doctest/doctest.h>

#include "platform/RegistryValue.h"

namespace {
constexpr long kMoreData = 234;    // ERROR_MORE_DATA
constexpr long kNotFound = 2;      // ERROR_FILE_NOT_FOUND
constexpr std::uint32_t kDword = 4; // REG_DWORD
constexpr std::uint32_t kString = 1;
constexpr std::uint32_t kBinary = 3;
} // namespace

TEST_CASE("four bytes of data are the setting, little-endian, whatever the type")
{
    const unsigned char minusOne[4] = {0xff, 0xff, 0xff, 0xff};
    const unsigned char huge[4] = {0xa0, 0x86, 0x01, 0x00}; // 100000
    const unsigned char text[4] = {'a', 'b', 'c', 0};
    CHECK(SettingFromRegistryQuery(kRegistryQuerySucceeded, kDword, minusOne, 4) == -1);
    CHECK(SettingFromRegistryQuery(kRegistryQuerySucceeded, kDword, huge, 4) == 100000);
    CHECK(SettingFromRegistryQuery(kRegistryQuerySucceeded, kBinary, huge, 4) == 100000);
    CHECK(SettingFromRegistryQuery(kRegistryQuerySucceeded, kString, text, 4) == 0x00636261);
    const unsigned char lowest[4] = {0x00, 0x00, 0x00, 0x80};
    CHECK(SettingFromRegistryQuery(kRegistryQuerySucceeded, 11, lowest, 4) == INT32_MIN);
}

TEST_CASE("failed queries and data of any other size are missing")
{
    const unsigned char bytes[4] = {1, 0, 0, 0};
    CHECK_FALSE(SettingFromRegistryQuery(kNotFound, kDword, bytes, 4));
    CHECK_FALSE(SettingFromRegistryQuery(kMoreData, kBinary, bytes, 8));
    CHECK_FALSE(SettingFromRegistryQuery(kMoreData, kDword, bytes, 4));
    for (std::uint32_t shortSize = 0; shortSize < 4; ++shortSize)
        CHECK_FALSE(SettingFromRegistryQuery(kRegistryQuerySucceeded, kString, bytes, shortSize));
    CHECK_FALSE(SettingFromRegistryQuery(kRegistryQuerySucceeded, kDword, nullptr, 4));
}
