#include "platform/CrtRandom.h"

namespace {
// The runtime starts as if seeded with 1.
std::uint32_t g_crtRandState = 1;
} // namespace

void CrtSrand(std::uint32_t seed)
{
    g_crtRandState = seed;
}

int CrtRand()
{
    g_crtRandState = g_crtRandState * 214013u + 2531011u;
    return static_cast<int>((g_crtRandState >> 16) & kCrtRandMax);
}
