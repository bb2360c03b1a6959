// Drawing a frame allocates no memory: every global allocation is counted while a frame
// is drawn (the stand-in's log is off, so the counts are the renderer's own).
#include <doctest/doctest.h>

// This file replaces the global operators; GCC mistakes the pairing for a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

#include <cstdlib>
#include <new>

#include "render/SceneArrays.h"
#include "tests/render/SceneFixture.h"

namespace {
bool g_counting = false;
long g_allocations = 0;
int* volatile g_sink = nullptr; // keeps the probe allocation from being optimised away
} // namespace

void* operator new(std::size_t size)
{
    if (g_counting)
        ++g_allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size)
{
    return operator new(size);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

TEST_CASE("drawing frames allocates nothing, with every layer on and bolts lit")
{
    SceneFixture scene;
    rgl::SetLogging(false);
    scene.drawer->m_bolts[0] = BoltRecord{{-5, 3, 20}, {-3, 4, 0}, {0.05f, 0.05f, 0.09f}};
    scene.drawer->m_bolts[1] = BoltRecord{{4, -2, 20}, {6, -1, 0}, {0.09f, 0.02f, 0.01f}};
    long allocations = 0;
    for (int frame = 0; frame < 200; ++frame) {
        g_boltFlash[0] = g_boltFlash[1] = 1;
        scene.clock.Advance(frame % 7 == 0 ? 300 : 16); // lightning and flash steps included
        g_allocations = 0;
        g_counting = true;
        scene.drawer->Draw();
        g_counting = false;
        allocations += g_allocations;
    }
    rgl::SetLogging(true);
    CHECK(allocations == 0);
    CHECK(rgl::ErrorCount() == 0);

    // The counter itself works.
    g_allocations = 0;
    g_counting = true;
    g_sink = new int(3);
    g_counting = false;
    delete g_sink;
    CHECK(g_allocations == 1);
}
