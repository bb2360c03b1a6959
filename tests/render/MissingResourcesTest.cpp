// A program file that lacks any of its pictures still runs: the texture of a missing
// picture stays 0, so its layer draws untextured (a missing atlas makes the glyphs
// solid blocks); nothing is raised and nothing is reported.
#include <doctest/doctest.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "app/CallChain.h"
#include "platform/Resources.h"
#include "render/SceneArrays.h"
#include "tests/render/SceneFixture.h"

namespace {

// The tests' pictures, less the ids given.
void HideResources(const std::set<int>& missing)
{
    InstallTestAssets();
    auto withAll = [](int id) { return FindRawResource(id); };
    // Read through the installed table once per id now: the lookup below replaces it.
    std::map<int, std::optional<ResourceBytes>> table;
    for (int id : {133, 137, 138, 139, 140, 141})
        table[id] = missing.count(id) ? std::nullopt : withAll(id);
    SetResourceLookup([table](int id) -> std::optional<ResourceBytes> {
        const auto found = table.find(id);
        return found == table.end() ? std::nullopt : found->second;
    });
}

struct Textures {
    GLuint cloud, ground, bolt, sky, rain, font;
};

Textures TexturesOf(const CGLDrawer& d)
{
    return {d.m_texCloud, d.m_texGround, d.m_texBolt, d.m_texSky, d.m_texRain, d.m_font.m_texture};
}

// Primitives drawn in the last frame with the given texture bound and texturing on.
int PrimitivesWithTexture(GLuint texture)
{
    int count = 0;
    for (const rgl::Primitive& primitive : rgl::Primitives())
        count += primitive.texture2D && primitive.texture == texture && primitive.count > 0;
    return count;
}

} // namespace

TEST_CASE("each missing picture leaves its texture 0 and the scene runs on")
{
    struct Case {
        int id;
        GLuint Textures::*field;
        const char* what;
    };
    const Case cases[] = {
        {138, &Textures::cloud, "clouds"}, {140, &Textures::ground, "ground"}, {133, &Textures::bolt, "glow"},
        {137, &Textures::sky, "sky"},      {141, &Textures::rain, "rain"},     {139, &Textures::font, "glyph atlas"},
    };
    for (const Case& missing : cases) {
        INFO("without the " << missing.what << " picture (" << missing.id << ")");
        g_callChain.clear();
        g_errorText.clear();
        SceneFixture scene(true, true, true, false);
        HideResources({missing.id});
        CHECK_NOTHROW(scene.drawer->Init());
        const Textures textures = TexturesOf(*scene.drawer);
        CHECK(textures.*missing.field == 0u);
        for (GLuint Textures::*other : {&Textures::cloud, &Textures::ground, &Textures::bolt, &Textures::sky,
                                        &Textures::rain, &Textures::font}) {
            if (other != missing.field)
                CHECK(textures.*other != 0u);
        }
        // Bolts lit, so that every layer draws something.
        scene.drawer->m_bolts[0] = BoltRecord{{-5, 3, 20}, {-3, 4, 0}, {0.05f, 0.05f, 0.09f}};
        for (int frame = 0; frame < 30; ++frame) {
            g_boltFlash[0] = 1;
            CHECK_NOTHROW(scene.Frame(frame % 10 == 0 ? 400 : 16));
        }
        // The missing picture's layer still draws, with the default texture.
        CHECK(PrimitivesWithTexture(0) > 0);
        CHECK(rgl::ErrorCount() == 0);
        CHECK(g_callChain.empty());
        CHECK(g_errorText.empty());
    }
}

TEST_CASE("with no picture at all every layer draws untextured, glyphs as solid blocks")
{
    g_callChain.clear();
    SceneFixture scene(true, true, true, false);
    HideResources({133, 137, 138, 139, 140, 141});
    CHECK_NOTHROW(scene.drawer->Init());
    const Textures t = TexturesOf(*scene.drawer);
    CHECK((t.cloud | t.ground | t.bolt | t.sky | t.rain | t.font) == 0u);
    CHECK(rgl::Texture(1) == nullptr); // no texture object was made at all
    scene.drawer->m_bolts[0] = BoltRecord{{-5, 3, 20}, {-3, 4, 0}, {0.05f, 0.05f, 0.09f}};
    g_boltFlash[0] = 1;
    CHECK_NOTHROW(scene.Frame(16));
    int textured = 0;
    int glyphQuads = 0;
    for (const rgl::Primitive& primitive : rgl::Primitives()) {
        textured += primitive.texture != 0;
        glyphQuads += primitive.mode == GL_QUADS && primitive.count == 36; // nine glyphs a row
    }
    CHECK(textured == 0);
    CHECK(glyphQuads == 47);
    CHECK(rgl::ErrorCount() == 0);
    CHECK(g_callChain.empty());
}
