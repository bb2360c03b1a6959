// The seams' portable rules: the C runtime's generator, and what one registry query
// means as a setting.
#include <doctest/doctest.h>

#include "platform/CrtRandom.h"
#include "platform/RegistryValue.h"

TEST_CASE("the generator gives the C runtime's sequence, again after each reseeding")
{
    for (int pass = 0; pass < 2; ++pass) {
        CrtSrand(1);
        for (int expected : {41, 18467, 6334, 26500, 19169})
            CHECK(CrtRand() == expected);
    }
}

TEST_CASE("a registry query is a setting only when it read exactly four bytes, little-endian")
{
    constexpr long kMoreData = 234, kNotFound = 2;
    const unsigned char bytes[4] = {0xa0, 0x86, 0x01, 0x80};
    const struct {
        long result;
        std::uint32_t type, size;
        const unsigned char* data;
        bool setting;
    } rows[] = {
        {kRegistryQuerySucceeded, 4, 4, bytes, true},  {kRegistryQuerySucceeded, 1, 4, bytes, true},
        {kRegistryQuerySucceeded, 1, 3, bytes, false}, {kRegistryQuerySucceeded, 3, 0, bytes, false},
        {kMoreData, 3, 8, bytes, false},               {kNotFound, 4, 4, bytes, false},
        {kRegistryQuerySucceeded, 3, 5, bytes, false}, // success claimed for more than the buffer
        {kRegistryQuerySucceeded, 4, 4, nullptr, false},
    };
    for (const auto& row : rows) {
        CAPTURE(row.size);
        const auto setting = SettingFromRegistryQuery(row.result, row.type, row.data, row.size);
        REQUIRE(setting.has_value() == row.setting);
        if (setting)
            CHECK(*setting == static_cast<std::int32_t>(0x800186a0u));
    }
}
