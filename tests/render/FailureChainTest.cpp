#include <doctest/doctest.h>

#include <string>

#include "app/CallChain.h"
#include "render/SceneArrays.h"
#include "tests/render/SceneFixture.h"

namespace {

int Count(const std::string& text, const std::string& part)
{
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

TEST_CASE("failures while drawing name every operation they leave")
{
    SUBCASE("in a bolt: every level of the recursion, outermost first")
    {
        SceneFixture scene(false, false, false);
        scene.drawer->m_bolts[0] = BoltRecord{{0, 0, 20}, {0, 0, 0}, {0.05f, 0.05f, 0.05f}};
        g_boltFlash[0] = 1;
        for (std::int32_t& value : scene.drawer->m_randRing)
            value = 50; // straight halves, no glow, no branch
        g_callChain.clear();
        // The sky, 19 cloud strips, 19 ground strips and the band come first.
        rgl::FailAtCall("glBegin", 1 + 19 + 19 + 1 + 1);
        CHECK_THROWS_AS(scene.drawer->Draw(), int);
        const std::string chain = g_callChain;
        INFO(chain);
        CHECK(chain.rfind("CGLDrawer::Draw() -> CGLDrawer::DrawGeometry() -> CGLDrawer::ElectricBolt() -> ", 0) == 0);
        // The first piece drawn is at the bottom of the lower halves' recursion: a bolt of
        // length 20 halves to below 0.5 in 6 steps, so 7 levels of ElectricBolt.
        CHECK(Count(chain, "CGLDrawer::ElectricBolt()") == 7);
        CHECK(chain.find("LongSprite") == std::string::npos);
        CHECK(chain.substr(chain.size() - 2) == "()");
        rgl::FailAtCall(nullptr, 0);
        rgl::Reset();
    }
    SUBCASE("while loading a picture during set-up")
    {
        SceneFixture scene(true, true, true, false);
        g_callChain.clear();
        rgl::FailAtCall("glTexImage2D", 2);
        CHECK_THROWS_AS(scene.drawer->Init(), int);
        CHECK(g_callChain == "CGLDrawer::Init() -> LoadTGAResource()");
        rgl::FailAtCall(nullptr, 0);
    }
}
