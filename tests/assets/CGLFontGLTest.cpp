// The bitmap font against a real OpenGL implementation: the quads it emits (read back
// in feedback mode), the state it leaves, and what the shipped atlas draws.
#include "TestResources.h"
#include "app/CallChain.h"
#include "assets/CGLFont.h"
#include "platform/EglPbufferContext_Linux.h"

#include <doctest/doctest.h>

#include <array>
#include <cmath>

namespace {

constexpr int kSize = 64;

struct FeedbackVertex {
    float x, y, z, w;
    float r, g, b, a;
    float s, t, p, q;
};

// Draws `text` in feedback mode and returns the triangles OpenGL would rasterise.
std::vector<std::array<FeedbackVertex, 3>> Feedback(CGLFont& font, float x, float y, float w, float h, const char* text)
{
    std::vector<GLfloat> buffer(4096);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_4D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    font.DrawString(x, y, w, h, text);
    const GLint count = glRenderMode(GL_RENDER);
    REQUIRE(count >= 0);
    std::vector<std::array<FeedbackVertex, 3>> triangles;
    for (GLint i = 0; i < count;) {
        REQUIRE(buffer[static_cast<std::size_t>(i)] == GL_POLYGON_TOKEN);
        const int vertices = static_cast<int>(buffer[static_cast<std::size_t>(i) + 1]);
        REQUIRE(vertices == 3);
        std::array<FeedbackVertex, 3> triangle{};
        for (int v = 0; v < 3; ++v) {
            const GLfloat* f = &buffer[static_cast<std::size_t>(i) + 2 + static_cast<std::size_t>(v) * 12];
            triangle[static_cast<std::size_t>(v)] = {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10], f[11]};
        }
        triangles.push_back(triangle);
        i += 2 + 3 * 12;
    }
    return triangles;
}

struct Corner {
    float x, y, s, t;
};

// The four corners of character i's quad, in window pixels, with their cell's texture
// coordinates worked out by hand from the atlas layout.
std::array<Corner, 4> ExpectedCorners(int i, unsigned code, float x, float y, float w, float h)
{
    const float s0 = static_cast<float>(code % 16) / 16.0f;
    const float t0 = 1.0f - static_cast<float>(code / 16) / 16.0f;
    const float left = (x + static_cast<float>(i) * w) * kSize;
    const float right = left + w * kSize;
    const float top = (1.0f - y) * kSize;
    const float bottom = top - h * kSize;
    return {Corner{left, top, s0, t0}, Corner{right, top, s0 + 0.0625f, t0}, Corner{right, bottom, s0 + 0.0625f, t0 - 0.0625f},
            Corner{left, bottom, s0, t0 - 0.0625f}};
}

void CheckQuads(const std::vector<std::array<FeedbackVertex, 3>>& triangles, const std::string& text, float x, float y, float w,
                float h)
{
    REQUIRE(triangles.size() == 2 * text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        CAPTURE(i);
        const auto corners = ExpectedCorners(static_cast<int>(i), static_cast<unsigned char>(text[i]), x, y, w, h);
        std::array<bool, 4> seen{};
        for (std::size_t k = 2 * i; k < 2 * i + 2; ++k) {
            for (const FeedbackVertex& v : triangles[k]) {
                bool matched = false;
                for (std::size_t c = 0; c < 4; ++c) {
                    if (std::fabs(v.x - corners[c].x) < 1e-3f && std::fabs(v.y - corners[c].y) < 1e-3f) {
                        matched = true;
                        seen[c] = true;
                        CHECK(v.s == doctest::Approx(corners[c].s).epsilon(1e-6));
                        CHECK(v.t == doctest::Approx(corners[c].t).epsilon(1e-6));
                        // z = -0.5 in the unit-square projection: depth 0.75 in the window.
                        CHECK(v.z == doctest::Approx(0.75f).epsilon(1e-5));
                    }
                }
                CAPTURE(v.x);
                CAPTURE(v.y);
                CHECK(matched);
            }
        }
        CHECK(seen == std::array<bool, 4>{true, true, true, true});
    }
}

std::array<GLfloat, 16> Matrix(GLenum which)
{
    std::array<GLfloat, 16> m{};
    glGetFloatv(which, m.data());
    return m;
}

GLint Integer(GLenum name)
{
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

struct FontFixture {
    EglPbufferContext context{kSize, kSize};
    CGLFont font;
    FontFixture()
    {
        REQUIRE_FALSE(context.Renderer().empty());
        glGenTextures(1, &font.m_texture); // any name; feedback does not sample it
        glEnable(GL_TEXTURE_2D);
    }
};

} // namespace

TEST_CASE_FIXTURE(FontFixture, "each character is one quad of its cell, advancing by one width")
{
    glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
    const std::string text = "A\xF0" "7\x80";
    const auto triangles = Feedback(font, 0.1f, 0.2f, 0.2f, 0.3f, text.c_str());
    CheckQuads(triangles, text, 0.1f, 0.2f, 0.2f, 0.3f);
    for (const auto& triangle : triangles)
        for (const FeedbackVertex& v : triangle) {
            CHECK(v.r == doctest::Approx(0.25f));
            CHECK(v.b == doctest::Approx(0.75f));
        }
}

TEST_CASE_FIXTURE(FontFixture, "a string at y = 0 hangs from the top edge; width and height are independent")
{
    const auto triangles = Feedback(font, 0.0f, 0.0f, 0.025f, 1.0f / 46.0f, "~");
    CheckQuads(triangles, "~", 0.0f, 0.0f, 0.025f, 1.0f / 46.0f);
    float highest = 0;
    for (const auto& triangle : triangles)
        for (const FeedbackVertex& v : triangle)
            highest = std::max(highest, v.y);
    CHECK(highest == doctest::Approx(static_cast<float>(kSize)));
}

TEST_CASE_FIXTURE(FontFixture, "quads are drawn even while back faces are culled, and culling is back on afterwards")
{
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    const auto triangles = Feedback(font, 0.0f, 0.0f, 0.5f, 0.5f, "ab");
    CHECK(triangles.size() == 4);
    CHECK(glIsEnabled(GL_CULL_FACE));
}

TEST_CASE_FIXTURE(FontFixture, "drawing leaves switches and matrices as they were, with the atlas bound and its blend function")
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-1, 1, -1, 1, 1, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    glMatrixMode(GL_TEXTURE); // the font selects the modelview matrix on its way out
    glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_DEPTH_TEST);
    const auto projection = Matrix(GL_PROJECTION_MATRIX);
    const auto modelview = Matrix(GL_MODELVIEW_MATRIX);
    const GLint projectionDepth = Integer(GL_PROJECTION_STACK_DEPTH);
    const GLint modelviewDepth = Integer(GL_MODELVIEW_STACK_DEPTH);

    for (const char* text : {"Hello", ""}) {
        CAPTURE(text);
        font.DrawString(0.1f, 0.1f, 0.1f, 0.1f, text);
        CHECK(glGetError() == GL_NO_ERROR);
        CHECK(Matrix(GL_PROJECTION_MATRIX) == projection);
        CHECK(Matrix(GL_MODELVIEW_MATRIX) == modelview);
        CHECK(Integer(GL_PROJECTION_STACK_DEPTH) == projectionDepth);
        CHECK(Integer(GL_MODELVIEW_STACK_DEPTH) == modelviewDepth);
        CHECK(Integer(GL_MATRIX_MODE) == GL_MODELVIEW);
        CHECK_FALSE(glIsEnabled(GL_BLEND));
        CHECK_FALSE(glIsEnabled(GL_CULL_FACE));
        CHECK(glIsEnabled(GL_DEPTH_TEST));
        CHECK(glIsEnabled(GL_TEXTURE_2D));
        CHECK(Integer(GL_TEXTURE_BINDING_2D) == static_cast<GLint>(font.m_texture));
        CHECK(Integer(GL_BLEND_SRC) == GL_SRC_ALPHA);
        CHECK(Integer(GL_BLEND_DST) == GL_ONE_MINUS_SRC_ALPHA);
        glBlendFunc(GL_ONE, GL_ONE);
        glMatrixMode(GL_TEXTURE);
    }
    CHECK(Feedback(font, 0.1f, 0.1f, 0.1f, 0.1f, "").empty());
}

TEST_CASE_FIXTURE(FontFixture, "Begin2D sets up the unit square; End2D puts both matrices back")
{
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(4, 5, 6);
    const auto modelview = Matrix(GL_MODELVIEW_MATRIX);
    const auto projection = Matrix(GL_PROJECTION_MATRIX);
    font.Begin2D();
    CHECK(Integer(GL_MATRIX_MODE) == GL_MODELVIEW);
    CHECK(Matrix(GL_PROJECTION_MATRIX) == std::array<GLfloat, 16>{2, 0, 0, 0, 0, 2, 0, 0, 0, 0, -1, 0, -1, -1, 0, 1});
    CHECK(Matrix(GL_MODELVIEW_MATRIX) == std::array<GLfloat, 16>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    CHECK(Integer(GL_PROJECTION_STACK_DEPTH) == 2);
    CHECK(Integer(GL_MODELVIEW_STACK_DEPTH) == 2);
    font.End2D();
    CHECK(Integer(GL_MATRIX_MODE) == GL_MODELVIEW);
    CHECK(Matrix(GL_MODELVIEW_MATRIX) == modelview);
    CHECK(Matrix(GL_PROJECTION_MATRIX) == projection);
    CHECK(Integer(GL_PROJECTION_STACK_DEPTH) == 1);
    CHECK(Integer(GL_MODELVIEW_STACK_DEPTH) == 1);
}

namespace {

// Draws `text` across the whole viewport in white over black and counts lit pixels.
int LitPixels(EglPbufferContext& context, CGLFont& font, const char* text, float width)
{
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    font.DrawString(0.0f, 0.0f, width, 1.0f, text);
    const std::vector<unsigned char> pixels = context.ReadPixels();
    int lit = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 4)
        lit += pixels[i] > 8;
    return lit;
}

} // namespace

TEST_CASE("the shipped atlas loads clamped and draws glyphs, gaps, and solid blocks without a texture")
{
    EglPbufferContext context(kSize, kSize);
    CGLFont font;
    font.Load(139, true);
    REQUIRE(font.m_texture != 0);
    GLint wrap = 0, filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    CHECK(wrap == GL_CLAMP);
    CHECK(filter == GL_LINEAR);

    CHECK(LitPixels(context, font, "\xEC\xED\xEE\xEF", 0.25f) == 0);
    const int symbol = LitPixels(context, font, "\xF0", 1.0f);
    CHECK(symbol > kSize * kSize / 20);
    CHECK(symbol < kSize * kSize * 9 / 10);
    CHECK(LitPixels(context, font, "W", 1.0f) > kSize * kSize / 20);

    // A failed atlas leaves texture 0: the squares come out as solid blocks.
    font.m_texture = 0;
    CHECK(LitPixels(context, font, "W", 1.0f) == kSize * kSize);
}

TEST_CASE("a failure passing through the font's loader names both operations")
{
    EglPbufferContext context(16, 16);
    g_callChain.clear();
    SetResourceLookup([](int) -> std::optional<ResourceBytes> { throw 0; });
    CGLFont font;
    CHECK_THROWS(font.Load(139, false));
    SetResourceLookup({});
    CHECK(g_callChain == "CGLFont::Load() -> LoadTGAResource()");
    g_callChain.clear();
}
