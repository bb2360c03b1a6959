#pragma once
// Random seam: the C runtime's linear congruential generator, reimplemented so that a
// seed gives the same scene on every platform and compiler.
//   state = state * 214013 + 2531011 (mod 2^32); result = (state >> 16) & 0x7fff
// Process-wide, like the runtime's own; the program uses it from one thread only.
#include <cstdint>

constexpr int kCrtRandMax = 0x7fff;

void CrtSrand(std::uint32_t seed);
int CrtRand();
