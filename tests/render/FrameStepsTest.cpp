// What a frame emits, step by step, on the recording stand-in.
#include <doctest/doctest.h>

#include <cmath>
#include <string>
#include <vector>

#include "render/FrameClock.h"
#include "render/SceneArrays.h"
#include "tests/render/SceneFixture.h"

namespace {

enum class Step { Sky, Clouds, Ground, Band, Bolts, Glyphs, Crosslines, Rain, Unknown };

const char* Name(Step step)
{
    switch (step) {
    case Step::Sky: return "sky";
    case Step::Clouds: return "clouds";
    case Step::Ground: return "ground";
    case Step::Band: return "band";
    case Step::Bolts: return "bolts";
    case Step::Glyphs: return "glyphs";
    case Step::Crosslines: return "crosslines";
    case Step::Rain: return "rain";
    default: return "unknown";
    }
}

// Which step emitted a primitive, from its mode, texture and the state it was drawn with;
// each also checks the state the step is meant to draw with.
Step Classify(const rgl::Primitive& p, const CGLDrawer& d)
{
    if (p.mode == GL_TRIANGLES && p.texture == d.m_texSky && p.texture2D && !p.blend && p.depthTest && p.cullFace &&
        p.depthMask)
        return Step::Sky;
    if (p.mode == GL_TRIANGLE_STRIP && p.texture == d.m_texCloud && p.texture2D && p.blend && !p.depthTest &&
        !p.cullFace && p.blendSrc == GL_SRC_ALPHA && p.blendDst == GL_ONE_MINUS_SRC_ALPHA)
        return Step::Clouds;
    if (p.mode == GL_TRIANGLE_STRIP && p.texture == d.m_texGround && p.texture2D && !p.blend && p.depthTest &&
        !p.cullFace && p.depthMask)
        return Step::Ground;
    if (p.mode == GL_QUADS && !p.texture2D && p.blend && !p.depthTest && p.cullFace && p.blendSrc == GL_SRC_ALPHA &&
        p.blendDst == GL_ONE_MINUS_SRC_ALPHA)
        return Step::Band;
    if (p.mode == GL_QUADS && p.texture == d.m_texBolt && p.texture2D && p.blend && p.depthTest && p.cullFace &&
        !p.depthMask && p.blendSrc == GL_ONE && p.blendDst == GL_ONE)
        return Step::Bolts;
    if (p.mode == GL_QUADS && p.texture == d.m_font.m_texture && p.texture2D && p.blend && !p.depthTest &&
        !p.cullFace && p.blendSrc == GL_SRC_ALPHA && p.blendDst == GL_ONE_MINUS_SRC_ALPHA)
        return Step::Glyphs;
    if (p.mode == GL_LINES && !p.texture2D && p.blend && !p.depthTest && p.blendSrc == GL_ONE && p.blendDst == GL_ONE)
        return Step::Crosslines;
    if (p.mode == GL_QUADS && p.texture == d.m_texRain && p.texture2D && p.blend && p.depthTest && !p.cullFace &&
        p.depthMask && p.blendSrc == GL_ONE && p.blendDst == GL_ONE)
        return Step::Rain;
    return Step::Unknown;
}

// The steps of the last frame in order, each run collapsed to one entry, with counts.
struct Run {
    Step step;
    std::size_t primitives;
};

std::vector<Run> Runs(const CGLDrawer& drawer)
{
    std::vector<Run> runs;
    for (const rgl::Primitive& p : rgl::Primitives()) {
        const Step step = Classify(p, drawer);
        if (runs.empty() || runs.back().step != step)
            runs.push_back(Run{step, 0});
        ++runs.back().primitives;
    }
    return runs;
}

std::string Describe(const std::vector<Run>& runs)
{
    std::string text;
    for (const Run& run : runs)
        text += std::string(Name(run.step)) + "x" + std::to_string(run.primitives) + " ";
    return text;
}

std::vector<const rgl::Primitive*> Of(Step step, const CGLDrawer& drawer)
{
    std::vector<const rgl::Primitive*> out;
    for (const rgl::Primitive& p : rgl::Primitives())
        if (Classify(p, drawer) == step)
            out.push_back(&p);
    return out;
}

const rgl::Vertex& V(const rgl::Primitive* p, std::size_t i)
{
    return rgl::Vertices()[p->first + i];
}

void CheckVertex(const rgl::Vertex& v, double x, double y, double z)
{
    CHECK(v.x == doctest::Approx(x).epsilon(1e-6));
    CHECK(v.y == doctest::Approx(y).epsilon(1e-6));
    CHECK(v.z == doctest::Approx(z).epsilon(1e-6));
}

// Twice the signed area of a quad's first three vertices on screen (positive: CCW).
double ScreenWinding(const rgl::Primitive* p)
{
    const rgl::Vertex& a = V(p, 0);
    const rgl::Vertex& b = V(p, 1);
    const rgl::Vertex& c = V(p, 2);
    return (b.nx - a.nx) * (c.ny - a.ny) - (b.ny - a.ny) * (c.nx - a.nx);
}

void LightBolt(CGLDrawer& drawer, int i, Vec3 start, Vec3 end, Vec3 color)
{
    drawer.m_bolts[i] = BoltRecord{start, end, color};
    g_boltFlash[i] = 1;
}

} // namespace

TEST_CASE("Init sets the OpenGL state and loads the pictures in order")
{
    SUBCASE("high quality")
    {
        SceneFixture scene;
        CHECK(rgl::ErrorCount() == 0);
        CHECK(rgl::IsEnabled(GL_DEPTH_TEST));
        CHECK(rgl::IsEnabled(GL_CULL_FACE));
        CHECK(rgl::IsEnabled(GL_DITHER));
        CHECK(rgl::IsEnabled(GL_TEXTURE_2D)); // left on by the loader; the scene relies on it
        CHECK_FALSE(rgl::IsEnabled(GL_BLEND));
        CHECK(rgl::DepthFunc() == GL_LEQUAL);
        CHECK(rgl::FrontFace() == GL_CCW);
        CHECK(rgl::CullFaceMode() == GL_BACK);
        CHECK(rgl::LineWidth() == 2.0f);
        CHECK(rgl::ClearColor()[0] == 0.0f);
        CHECK(rgl::ClearColor()[3] == 1.0f);
        CHECK(rgl::ClearDepth() == 1.0);
        const CGLDrawer& d = *scene.drawer;
        // Generated in load order: clouds, ground, glow, sky, rain, then the atlas.
        CHECK(d.m_texCloud == 1u);
        CHECK(d.m_texGround == 2u);
        CHECK(d.m_texBolt == 3u);
        CHECK(d.m_texSky == 4u);
        CHECK(d.m_texRain == 5u);
        CHECK(d.m_font.m_texture == 6u);
        for (GLuint name = 1; name <= 5; ++name) {
            REQUIRE(rgl::Texture(name) != nullptr);
            CHECK(rgl::Texture(name)->wrapS == GL_REPEAT);
            CHECK(rgl::Texture(name)->wrapT == GL_REPEAT);
            CHECK(rgl::Texture(name)->minFilter == GL_LINEAR);
            CHECK(rgl::Texture(name)->magFilter == GL_LINEAR);
        }
        CHECK(rgl::Texture(6)->wrapS == GL_CLAMP);
        CHECK(rgl::Texture(6)->width == 256);
    }
    SUBCASE("HighQuality 0 samples every picture nearest-texel")
    {
        SceneFixture scene(true, true, true, false);
        G_Settings.HighQuality = 0;
        scene.drawer->Init();
        for (GLuint name = 1; name <= 6; ++name) {
            CHECK(rgl::Texture(name)->minFilter == GL_NEAREST);
            CHECK(rgl::Texture(name)->magFilter == GL_NEAREST);
        }
    }
    SUBCASE("bolts start parked far outside the view")
    {
        SceneFixture scene(true, true, true, false);
        // A seed whose set-up lightning step leaves both bolts where they are.
        std::uint32_t seed = 1;
        for (;; ++seed) {
            ReferenceRand reference(seed);
            for (int i = 0; i < 3480 + 1024; ++i)
                reference.Next();
            if ((reference.Next() & 3) >= 2 && (reference.Next() & 3) >= 2)
                break;
        }
        CrtSrand(seed);
        scene.drawer->Init();
        for (const BoltRecord& bolt : scene.drawer->m_bolts) {
            CHECK(bolt.start.y == -1000.0f);
            CHECK(bolt.end.y == -1000.0f);
            CHECK(bolt.color.x == 0.0f);
        }
    }
}

TEST_CASE("a frame runs its steps in order and leaves the state as it found it")
{
    SceneFixture scene;
    LightBolt(*scene.drawer, 0, {-5, 3, 20}, {-3, 4, 0}, {0.05f, 0.05f, 0.09f});
    LightBolt(*scene.drawer, 1, {4, -2, 20}, {6, -1, 0}, {0.09f, 0.02f, 0.01f});
    rgl::SetStrictEnables(true);
    scene.Frame(0);
    INFO(rgl::FirstError());
    CHECK(rgl::ErrorCount() == 0);

    const std::vector<Run> runs = Runs(*scene.drawer);
    INFO(Describe(runs));
    REQUIRE(runs.size() == 8);
    CHECK(runs[0].step == Step::Sky);
    CHECK(runs[0].primitives == 1);
    CHECK(runs[1].step == Step::Clouds);
    CHECK(runs[1].primitives == 19);
    CHECK(runs[2].step == Step::Ground);
    CHECK(runs[2].primitives == 19);
    CHECK(runs[3].step == Step::Band);
    CHECK(runs[3].primitives == 1);
    CHECK(runs[4].step == Step::Bolts);
    CHECK(runs[5].step == Step::Glyphs);
    CHECK(runs[5].primitives == 47);
    CHECK(runs[6].step == Step::Crosslines);
    CHECK(runs[6].primitives == 3);
    CHECK(runs[7].step == Step::Rain);
    CHECK(runs[7].primitives == 1000);

    // The clear comes first, once.
    REQUIRE(!rgl::Events().empty());
    CHECK(rgl::Events().front().kind == rgl::Event::Clear);
    CHECK(rgl::ClearCount() == 1);

    // Everything is back: stacks, switches, depth writes, the model-view matrix selected.
    CHECK_FALSE(rgl::InsideBegin());
    CHECK(rgl::AttribDepth() == 0);
    CHECK(rgl::MatrixDepth(GL_MODELVIEW) == 0);
    CHECK(rgl::MatrixDepth(GL_PROJECTION) == 0);
    CHECK(rgl::CurrentMatrixMode() == GL_MODELVIEW);
    CHECK(rgl::DepthMask());
    CHECK(rgl::IsEnabled(GL_DEPTH_TEST));
    CHECK(rgl::IsEnabled(GL_CULL_FACE));
    CHECK(rgl::IsEnabled(GL_TEXTURE_2D));
    CHECK_FALSE(rgl::IsEnabled(GL_BLEND));
}

TEST_CASE("frames stay balanced with every combination of layers and lit bolts")
{
    for (int layers = 0; layers < 8; ++layers) {
        SceneFixture scene(layers & 1, layers & 2, layers & 4);
        rgl::SetStrictEnables(true);
        for (int frame = 0; frame < 40; ++frame) {
            scene.Frame(frame % 5 == 4 ? 400 : 17);
            CAPTURE(layers);
            CAPTURE(frame);
            REQUIRE(rgl::ErrorCount() == 0);
            REQUIRE(rgl::AttribDepth() == 0);
            REQUIRE(rgl::MatrixDepth(GL_PROJECTION) == 0);
            REQUIRE(rgl::MatrixDepth(GL_MODELVIEW) == 0);
            REQUIRE(rgl::DepthMask());
        }
        // With all layers off a frame is the scene and the bolts only.
        if (layers == 0) {
            for (const Run& run : Runs(*scene.drawer))
                CHECK((run.step == Step::Sky || run.step == Step::Clouds || run.step == Step::Ground ||
                       run.step == Step::Band || run.step == Step::Bolts));
        }
    }
}

TEST_CASE("the camera circles the axis and the projection follows the viewport")
{
    SceneFixture scene;
    CGLDrawer& d = *scene.drawer;
    struct Case {
        double t;
        double x, y, z;
    };
    const Case cases[] = {{0.0, 10, 0, 5}, {M_PI, 7.0710678, 7.0710678, 9}, {2 * M_PI, 0, 10, 5}};
    for (const Case& c : cases) {
        d.m_sceneTime = c.t;
        d.SetupCamera();
        // The eye maps to the origin of eye space; the look-at point straight ahead.
        const double* m = rgl::Matrix(GL_MODELVIEW);
        auto eyeSpace = [m](double x, double y, double z, int row) {
            return m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
        };
        CAPTURE(c.t);
        CHECK(eyeSpace(c.x, c.y, c.z, 0) == doctest::Approx(0).epsilon(1e-5));
        CHECK(eyeSpace(c.x, c.y, c.z, 1) == doctest::Approx(0).epsilon(1e-5));
        CHECK(eyeSpace(c.x, c.y, c.z, 2) == doctest::Approx(0).epsilon(1e-5));
        CHECK(eyeSpace(0, 0, 5, 0) == doctest::Approx(0).epsilon(1e-5));
        CHECK(eyeSpace(0, 0, 5, 2) < -9.9);
        // The view normal points back at the eye, horizontally from the axis.
        const double distance = std::sqrt(c.x * c.x + c.y * c.y + (c.z - 5) * (c.z - 5));
        CHECK(d.m_viewNormal.x == doctest::Approx(c.x / distance).epsilon(1e-5));
        CHECK(d.m_viewNormal.z == doctest::Approx((c.z - 5) / distance).epsilon(1e-5));
        CHECK(rgl::CurrentMatrixMode() == GL_MODELVIEW);
    }
    // 90 degrees vertically: a 2 x 1 viewport gives x scale 1/2, y scale 1.
    rgl::SetViewport(0, 0, 800, 400);
    d.SetupCamera();
    CHECK(rgl::Matrix(GL_PROJECTION)[0] == doctest::Approx(0.5));
    CHECK(rgl::Matrix(GL_PROJECTION)[5] == doctest::Approx(1.0));
    // Height 0 counts as 0.1: no division by zero.
    rgl::SetViewport(0, 0, 640, 0);
    d.SetupCamera();
    CHECK(rgl::Matrix(GL_PROJECTION)[0] == doctest::Approx(0.1 / 640));
    CHECK(std::isfinite(rgl::Matrix(GL_PROJECTION)[0]));
}

TEST_CASE("sprites and strips face the camera with the documented corners")
{
    SceneFixture scene;
    CGLDrawer& d = *scene.drawer;
    d.m_sceneTime = 0.0; // eye at (10, 0, 5): camera right is +y, up is +z
    d.SetupCamera();
    CHECK(d.m_cornerUR.y == doctest::Approx(1));
    CHECK(d.m_cornerUR.z == doctest::Approx(1));
    CHECK(d.m_cornerLL.y == doctest::Approx(-1));
    CHECK(d.m_cornerUL.y == doctest::Approx(-1));
    CHECK(d.m_cornerUL.z == doctest::Approx(1));
    CHECK(d.m_viewNormal.x == doctest::Approx(1));

    rgl::ClearLog();
    d.Sprite(Vec3{1, 2, 3}, 0.5f);
    REQUIRE(rgl::Primitives().size() == 1);
    const rgl::Primitive* sprite = &rgl::Primitives()[0];
    REQUIRE(sprite->count == 4);
    CheckVertex(V(sprite, 0), 1, 1.5, 2.5);
    CheckVertex(V(sprite, 1), 1, 2.5, 2.5);
    CheckVertex(V(sprite, 2), 1, 2.5, 3.5);
    CheckVertex(V(sprite, 3), 1, 1.5, 3.5);
    CHECK(V(sprite, 0).s == 1.0f);
    CHECK(V(sprite, 0).t == 1.0f);
    CHECK(V(sprite, 1).s == 0.0f);
    CHECK(V(sprite, 1).t == 1.0f);
    CHECK(V(sprite, 2).s == 0.0f);
    CHECK(V(sprite, 2).t == 0.0f);
    CHECK(V(sprite, 3).s == 1.0f);
    CHECK(V(sprite, 3).t == 0.0f);
    CHECK(ScreenWinding(sprite) > 0);

    rgl::ClearLog();
    d.LongSprite(Vec3{0, 0, 2}, Vec3{0, 0, 0}, 0.05f);
    REQUIRE(rgl::Primitives().size() == 1);
    const rgl::Primitive* strip = &rgl::Primitives()[0];
    CheckVertex(V(strip, 0), 0, 0.05, 2.05);
    CheckVertex(V(strip, 1), 0, -0.05, 2.05);
    CheckVertex(V(strip, 2), 0, -0.05, -0.05);
    CheckVertex(V(strip, 3), 0, 0.05, -0.05);
    CHECK(V(strip, 0).t == 1.0f);
    CHECK(V(strip, 2).t == 0.0f);
    CHECK(V(strip, 0).s == 1.0f);
    CHECK(V(strip, 1).s == 0.0f);
    CHECK(ScreenWinding(strip) > 0);

    SUBCASE("a strip with both ends equal collapses to a point")
    {
        rgl::ClearLog();
        d.LongSprite(Vec3{1, 1, 1}, Vec3{1, 1, 1}, 0.05f);
        const rgl::Primitive* p = &rgl::Primitives()[0];
        for (int i = 0; i < 4; ++i)
            CheckVertex(V(p, i), 1, 1, 1);
    }
    SUBCASE("a strip along the view direction has no width")
    {
        rgl::ClearLog();
        d.LongSprite(Vec3{0, 0, 5}, Vec3{5, 0, 5}, 0.05f);
        const rgl::Primitive* p = &rgl::Primitives()[0];
        CHECK(V(p, 0).y == doctest::Approx(0));
        CHECK(V(p, 1).y == doctest::Approx(0));
        CHECK(V(p, 0).z == doctest::Approx(5));
    }
}

TEST_CASE("the bolt recursion ends on length and depth and draws its ring values in order")
{
    SceneFixture scene;
    CGLDrawer& d = *scene.drawer;
    d.m_sceneTime = 0.0;
    d.SetupCamera();
    // Offsets of 0 (50 - 50), no glow, no branch: the pieces are exact halves.
    for (std::int32_t& value : d.m_randRing)
        value = 50;
    g_boltVisible = 1;
    auto piecesAndDraws = [&](Vec3 from, Vec3 to, int depth) {
        rgl::ClearLog();
        d.m_randIndex = 0;
        d.ElectricBolt(from, 0.2f, to, 0.2f, depth);
        return std::make_pair(rgl::Primitives().size(), d.m_randIndex);
    };

    // 1.0: no branch test at the top (only above 1.0); halves of 0.5 still divide.
    CHECK(piecesAndDraws({0, 0, 0}, {0, 0, 1.0f}, 0) == std::make_pair(std::size_t{4}, 9));
    // Just above 1.0 draws one more value for the branch test.
    CHECK(piecesAndDraws({0, 0, 0}, {0, 0, 1.0001f}, 0) == std::make_pair(std::size_t{4}, 10));
    // 0.5 divides; below it does not.
    CHECK(piecesAndDraws({0, 0, 0}, {0, 0, 0.5f}, 0) == std::make_pair(std::size_t{2}, 3));
    CHECK(piecesAndDraws({0, 0, 0}, {0, 0, 0.49f}, 0) == std::make_pair(std::size_t{1}, 0));
    // Depth 30 still divides, 31 draws one piece.
    CHECK(piecesAndDraws({0, 0, 0}, {0, 0, 0.6f}, 30) == std::make_pair(std::size_t{2}, 3));
    CHECK(piecesAndDraws({0, 0, 0}, {0, 0, 50.0f}, 31) == std::make_pair(std::size_t{1}, 0));

    // Unlit: the same values, no geometry.
    g_boltVisible = 0;
    CHECK(piecesAndDraws({0, 0, 0}, {0, 0, 1.0001f}, 0) == std::make_pair(std::size_t{0}, 10));

    SUBCASE("a sharp bend glows in the bolt's colour and the grey comes back")
    {
        g_boltVisible = 1;
        d.m_boltColor = Vec3{0.01f, 0.02f, 0.03f};
        d.m_randRing[1] = 99; // offset (49, 0, 0): length 49, no glow
        d.m_randRing[2] = 50;
        d.m_randRing[3] = 50;
        piecesAndDraws({0, 0, 0}, {0, 0, 0.6f}, 0);
        CHECK(rgl::Primitives().size() == 2);
        d.m_randRing[2] = 99; // offset (49, 49, 0): longer than 50, a glow of half-width 2
        piecesAndDraws({0, 0, 0}, {0, 0, 0.6f}, 0);
        REQUIRE(rgl::Primitives().size() == 3);
        const rgl::Primitive* glow = &rgl::Primitives()[0];
        CHECK(V(glow, 0).r == 0.01f);
        CHECK(V(glow, 0).b == 0.03f);
        const rgl::Vertex& a = V(glow, 0);
        const rgl::Vertex& c = V(glow, 2);
        CHECK(std::hypot(c.y - a.y, c.z - a.z) == doctest::Approx(2 * 2 * std::sqrt(2.0)).epsilon(1e-4));
        CHECK(rgl::CurrentColor()[0] == 0.5f);
        CHECK(rgl::CurrentColor()[2] == 0.5f);
    }
    SUBCASE("a branch heads for the bolt's target, 4 off in x and y")
    {
        g_boltVisible = 1;
        d.m_randRing[4] = 251; // branch test passes (251 & 255 > 250)
        d.m_randRing[5] = 8;   // +4 in x
        d.m_randRing[6] = 0;   // -4 in y
        d.m_branchTarget = Vec3{10, 10, 0};
        piecesAndDraws({0, 0, 4}, {0, 0, 2}, 0);
        bool reached = false;
        for (const rgl::Vertex& v : rgl::Vertices())
            reached = reached || (std::fabs(v.x - 14) < 0.2 && std::fabs(v.y - 6) < 0.2);
        CHECK(reached);
    }
}

TEST_CASE("the grid is lit by the lit bolts only")
{
    SceneFixture scene(false, false, false);
    CGLDrawer& d = *scene.drawer;
    d.m_sceneTime = 0.0;
    d.SetupCamera();

    g_boltFlash[0] = g_boltFlash[1] = 0;
    d.m_bolts[0] = BoltRecord{{0, 0, 20}, {0, 0, 0}, {0.09f, 0.09f, 0.09f}};
    d.DrawGeometry();
    for (const Vec3& c : g_gridColors) {
        REQUIRE(c.x == 0.2f);
        REQUIRE(c.y == 0.2f);
        REQUIRE(c.z == 0.2f);
    }
    // Points on the cone: centre 30 high, radius 100 at ground level.
    CHECK(g_gridPoints[20 * 10 + 10].z == 30.0f);
    CHECK(g_gridPoints[20 * 0 + 10].x == -100.0f);
    CHECK(g_gridPoints[20 * 0 + 10].z == doctest::Approx(0.0).epsilon(1e-6));
    CHECK(g_gridPoints[0].z == doctest::Approx(30 - 0.3 * std::hypot(100, 100)));
    CHECK(g_gridPoints[399].x == 90.0f);

    // One lit bolt whose midpoint is at (10, 20): full light there, none 30 away.
    LightBolt(d, 0, {5, 25, 20}, {15, 15, 0}, {0.01f, 0.02f, 0.09f});
    d.DrawGeometry();
    const Vec3& atMid = g_gridColors[20 * 11 + 12]; // (10, 20)
    CHECK(atMid.x == doctest::Approx(0.2 + 20 * 0.01));
    CHECK(atMid.y == doctest::Approx(0.2 + 20 * 0.02));
    CHECK(atMid.z == 1.0f);
    const Vec3& tenAway = g_gridColors[20 * 12 + 12]; // (20, 20): f = 2/3
    CHECK(tenAway.x == doctest::Approx(0.2 + 20 * 0.01 * 2 / 3.0));
    const Vec3& thirtyAway = g_gridColors[20 * 12 + 14]; // (20, 40): 10 + 20 = 30
    CHECK(thirtyAway.x == 0.2f);

    SUBCASE("two bolts add before the clamp; nothing exceeds 1 or falls below 0.2")
    {
        LightBolt(d, 1, {10, 20, 20}, {10, 20, 0}, {0.02f, 0.09f, 0.09f});
        d.DrawGeometry();
        CHECK(g_gridColors[20 * 11 + 12].x == doctest::Approx(0.2 + 20 * 0.01 + 20 * 0.02));
        CHECK(g_gridColors[20 * 11 + 12].y == 1.0f);
        for (const Vec3& c : g_gridColors) {
            REQUIRE(c.x <= 1.0f);
            REQUIRE(c.x >= 0.2f);
        }
    }
    SUBCASE("only x and y of the ends matter")
    {
        const Vec3 before = g_gridColors[20 * 12 + 12];
        d.m_bolts[0].start.z = 500;
        d.m_bolts[0].end.z = -30;
        d.DrawGeometry();
        CHECK(g_gridColors[20 * 12 + 12].x == before.x);
    }
    SUBCASE("a bolt still parked at (0, -1000) lights nothing")
    {
        LightBolt(d, 0, {0, -1000, 0}, {0, -1000, 0}, {0.09f, 0.09f, 0.09f});
        d.DrawGeometry();
        for (const Vec3& c : g_gridColors)
            REQUIRE(c.x == 0.2f);
    }
}

TEST_CASE("sky cone, cloud layer, ground and horizon band have the documented vertices")
{
    SceneFixture scene(false, false, false);
    CGLDrawer& d = *scene.drawer;
    g_boltFlash[0] = g_boltFlash[1] = 0;
    d.m_sceneTime = 3.75; // cloud offset 0.75
    d.SetupCamera();
    rgl::ClearLog();
    d.DrawGeometry();

    const auto sky = Of(Step::Sky, d);
    REQUIRE(sky.size() == 1);
    REQUIRE(sky[0]->count == 60);
    for (int k = 0; k < 20; ++k) {
        CAPTURE(k);
        const double a1 = (k + 1) * 0.314159, a0 = k * 0.314159;
        CheckVertex(V(sky[0], 3 * k), 0, 0, 30);
        CHECK(V(sky[0], 3 * k).s == 1.0f);
        CHECK(V(sky[0], 3 * k).t == 1.0f);
        CheckVertex(V(sky[0], 3 * k + 1), 100 * std::cos(a1), 100 * std::sin(a1), 0);
        CHECK(V(sky[0], 3 * k + 1).s == doctest::Approx(1 + 2 * std::cos(a1)));
        CHECK(V(sky[0], 3 * k + 1).t == doctest::Approx(1 + 2 * std::sin(a1)));
        CheckVertex(V(sky[0], 3 * k + 2), 100 * std::cos(a0), 100 * std::sin(a0), 0);
        CHECK(V(sky[0], 3 * k).r == 1.0f);
    }

    const auto clouds = Of(Step::Clouds, d);
    REQUIRE(clouds.size() == 19);
    for (int i = 0; i < 19; ++i) {
        REQUIRE(clouds[i]->count == 40);
        for (int l = 0; l < 20; ++l) {
            const rgl::Vertex& lower = V(clouds[i], 2 * l);
            const rgl::Vertex& upper = V(clouds[i], 2 * l + 1);
            REQUIRE(lower.x == g_gridPoints[20 * l + i].x);
            REQUIRE(lower.y == g_gridPoints[20 * l + i].y);
            REQUIRE(lower.z == g_gridPoints[20 * l + i].z);
            REQUIRE(upper.y == g_gridPoints[20 * l + i + 1].y);
            REQUIRE(lower.s == 0.5f * l);
            REQUIRE(lower.t == doctest::Approx(0.5 * i + 0.75));
            REQUIRE(upper.t == doctest::Approx(0.5 * (i + 1) + 0.75));
            REQUIRE(lower.r == 0.2f);
        }
    }

    const auto ground = Of(Step::Ground, d);
    REQUIRE(ground.size() == 19);
    for (int i = 0; i < 19; ++i)
        for (int l = 0; l < 20; ++l) {
            const rgl::Vertex& lower = V(ground[i], 2 * l);
            const rgl::Vertex& upper = V(ground[i], 2 * l + 1);
            REQUIRE(lower.z == 0.0f);
            REQUIRE(upper.z == 0.0f);
            REQUIRE(lower.x == 10.0f * (l - 10));
            REQUIRE(lower.y == 10.0f * (i - 10));
            REQUIRE(lower.s == static_cast<float>(l));
            REQUIRE(lower.t == static_cast<float>(i));
            REQUIRE(upper.t == static_cast<float>(i + 1));
        }

    const auto band = Of(Step::Band, d);
    REQUIRE(band.size() == 1);
    REQUIRE(band[0]->count == 160);
    for (int v = 0; v < 20; ++v) {
        CAPTURE(v);
        const double a0 = v * 0.314159, a1 = (v + 1) * 0.314159;
        const double x0 = 100 * std::cos(a0), y0 = 100 * std::sin(a0);
        const double x1 = 100 * std::cos(a1), y1 = 100 * std::sin(a1);
        const std::size_t q = 8 * v;
        CheckVertex(V(band[0], q + 0), x1, y1, 0);
        CheckVertex(V(band[0], q + 1), x0, y0, 0);
        CheckVertex(V(band[0], q + 2), x0, y0, 20);
        CheckVertex(V(band[0], q + 3), x1, y1, 20);
        CHECK(V(band[0], q + 0).a == 1.0f);
        CHECK(V(band[0], q + 2).a == 0.0f);
        CheckVertex(V(band[0], q + 4), x1, y1, -20);
        CheckVertex(V(band[0], q + 5), x0, y0, -20);
        CheckVertex(V(band[0], q + 6), x0, y0, 0);
        CheckVertex(V(band[0], q + 7), x1, y1, 0);
        CHECK(V(band[0], q + 4).a == 0.0f);
        CHECK(V(band[0], q + 6).a == 1.0f);
        CHECK(V(band[0], q + 6).r == 0.5f);
        CHECK(V(band[0], q + 6).g == 0.1f);
        CHECK(V(band[0], q + 6).b == 0.1f);
    }
}

TEST_CASE("the cloud offset stays a fraction of a repeat after days of scene time")
{
    SceneFixture scene(false, false, false);
    CGLDrawer& d = *scene.drawer;
    d.m_sceneTime = 3 * 86400.0 + 1.25; // 0.2 t = 51840.25
    d.SetupCamera();
    rgl::ClearLog();
    d.DrawGeometry();
    const auto clouds = Of(Step::Clouds, d);
    REQUIRE(clouds.size() == 19);
    CHECK(V(clouds[0], 0).t == doctest::Approx(0.25).epsilon(1e-6));
    CHECK(V(clouds[18], 39).t == doctest::Approx(0.5 * 19 + 0.25).epsilon(1e-6));
}

TEST_CASE("the crosslines close to a cross at scene time 0")
{
    SceneFixture scene(false, true, false);
    CGLDrawer& d = *scene.drawer;
    d.m_sceneTime = 0.0;
    d.SetupCamera();
    rgl::ClearLog();
    d.DrawGeometry();
    const auto lines = Of(Step::Crosslines, d);
    REQUIRE(lines.size() == 3);
    for (int i = 0; i < 3; ++i) {
        CAPTURE(i);
        REQUIRE(lines[i]->count == 8);
        const float dd = static_cast<float>((std::sin(0.1 * i) + 1) * 0.5);
        const float expected[8][2] = {{0, dd}, {1, dd}, {0, 1 - dd}, {1, 1 - dd},
                                      {dd, 0}, {dd, 1}, {1 - dd, 0}, {1 - dd, 1}};
        for (int k = 0; k < 8; ++k) {
            CHECK(V(lines[i], k).x == expected[k][0]);
            CHECK(V(lines[i], k).y == expected[k][1]);
            CHECK(V(lines[i], k).z == -0.5f);
            // The unit square covers the viewport.
            CHECK(V(lines[i], k).nx == doctest::Approx(2 * expected[k][0] - 1));
        }
        CHECK(V(lines[i], 0).r == 0.0f);
        CHECK(V(lines[i], 0).g == doctest::Approx(0.05 * (i + 1)));
        CHECK(V(lines[i], 0).b == 0.0f);
    }
    // Set 0 at d = 0.5: both pairs coincide on the middle lines.
    CHECK(V(lines[0], 0).y == 0.5f);
    CHECK(V(lines[0], 2).y == 0.5f);
    CHECK(V(lines[0], 4).x == 0.5f);
    CHECK(rgl::MatrixDepth(GL_PROJECTION) == 0);
}

TEST_CASE("the hieroglyph column shows rows at their place and scrolls 10 rows a second")
{
    SceneFixture scene(true, false, false);
    CGLDrawer& d = *scene.drawer;
    d.m_sceneTime = 0.0;
    d.SetupCamera();

    auto drawnRows = [&](double scroll, double frameTime) {
        d.m_glyphScroll = scroll;
        d.m_frameTime = frameTime;
        rgl::ClearLog();
        d.DrawGeometry();
        return Of(Step::Glyphs, d);
    };
    // The row whose cells a quad block shows, from the texture coordinate of its first glyph.
    auto firstCode = [](const rgl::Primitive* p) {
        const rgl::Vertex& v = V(p, 0);
        const int column = static_cast<int>(std::lround(v.s / 0.0625));
        const int row = static_cast<int>(std::lround((1.0 - v.t) / 0.0625));
        return row * 16 + column;
    };

    SUBCASE("at 0 row 0 sits at the upper edge")
    {
        const auto rows = drawnRows(0.0, 0.0);
        REQUIRE(rows.size() == 47);
        for (int m = 0; m < 47; ++m) {
            CAPTURE(m);
            REQUIRE(rows[m]->count == 36);
            const rgl::Vertex& topLeft = V(rows[m], 0);
            CHECK(topLeft.x == 0.75f);
            CHECK(topLeft.y == doctest::Approx(1.0 - m / 46.0).epsilon(1e-6));
            CHECK(V(rows[m], 2).y == doctest::Approx(1.0 - (m + 1) / 46.0).epsilon(1e-6));
            CHECK(V(rows[m], 33).x == doctest::Approx(0.975));
            CHECK(firstCode(rows[m]) == static_cast<unsigned char>(d.m_glyphRows[m][0]));
            CHECK(topLeft.a == doctest::Approx(0.3));
        }
    }
    SUBCASE("at 46.5 the top row is row 46, then 0, 1, ..., all half a row higher")
    {
        const auto rows = drawnRows(46.5, 0.0);
        REQUIRE(rows.size() == 47);
        CHECK(firstCode(rows[0]) == static_cast<unsigned char>(d.m_glyphRows[46][0]));
        CHECK(firstCode(rows[1]) == static_cast<unsigned char>(d.m_glyphRows[0][0]));
        CHECK(firstCode(rows[46]) == static_cast<unsigned char>(d.m_glyphRows[45][0]));
        CHECK(V(rows[0], 0).y == doctest::Approx(1.0 + 0.5 / 46).epsilon(1e-6));
        CHECK(V(rows[1], 0).y == doctest::Approx(1.0 - 0.5 / 46).epsilon(1e-6));
    }
    SUBCASE("scrolling")
    {
        drawnRows(3.0, 0.05);
        CHECK(d.m_glyphScroll == doctest::Approx(3.5));
        drawnRows(46.9, 0.1); // to 47.9: back to exactly 0
        CHECK(d.m_glyphScroll == 0.0);
        drawnRows(45.5, 0.1); // to 46.5: stays
        CHECK(d.m_glyphScroll == doctest::Approx(46.5));
    }
    SUBCASE("with the column off nothing is drawn and the scroll stays")
    {
        G_Settings.Hieroglyphs = 0;
        const auto rows = drawnRows(12.0, 0.1);
        CHECK(rows.empty());
        CHECK(d.m_glyphScroll == 12.0);
    }
}

TEST_CASE("rain streaks fall, wrap and are lit like the ground")
{
    SceneFixture scene(false, false, true);
    CGLDrawer& d = *scene.drawer;
    d.m_sceneTime = 0.0;
    d.SetupCamera();
    g_boltFlash[0] = g_boltFlash[1] = 0;

    g_rainDrops[0] = Vec3{3, 4, 10};
    g_rainDrops[1] = Vec3{3, 4, -0.5f};  // to -2.5: wraps to 19.5
    g_rainDrops[2] = Vec3{3, 4, 0.0f};   // falls 2 to exactly -2: stays
    g_rainDrops[3] = Vec3{3, 4, -1.5f};  // to -3.5: back at 18.5
    d.m_frameTime = 0.1;
    rgl::ClearLog();
    d.DrawGeometry();
    const auto rain = Of(Step::Rain, d);
    REQUIRE(rain.size() == 1000);
    // Drawn where the previous frame left it: a strip from z 12 down to 10, 0.05 beyond.
    CheckVertex(V(rain[0], 0), 3, 4.05, 12.05);
    CheckVertex(V(rain[0], 2), 3, 3.95, 9.95);
    CHECK(V(rain[0], 0).t == 1.0f);
    for (const auto* p : rain)
        REQUIRE(V(p, 0).r == 0.2f);
    CHECK(g_rainDrops[0].z == doctest::Approx(8.0));
    CHECK(g_rainDrops[1].z == doctest::Approx(19.5));
    CHECK(g_rainDrops[2].z == -2.0f);
    CHECK(g_rainDrops[3].z == doctest::Approx(18.5));
    CHECK(g_rainDrops[0].x == 3.0f);

    // A lit bolt whose midpoint is 29 away lights the drop a little; 30 away not at all.
    LightBolt(d, 0, {3 + 29, 4, 20}, {3 + 29, 4, 0}, {0.09f, 0.0f, 0.0f});
    g_rainDrops[4] = Vec3{2, 4, 10}; // 30 away
    rgl::ClearLog();
    d.DrawGeometry();
    const auto litRain = Of(Step::Rain, d);
    CHECK(V(litRain[0], 0).r == doctest::Approx(0.2 + 20 * 0.09 / 30));
    CHECK(V(litRain[4], 0).r == 0.2f);

    SUBCASE("with the rain off the drops neither show nor move")
    {
        G_Settings.Rain = 0;
        const float z = g_rainDrops[0].z;
        rgl::ClearLog();
        d.DrawGeometry();
        CHECK(Of(Step::Rain, d).empty());
        CHECK(g_rainDrops[0].z == z);
    }
}
