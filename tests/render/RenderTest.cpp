// The renderer on the recording stand-in, where a picture cannot tell. The pictures
// themselves are compared with stored ones by render-cli-test.sh.
#include <doctest/doctest.h>

// This file replaces the global operators; GCC mistakes the pairing for a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/CallChain.h"
#include "app/Settings.h"
#include "platform/Clock.h"
#include "platform/CrtRandom.h"
#include "render/CGLDrawer.h"
#include "render/FrameClock.h"
#include "render/SceneArrays.h"
#include "tests/render/RecordingGL.h"

namespace {
bool g_counting = false;
long g_allocations = 0;
int* volatile g_probe = nullptr; // shows that the count sees an allocation
} // namespace

// Counts allocations while a test asks; otherwise the plain heap.
void* operator new(std::size_t size)
{
    if (g_counting)
        ++g_allocations;
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}
// The no-throw form too (std::stable_sort's buffer), so that every block is freed
// by the heap that gave it.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (g_counting)
        ++g_allocations;
    return std::malloc(size ? size : 1);
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }

namespace {

// A renderer set up on the stand-in with a clock the test drives; layers: a bit per setting.
struct Scene {
    std::uint32_t now = 1000;
    std::unique_ptr<CGLDrawer> drawer = std::make_unique<CGLDrawer>();

    explicit Scene(unsigned layers = 15, std::uint32_t seed = 42)
    {
        rgl::Reset();
        G_Settings = DefaultSettings();
        G_Settings.Rain = layers & 1;
        G_Settings.Hieroglyphs = (layers >> 1) & 1;
        G_Settings.Cross = (layers >> 2) & 1;
        G_Settings.HighQuality = (layers >> 3) & 1;
        G_Settings.Gentle = (layers >> 4) & 1;
        SetClockSource([this] { return now; });
        CrtSrand(seed);
        drawer->Init();
    }
    ~Scene() { SetClockSource({}); }

    void Frame(std::uint32_t ms = 20)
    {
        now += ms;
        drawer->Draw();
    }
};

} // namespace

TEST_CASE("every frame leaves the state as set-up left it and allocates nothing, whatever the layers and the look")
{
    for (unsigned layers = 0; layers < 32; ++layers) {
        CAPTURE(layers);
        Scene scene(layers);
        const unsigned enables = rgl::Enables();
        rgl::SetStrictEnables(true);
        g_allocations = 0;
        g_counting = true;
        for (int frame = 0; frame < 150; ++frame)
            scene.Frame(frame % 5 == 0 ? 160 : 20);
        g_counting = false;
        CHECK(g_allocations == 0);
        CHECK(rgl::FirstError() == "");
        CHECK(rgl::Enables() == enables);
        CHECK((rgl::AttribDepth() == 0 && rgl::MatrixDepth(GL_MODELVIEW) == 1 && rgl::MatrixDepth(GL_PROJECTION) == 1));
        CHECK(rgl::DepthMask());
    }
    // The count does see an allocation.
    g_counting = true;
    g_probe = new int(1);
    g_counting = false;
    delete g_probe;
    CHECK(g_allocations == 1);
}

TEST_CASE("set-up, the lightning and the flashes take the generator's values in their fixed order, in either look")
{
    for (unsigned look : {15u, 31u}) {
        CAPTURE(look);
        Scene scene(look, 42);
        const CGLDrawer& d = *scene.drawer;
        // Seed 42: bolt 0 kept its place far away, bolt 1 struck; rain and glyphs in turn.
        CHECK((d.m_bolts[0].end.y == -1000.0f && d.m_bolts[1].color.z == doctest::Approx(0.003)));
        CHECK((g_rainDrops[0].x == 25.0f && g_rainDrops[999].z == doctest::Approx(10.0)));
        const unsigned char* glyphs = reinterpret_cast<const unsigned char*>(d.m_glyphRows[0]);
        CHECK((glyphs[0] + 256 * glyphs[8] == 63477 && d.m_randRing[1023] == 19942));
        int lit = 0;
        for (int frame = 0; frame < 2000; ++frame) {
            scene.Frame(50);
            lit += g_boltFlash[0] + g_boltFlash[1];
        }
        CHECK(lit == 1153);
        CHECK((d.m_bolts[1].end.x == doctest::Approx(47.9) && CrtRand() == 5109));
    }
}

TEST_CASE("a gentle strike keeps its bolts' shapes through the lightning steps it outlasts")
{
    Scene scene(31);
    const CGLDrawer& d = *scene.drawer;
    int strikeVertices = -1, outlasting = 0;
    for (double lightning = 0.0; d.m_sceneTime < 12.0; lightning = d.m_lightningDone) {
        const int before = rgl::Vertices();
        scene.Frame(20);
        const int vertices = rgl::Vertices() - before;
        if (d.m_boltShow[0].visible + d.m_boltShow[1].visible == 0) {
            strikeVertices = -1;
        } else if (strikeVertices < 0) {
            strikeVertices = vertices;
        } else {
            CHECK(vertices == strikeVertices);
            outlasting += d.m_lightningDone != lightning;
        }
    }
    CHECK(outlasting >= 3);
}

TEST_CASE("a frame's step is the time since the last one, across the clock's wrap, at most 0.1 s; a timer takes "
          "every whole step due, and none when time stands still or runs back; the clouds drift 0.2 repeats a second")
{
    const double wrap = kClockWrapSeconds;
    const struct {
        double previous, now, step;
    } steps[] = {{1.0, 1.02, 0.02}, {1.0, 1.0, 0.0},          {1.0, 9.0, 0.1}, {wrap - 0.01, 0.02, 0.03},
                 {5.0, 1.0, 0.1},   {wrap + 100.0, 1.0, 0.0}, {0.0, NAN, 0.0}, {0.0, 0.1, 0.1}};
    for (const auto& row : steps)
        CHECK(LimitedFrameStep(row.previous, row.now) == doctest::Approx(row.step));
    const struct {
        double clock, done, step;
        std::uint32_t due;
    } timers[] = {{0.34, 0.0, 0.35, 0}, {0.35, 0.0, 0.35, 1},          {1.06, 0.35, 0.35, 2}, {0.1, 0.7, 0.35, 0},
                  {NAN, 0.0, 0.05, 0},  {1e300, 0.0, 0.05, 4294967295u}, {0.31, 0.0, 0.05, 6}};
    for (const auto& row : timers)
        CHECK(DueTimerSteps(row.clock, row.done, row.step) == row.due);
    // Fifty days in, the drift is still a fraction of a repeat, exact to a millionth.
    CHECK(CloudTextureOffset(50 * 86400.0 + 0.25) == doctest::Approx(0.05).epsilon(1e-6));
}

TEST_CASE("a skipped frame goes through time and motion as a drawn one does and draws nothing, so that a run that "
          "skips frames stands where one that drew them does")
{
    // 200 frames of 20 ms, each but the last drawn or skipped: the vertices sent before the
    // last, and where the scene stands after it.
    const auto run = [](bool skip) {
        Scene scene(31);
        for (int frame = 1; frame < 200; ++frame, scene.now += 20)
            skip ? scene.drawer->Skip() : static_cast<void>(scene.drawer->Draw());
        const int vertices = rgl::Vertices();
        scene.Frame(20);
        const CGLDrawer& d = *scene.drawer;
        return std::make_pair(vertices, std::make_tuple(d.m_sceneTime, d.m_glyphScroll, d.m_bolts[1].end.x,
                                                        g_rainDrops[17].z, CrtRand()));
    };
    const auto skipped = run(true), drawn = run(false);
    CHECK((skipped.first == 0 && drawn.first > 0 && skipped.second == drawn.second));
}

TEST_CASE("a failure while drawing names the renderer's operations in the chain")
{
    Scene scene;
    g_callChain.clear();
    rgl::FailAtBegin(1);
    CHECK_THROWS_AS(scene.Frame(), int);
    CHECK(g_callChain == "CGLDrawer::Draw() -> CGLDrawer::DrawGeometry()");
    g_callChain.clear();
}

TEST_CASE("on several monitors a frame advances the time once and shows the same bolts in each view, each through "
          "its own viewport and then in its place, the primary's last; on one it sets no viewport or scissor")
{
    struct Run {
        double sceneTime, glyphScroll;
        float drop;
    };
    const auto run = [](Scene& scene) {
        rgl::SetStrictEnables(true);
        for (int frame = 0; frame < 30; ++frame)
            scene.Frame(frame % 7 == 0 ? 90 : 30);
        return Run{scene.drawer->m_sceneTime, scene.drawer->m_glyphScroll, g_rainDrops[17].z};
    };
    Scene single;
    const Run one = run(single);
    CHECK((rgl::ViewportCalls() == 0 && rgl::ScissorCalls() == 0));

    Scene several;
    const unsigned enables = rgl::Enables();
    several.drawer->SetViews(LayoutViews({{0, 0, 160, 120}, {160, 0, 120, 120}}, 280, 120));
    const Run two = run(several);
    CHECK((two.sceneTime == one.sceneTime && two.glyphScroll == one.glyphScroll && two.drop == one.drop));
    CHECK(rgl::FirstError() == "");
    CHECK(rgl::Enables() == enables);
    int viewport[4], scissor[4];
    rgl::Box(GL_VIEWPORT, viewport);
    rgl::Box(GL_SCISSOR_BOX, scissor);
    CHECK((viewport[2] == 160 && viewport[3] == 120 && scissor[2] == 160 && scissor[3] == 120));
    // The first frame: the other view drawn from the window's top-left and copied to its
    // place, then the primary's, there already; then the viewport put back.
    REQUIRE(rgl::ViewportCalls() >= 4);
    const rgl::ViewportCall &other = rgl::ViewportCallAt(0), &copy = rgl::ViewportCallAt(1),
                            &primary = rgl::ViewportCallAt(2), &back = rgl::ViewportCallAt(3);
    CHECK((other.x == 0 && other.width == 120 && copy.width == 160 && primary.x == 0 && primary.width == 160 &&
           back.width == 160));
    CHECK((other.aspect == doctest::Approx(1.0) && primary.aspect == doctest::Approx(4.0 / 3)));
    CHECK(copy.verticesBefore - other.verticesBefore == back.verticesBefore - primary.verticesBefore);
    // and one a frame for the clear of the primary's box where the other was drawn first.
    CHECK(rgl::ScissorCalls() == rgl::ViewportCalls() + 30);
}
