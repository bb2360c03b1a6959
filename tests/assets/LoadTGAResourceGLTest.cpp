// The texture loader against a real OpenGL implementation (an EGL pbuffer).
#include "TestResources.h"
#include "TgaBuilder.h"
#include "app/CallChain.h"
#include "assets/LoadTGAResource.h"
#include "platform/EglPbufferContext_Linux.h"

#include <doctest/doctest.h>

#include <memory>

namespace {

GLint TexParameter(GLenum name)
{
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

GLint Integer(GLenum name)
{
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

std::vector<unsigned char> TextureImage(int width, int height)
{
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 4, 0xCD);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// A fresh context for each test: nothing enabled, nothing bound, default alignment.
struct GLFixture {
    EglPbufferContext context{64, 64};
    TestResources resources;
    GLFixture() { REQUIRE_FALSE(context.Renderer().empty()); }
};

} // namespace

TEST_CASE_FIXTURE(GLFixture, "a loaded texture holds the decoded pixels, stored rows first, as RGBA without mipmaps")
{
    // 4 x 2, colour-mapped: the first stored row becomes texture row 0 (t = 0).
    resources.Add(500, TgaBuilder::Mapped(4, 2, {0, 1, 2, 3, 10, 20, 30, 40}).Bytes());
    GLuint texture = 77;
    LoadTGAResource(500, texture, true, GL_REPEAT);
    REQUIRE(texture != 0);
    CHECK(glGetError() == GL_NO_ERROR);
    CHECK(glIsEnabled(GL_TEXTURE_2D));
    CHECK(Integer(GL_TEXTURE_BINDING_2D) == static_cast<GLint>(texture));
    CHECK(Integer(GL_UNPACK_ALIGNMENT) == 1);

    GLint width = 0, height = 0, format = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    CHECK(width == 4);
    CHECK(height == 2);
    CHECK((format == GL_RGBA || format == GL_RGBA8));
    GLint levelOneWidth = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &levelOneWidth);
    CHECK(levelOneWidth == 0);

    const std::vector<unsigned char> pixels = TextureImage(4, 2);
    const unsigned char indices[] = {0, 1, 2, 3, 10, 20, 30, 40};
    for (int i = 0; i < 8; ++i) {
        CAPTURE(i);
        const int entry = indices[i];
        // Map entry i is stored blue, green, red = (i, 255 - i, i ^ 0x5A).
        CHECK(pixels[i * 4 + 0] == (entry ^ 0x5A));
        CHECK(pixels[i * 4 + 1] == 255 - entry);
        CHECK(pixels[i * 4 + 2] == entry);
        CHECK(pixels[i * 4 + 3] == 255);
    }
}

TEST_CASE_FIXTURE(GLFixture, "the smoothing flag picks both filters and the wrap mode goes to both directions")
{
    resources.Add(501, TgaBuilder::Grey(2, 2, {0, 64, 128, 255}).Bytes());
    struct Case {
        bool smooth;
        GLint wrap;
        GLint filter;
    };
    for (const Case c : {Case{true, GL_REPEAT, GL_LINEAR}, Case{false, GL_REPEAT, GL_NEAREST}, Case{true, GL_CLAMP, GL_LINEAR},
                         Case{false, GL_CLAMP, GL_NEAREST}}) {
        CAPTURE(c.smooth);
        CAPTURE(c.wrap);
        GLuint texture = 0;
        LoadTGAResource(501, texture, c.smooth, c.wrap);
        REQUIRE(texture != 0);
        CHECK(Integer(GL_TEXTURE_BINDING_2D) == static_cast<GLint>(texture));
        CHECK(TexParameter(GL_TEXTURE_MIN_FILTER) == c.filter);
        CHECK(TexParameter(GL_TEXTURE_MAG_FILTER) == c.filter);
        CHECK(TexParameter(GL_TEXTURE_WRAP_S) == c.wrap);
        CHECK(TexParameter(GL_TEXTURE_WRAP_T) == c.wrap);
        const std::vector<unsigned char> pixels = TextureImage(2, 2);
        CHECK(pixels == std::vector<unsigned char>{255, 255, 255, 0, 255, 255, 255, 64, 255, 255, 255, 128, 255, 255, 255, 255});
    }
    CHECK(glGetError() == GL_NO_ERROR);
}

TEST_CASE_FIXTURE(GLFixture, "refusals leave the identifier 0 and touch no OpenGL state")
{
    resources.Add(600, TgaBuilder::TrueColour(2, 2, 16, std::vector<unsigned char>(8, 1)).Bytes());
    auto truncated = TgaBuilder::Mapped(4, 4, std::vector<unsigned char>(16, 1)).Bytes();
    truncated.resize(truncated.size() - 1);
    resources.Add(601, truncated);
    for (int id : {599 /* not there */, 600, 601}) {
        CAPTURE(id);
        GLuint texture = 12345;
        LoadTGAResource(id, texture, true, GL_REPEAT);
        CHECK(texture == 0);
        CHECK_FALSE(glIsEnabled(GL_TEXTURE_2D));
        CHECK(Integer(GL_TEXTURE_BINDING_2D) == 0);
        CHECK(Integer(GL_UNPACK_ALIGNMENT) == 4);
    }
    // No texture name was taken either: the first one generated now is the first of all.
    GLuint first = 0;
    glGenTextures(1, &first);
    CHECK(first == 1);
    CHECK(glGetError() == GL_NO_ERROR);
}

TEST_CASE_FIXTURE(GLFixture, "a failure passing through the loader adds its name to the call chain")
{
    g_callChain.clear();
    SetResourceLookup([](int) -> std::optional<ResourceBytes> { throw 0; });
    GLuint texture = 5;
    CHECK_THROWS(LoadTGAResource(133, texture, true, GL_REPEAT));
    CHECK(g_callChain == "LoadTGAResource()");
    g_callChain.clear();
}

TEST_CASE("the six shipped textures load from the embedded resources with their sizes")
{
    EglPbufferContext context(16, 16);
    for (const auto& [id, size] : {std::pair{133, 64}, std::pair{137, 256}, std::pair{138, 256}, std::pair{139, 256},
                                   std::pair{140, 256}, std::pair{141, 64}}) {
        CAPTURE(id);
        GLuint texture = 0;
        LoadTGAResource(id, texture, true, GL_REPEAT);
        REQUIRE(texture != 0);
        GLint width = 0, height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        CHECK(width == size);
        CHECK(height == size);
    }
    CHECK(glGetError() == GL_NO_ERROR);
}
