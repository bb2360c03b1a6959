// The headless context the GL-level tests and the offscreen renderer stand on.
#include "platform/EglPbufferContext_Linux.h"

#include <GL/gl.h>
#include <doctest/doctest.h>

#include <stdexcept>

TEST_CASE("a pbuffer context is current, names its renderer, and reads back rows bottom-up, tightly packed")
{
    // An odd width: rows of 7 x 4 bytes would be padded under a pack alignment of 8.
    EglPbufferContext context(7, 3);
    CHECK(context.Width() == 7);
    CHECK(context.Height() == 3);
    CHECK_FALSE(context.Renderer().empty());
    CHECK_FALSE(context.Version().empty());
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    CHECK(viewport[2] == 7);
    CHECK(viewport[3] == 3);

    glPixelStorei(GL_PACK_ALIGNMENT, 8);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 7, 1); // the bottom row only
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);

    const std::vector<unsigned char> pixels = context.ReadPixels();
    REQUIRE(pixels.size() == 7 * 3 * 4);
    for (int x = 0; x < 7; ++x) {
        CAPTURE(x);
        CHECK(pixels[static_cast<std::size_t>(x) * 4] == 255);            // row 0: the bottom, red
        CHECK(pixels[static_cast<std::size_t>(x) * 4 + 2] == 0);
        CHECK(pixels[(2 * 7 + static_cast<std::size_t>(x)) * 4 + 2] == 255); // row 2: blue
    }
    GLint alignment = 0;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    CHECK(alignment == 8); // the caller's setting is put back
}

TEST_CASE("contexts can follow one another in one process")
{
    for (int i = 0; i < 3; ++i) {
        EglPbufferContext context(16 + i, 16);
        CHECK(context.ReadPixels().size() == static_cast<std::size_t>(16 + i) * 16 * 4);
    }
    CHECK_THROWS_AS(EglPbufferContext(0, 16), std::runtime_error);
}
