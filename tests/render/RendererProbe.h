#pragma once
// Test access to the renderer's private steps, and a clock and generator that tests set.
#include <cstdint>

#include "render/CGLDrawer.h"

struct CGLDrawerProbe {
    static void LightningUpdate(CGLDrawer& drawer) { drawer._LightningUpdate(); }
    static void FlashUpdate(CGLDrawer& drawer) { drawer._FlashUpdate(); }
    static std::int32_t MyRand(CGLDrawer& drawer) { return drawer._MyRand(); }
    static void AdvanceTime(CGLDrawer& drawer) { drawer._AdvanceTime(); }
};

// The clock seam reads this value while a TestClock lives.
class TestClock {
public:
    explicit TestClock(std::uint32_t startMs = 0);
    ~TestClock();
    TestClock(const TestClock&) = delete;
    TestClock& operator=(const TestClock&) = delete;

    void Set(std::uint32_t ms) { m_now = ms; }
    // Wraps like the real clock.
    void Advance(std::uint32_t ms) { m_now += ms; }
    std::uint32_t Now() const { return m_now; }

private:
    std::uint32_t m_now;
};

// The C runtime generator, independently: the value the n-th call after a seed returns.
class ReferenceRand {
public:
    explicit ReferenceRand(std::uint32_t seed) : m_state(seed) {}
    int Next()
    {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & 0x7fff);
    }

private:
    std::uint32_t m_state;
};

// How many values the generator has handed out since CrtSrand(seed), found by matching
// the next three values against the reference sequence (up to `limit`).
// Draws three values from the generator.
long CountDrawsSince(std::uint32_t seed, long limit = 200000);
