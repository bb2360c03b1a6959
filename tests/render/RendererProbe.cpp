#include "tests/render/RendererProbe.h"

#include "platform/Clock.h"
#include "platform/CrtRandom.h"

TestClock::TestClock(std::uint32_t startMs) : m_now(startMs)
{
    SetClockSource([this] { return m_now; });
}

TestClock::~TestClock()
{
    SetClockSource({});
}

long CountDrawsSince(std::uint32_t seed, long limit)
{
    const int probe[3] = {CrtRand(), CrtRand(), CrtRand()};
    ReferenceRand reference(seed);
    int window[3] = {reference.Next(), reference.Next(), reference.Next()};
    for (long n = 0; n <= limit; ++n) {
        if (window[0] == probe[0] && window[1] == probe[1] && window[2] == probe[2])
            return n;
        window[0] = window[1];
        window[1] = window[2];
        window[2] = reference.Next();
    }
    return -1;
}
