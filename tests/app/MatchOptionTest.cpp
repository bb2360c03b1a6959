#include <doctest/doctest.h>

#include "app/MatchOption.h"

TEST_CASE("the host's options are recognised by one letter after one prefix")
{
    CHECK(MatchOption("/s", 's'));
    CHECK(MatchOption("-S", 's'));
    CHECK(MatchOption("s", 's'));
    CHECK(MatchOption("/save", 's'));
    CHECK(MatchOption(" p", 'p'));
    CHECK(MatchOption("/c:1234", 'c'));
    CHECK(MatchOption("/C", 'c'));
    CHECK(MatchOption("c", 'C'));
}

TEST_CASE("anything else matches nothing")
{
    CHECK_FALSE(MatchOption("--s", 's'));
    CHECK_FALSE(MatchOption("//s", 's'));
    CHECK_FALSE(MatchOption("", 's'));
    CHECK_FALSE(MatchOption("-", 's'));
    CHECK_FALSE(MatchOption("/", 'c'));
    CHECK_FALSE(MatchOption(nullptr, 's'));
    CHECK_FALSE(MatchOption("/x", 's'));
    CHECK_FALSE(MatchOption("\xd3", 's')); // a byte outside ASCII never folds onto a letter
}
