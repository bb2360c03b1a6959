#pragma once
// A property a fuzz target checks on every input: a broken one aborts, and libFuzzer
// keeps the input that broke it.
#include <cstdlib>

inline void Require(bool condition)
{
    if (!condition)
        std::abort();
}
