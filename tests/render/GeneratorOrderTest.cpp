#include <doctest/doctest.h>

#include <set>
#include <vector>

#include "render/SceneArrays.h"
#include "tests/render/SceneFixture.h"

namespace {

// What one lightning step should draw, replayed on the reference generator: the ring,
// then a decision per bolt and its 7 (new strike), 5 (new ground point) or 0 values.
struct ExpectedLightning {
    std::vector<int> ring;
    int decisions[2];
    BoltRecord bolts[2];
    long draws;
};

ExpectedLightning ReplayLightning(ReferenceRand& reference, const BoltRecord (&before)[2])
{
    ExpectedLightning expected{};
    expected.bolts[0] = before[0];
    expected.bolts[1] = before[1];
    for (int i = 0; i < 1024; ++i)
        expected.ring.push_back(reference.Next());
    expected.draws = 1024;
    for (int b = 0; b < 2; ++b) {
        BoltRecord& bolt = expected.bolts[b];
        const int d = reference.Next() & 3;
        expected.decisions[b] = d;
        ++expected.draws;
        if (d == 0) {
            bolt.start.x = static_cast<float>((reference.Next() % 100 * 0.01 - 0.5) * 100);
            bolt.start.y = static_cast<float>((reference.Next() % 100 * 0.01 - 0.5) * 100);
            bolt.start.z = 20.0f;
            expected.draws += 2;
        }
        if (d <= 1) {
            bolt.end.x = static_cast<float>((reference.Next() % 100 * 0.01 - 0.5) * 30 + bolt.start.x);
            bolt.end.y = static_cast<float>((reference.Next() % 100 * 0.01 - 0.5) * 30 + bolt.start.y);
            bolt.end.z = 0.0f;
            bolt.color.x = static_cast<float>(reference.Next() % 100 * 0.001);
            bolt.color.y = static_cast<float>(reference.Next() % 100 * 0.001);
            bolt.color.z = static_cast<float>(reference.Next() % 100 * 0.001);
            expected.draws += 5;
        }
    }
    return expected;
}

void CheckBoltEquals(const BoltRecord& actual, const BoltRecord& expected)
{
    CHECK(actual.start.x == expected.start.x);
    CHECK(actual.start.y == expected.start.y);
    CHECK(actual.start.z == expected.start.z);
    CHECK(actual.end.x == expected.end.x);
    CHECK(actual.end.y == expected.end.y);
    CHECK(actual.end.z == expected.end.z);
    CHECK(actual.color.x == expected.color.x);
    CHECK(actual.color.y == expected.color.y);
    CHECK(actual.color.z == expected.color.z);
}

// The bolt quads of the last frame: textured with the glow, added, no depth writes.
std::vector<rgl::Vertex> BoltVertices(const CGLDrawer& drawer)
{
    std::vector<rgl::Vertex> out;
    for (const rgl::Primitive& p : rgl::Primitives())
        if (p.mode == GL_QUADS && p.texture == drawer.m_texBolt && !p.depthMask)
            for (std::size_t i = 0; i < p.count; ++i)
                out.push_back(rgl::Vertices()[p.first + i]);
    return out;
}

bool SameVertices(const std::vector<rgl::Vertex>& a, const std::vector<rgl::Vertex>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].x != b[i].x || a[i].y != b[i].y || a[i].z != b[i].z || a[i].r != b[i].r || a[i].s != b[i].s)
            return false;
    return true;
}

} // namespace

TEST_CASE("Init draws rain, glyph rows, one lightning and one flash step, in that order")
{
    std::set<int> decisionsSeen;
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        SceneFixture scene(true, true, true, false, seed);
        scene.drawer->Init();

        ReferenceRand reference(seed);
        std::vector<Vec3> drops;
        for (int i = 0; i < 1000; ++i) {
            Vec3 drop;
            drop.x = static_cast<float>((reference.Next() % 100 * 0.01 - 0.5) * 100);
            drop.y = static_cast<float>((reference.Next() % 100 * 0.01 - 0.5) * 100);
            drop.z = static_cast<float>(reference.Next() % 100 * 0.01 * 20);
            drops.push_back(drop);
        }
        std::vector<int> glyphs;
        for (int i = 0; i < 480; ++i)
            glyphs.push_back(reference.Next());
        const BoltRecord parked[2] = {{{0, -1000, 0}, {0, -1000, 0}, {0, 0, 0}},
                                      {{0, -1000, 0}, {0, -1000, 0}, {0, 0, 0}}};
        const ExpectedLightning lightning = ReplayLightning(reference, parked);
        const int flash0 = reference.Next();
        const int flash1 = reference.Next();

        INFO("seed " << seed);
        for (int i = 0; i < 1000; ++i) {
            REQUIRE(g_rainDrops[i].x == drops[i].x);
            REQUIRE(g_rainDrops[i].y == drops[i].y);
            REQUIRE(g_rainDrops[i].z == drops[i].z);
            REQUIRE(g_rainDrops[i].x >= -50.0f);
            REQUIRE(g_rainDrops[i].x <= 49.0f);
            REQUIRE(g_rainDrops[i].z <= 19.8f);
        }
        for (int row = 0; row < 48; ++row) {
            for (int k = 0; k < 9; ++k) {
                const unsigned code = static_cast<unsigned char>(scene.drawer->m_glyphRows[row][k]);
                REQUIRE(code == static_cast<unsigned>(((glyphs[row * 10 + k] & 15) - 20) & 255));
                REQUIRE(code >= 236u);
                REQUIRE(code <= 251u);
            }
            REQUIRE(scene.drawer->m_glyphRows[row][9] == 0);
        }
        for (int i = 0; i < 1024; ++i)
            REQUIRE(scene.drawer->m_randRing[i] == lightning.ring[i]);
        CheckBoltEquals(scene.drawer->m_bolts[0], lightning.bolts[0]);
        CheckBoltEquals(scene.drawer->m_bolts[1], lightning.bolts[1]);
        CHECK(g_boltFlash[0] == (flash0 % 100 > 70 ? 1 : 0));
        CHECK(g_boltFlash[1] == (flash1 % 100 > 70 ? 1 : 0));
        CHECK(CountDrawsSince(seed) == 3000 + 480 + lightning.draws + 2);
        decisionsSeen.insert(lightning.decisions[0]);
        decisionsSeen.insert(lightning.decisions[1]);
    }
    // The seeds exercised every kind of decision.
    CHECK(decisionsSeen.size() == 4);
}

TEST_CASE("a lightning step draws 1024 ring values and 1, 6 or 8 per bolt; a flash step draws 2")
{
    SceneFixture scene(false, false, false);
    int strikes = 0, moves = 0, stays = 0;
    for (std::uint32_t seed = 100; seed < 160; ++seed) {
        const BoltRecord before[2] = {scene.drawer->m_bolts[0], scene.drawer->m_bolts[1]};
        CrtSrand(seed);
        CGLDrawerProbe::LightningUpdate(*scene.drawer);
        ReferenceRand reference(seed);
        const ExpectedLightning expected = ReplayLightning(reference, before);
        INFO("seed " << seed);
        CHECK(CountDrawsSince(seed) == expected.draws);
        CheckBoltEquals(scene.drawer->m_bolts[0], expected.bolts[0]);
        CheckBoltEquals(scene.drawer->m_bolts[1], expected.bolts[1]);
        for (int b = 0; b < 2; ++b) {
            strikes += expected.decisions[b] == 0;
            moves += expected.decisions[b] == 1;
            stays += expected.decisions[b] >= 2;
            const BoltRecord& bolt = scene.drawer->m_bolts[b];
            if (bolt.start.y != -1000.0f) // struck at least once
                CHECK(bolt.start.z == 20.0f);
            CHECK(bolt.end.z == 0.0f);
            CHECK(bolt.end.x - bolt.start.x >= -15.0f);
            CHECK(bolt.end.x - bolt.start.x <= 14.7f + 1e-4f);
            CHECK(bolt.color.x <= 0.099f);
        }
        CrtSrand(seed);
        CGLDrawerProbe::FlashUpdate(*scene.drawer);
        CHECK(CountDrawsSince(seed) == 2);
    }
    CHECK(strikes > 0);
    CHECK(moves > 0);
    CHECK(stays > 0);
}

TEST_CASE("the ring hands out element 1 first after a rewind and repeats after 1024")
{
    SceneFixture scene(false, false, false);
    CGLDrawer& drawer = *scene.drawer;
    for (int i = 0; i < 1024; ++i)
        drawer.m_randRing[i] = i * 7;
    drawer.m_randIndex = 0;
    CHECK(CGLDrawerProbe::MyRand(drawer) == 7);
    for (int i = 2; i < 1024; ++i)
        REQUIRE(CGLDrawerProbe::MyRand(drawer) == i * 7);
    CHECK(CGLDrawerProbe::MyRand(drawer) == 0);  // the 1024th
    CHECK(CGLDrawerProbe::MyRand(drawer) == 7);  // the 1025th
}

TEST_CASE("drawing a frame draws no value from the generator")
{
    SceneFixture scene;
    scene.Frame(20); // may take timer steps
    const std::uint32_t probeSeed = 777;
    CrtSrand(probeSeed);
    scene.Frame(0); // no timer step is due
    CHECK(CountDrawsSince(probeSeed) == 0);
}

TEST_CASE("bolts keep their shapes between lightning steps whatever the flash flags say")
{
    SceneFixture scene(false, false, false);
    // A strike for both bolts, placed in view.
    scene.drawer->m_bolts[0] = BoltRecord{{-5, 3, 20}, {-3, 4, 0}, {0.05f, 0.05f, 0.09f}};
    scene.drawer->m_bolts[1] = BoltRecord{{4, -2, 20}, {6, -1, 0}, {0.09f, 0.02f, 0.01f}};

    g_boltFlash[0] = 1;
    g_boltFlash[1] = 1;
    scene.Frame(0);
    const std::vector<rgl::Vertex> both = BoltVertices(*scene.drawer);
    const std::int32_t ringUsed = scene.drawer->m_randIndex;

    g_boltFlash[0] = 0;
    scene.Frame(0);
    const std::vector<rgl::Vertex> onlySecond = BoltVertices(*scene.drawer);
    CHECK(scene.drawer->m_randIndex == ringUsed);

    g_boltFlash[0] = 1;
    g_boltFlash[1] = 0;
    scene.Frame(0);
    const std::vector<rgl::Vertex> onlyFirst = BoltVertices(*scene.drawer);
    CHECK(scene.drawer->m_randIndex == ringUsed);

    REQUIRE(!onlyFirst.empty());
    REQUIRE(!onlySecond.empty());
    REQUIRE(both.size() == onlyFirst.size() + onlySecond.size());
    const std::vector<rgl::Vertex> head(both.begin(), both.begin() + onlyFirst.size());
    const std::vector<rgl::Vertex> tail(both.begin() + onlyFirst.size(), both.end());
    CHECK(SameVertices(head, onlyFirst));
    CHECK(SameVertices(tail, onlySecond));

    // A lightning step that keeps both bolts in place still gives them new shapes.
    g_boltFlash[0] = 1;
    g_boltFlash[1] = 1;
    std::uint32_t seed = 1;
    for (;; ++seed) { // a seed whose two decisions are both "stay"
        ReferenceRand reference(seed);
        for (int i = 0; i < 1024; ++i)
            reference.Next();
        if ((reference.Next() & 3) >= 2 && (reference.Next() & 3) >= 2)
            break;
    }
    CrtSrand(seed);
    CGLDrawerProbe::LightningUpdate(*scene.drawer);
    g_boltFlash[0] = 1;
    g_boltFlash[1] = 1;
    scene.Frame(0);
    CHECK(scene.drawer->m_bolts[0].end.x == -3.0f);
    CHECK_FALSE(SameVertices(BoltVertices(*scene.drawer), both));
}
