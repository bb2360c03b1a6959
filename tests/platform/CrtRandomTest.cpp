#include <doctest/doctest.h>

#include "platform/CrtRandom.h"

TEST_CASE("the generator reproduces the C runtime's sequence")
{
    CrtSrand(1);
    CHECK(CrtRand() == 41);
    CHECK(CrtRand() == 18467);
    CHECK(CrtRand() == 6334);
    CHECK(CrtRand() == 26500);
    CHECK(CrtRand() == 19169);

    SUBCASE("reseeding starts the same sequence again")
    {
        CrtSrand(1);
        CHECK(CrtRand() == 41);
    }
    SUBCASE("different seeds give different scenes, and values stay in 0..32767")
    {
        CrtSrand(12345);
        const int a = CrtRand();
        CrtSrand(12346);
        const int b = CrtRand();
        CHECK(a != b);
        CrtSrand(0xffffffffu);
        for (int i = 0; i < 10000; ++i) {
            const int value = CrtRand();
            REQUIRE(value >= 0);
            REQUIRE(value <= kCrtRandMax);
        }
    }
}
