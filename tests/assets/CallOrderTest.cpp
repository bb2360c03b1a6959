// The exact sequence of OpenGL calls of the texture upload and of one string.
#include "RecordingGL.h"
#include "TestResources.h"
#include "TgaBuilder.h"
#include "assets/CGLFont.h"
#include "assets/LoadTGAResource.h"

#include <doctest/doctest.h>

using Calls = std::vector<std::string>;

TEST_CASE("the upload enables texturing, sets the alignment, then creates, fills and configures the texture")
{
    TestResources resources;
    resources.Add(700, TgaBuilder::Grey(2, 4, {9, 8, 7, 6, 5, 4, 3, 2}).Bytes());
    RecordedGLCalls().clear();
    GLuint texture = 0;
    LoadTGAResource(700, texture, false, GL_CLAMP);
    CHECK(RecordedGLCalls() == Calls{
                                   "glEnable(0xDE1)",           // GL_TEXTURE_2D
                                   "glPixelStorei(0xCF5, 1)",   // GL_UNPACK_ALIGNMENT
                                   "glGenTextures(1) -> " + std::to_string(texture),
                                   "glBindTexture(0xDE1, " + std::to_string(texture) + ")",
                                   "glTexImage2D(0xDE1, 0, 0x1908, 2, 4, 0, 0x1908, 0x1401, first pixel 255 255 255 9)",
                                   "glTexParameteri(0xDE1, 0x2802, 0x2900)", // wrap s, GL_CLAMP
                                   "glTexParameteri(0xDE1, 0x2803, 0x2900)", // wrap t
                                   "glTexParameteri(0xDE1, 0x2801, 0x2600)", // min filter, GL_NEAREST
                                   "glTexParameteri(0xDE1, 0x2800, 0x2600)", // mag filter
                               });

    RecordedGLCalls().clear();
    LoadTGAResource(700, texture, true, GL_REPEAT);
    const Calls& calls = RecordedGLCalls();
    REQUIRE(calls.size() == 9);
    CHECK(calls[5] == "glTexParameteri(0xDE1, 0x2802, 0x2901)");
    CHECK(calls[7] == "glTexParameteri(0xDE1, 0x2801, 0x2601)");
    CHECK(calls[8] == "glTexParameteri(0xDE1, 0x2800, 0x2601)");
}

TEST_CASE("a refused image makes no OpenGL call at all")
{
    TestResources resources;
    resources.Add(701, TgaBuilder::TrueColour(1, 1, 16, {1, 2}).Bytes());
    RecordedGLCalls().clear();
    GLuint texture = 3;
    LoadTGAResource(701, texture, true, GL_REPEAT);
    LoadTGAResource(702, texture, true, GL_REPEAT);
    CHECK(texture == 0);
    CHECK(RecordedGLCalls().empty());
}

TEST_CASE("a string is framed by the 2D matrices and its enable flags, one quads block for all of it")
{
    CGLFont font;
    font.m_texture = 42;
    RecordedGLCalls().clear();
    font.DrawString(0.5f, 0.25f, 0.125f, 0.5f, "A");
    CHECK(RecordedGLCalls() == Calls{
                                   "glMatrixMode(0x1701)", // projection
                                   "glPushMatrix()",
                                   "glLoadIdentity()",
                                   "glOrtho(0, 1, 0, 1, -1, 1)",
                                   "glMatrixMode(0x1700)", // modelview
                                   "glPushMatrix()",
                                   "glLoadIdentity()",
                                   "glPushAttrib(0x2000)", // GL_ENABLE_BIT
                                   "glDisable(0xB44)",     // culling
                                   "glBindTexture(0xDE1, 42)",
                                   "glEnable(0xBE2)", // blending
                                   "glBlendFunc(0x302, 0x303)",
                                   "glBegin(0x7)", // quads
                                   "glTexCoord2f(0.0625, 0.75)",
                                   "glVertex3f(0.5, 0.75, -0.5)",
                                   "glTexCoord2f(0.125, 0.75)",
                                   "glVertex3f(0.625, 0.75, -0.5)",
                                   "glTexCoord2f(0.125, 0.6875)",
                                   "glVertex3f(0.625, 0.25, -0.5)",
                                   "glTexCoord2f(0.0625, 0.6875)",
                                   "glVertex3f(0.5, 0.25, -0.5)",
                                   "glEnd()",
                                   "glPopAttrib()",
                                   "glMatrixMode(0x1701)",
                                   "glPopMatrix()",
                                   "glMatrixMode(0x1700)",
                                   "glPopMatrix()",
                               });
}

TEST_CASE("every byte draws a cell, an empty string an empty block")
{
    CGLFont font;
    RecordedGLCalls().clear();
    font.DrawString(0, 0, 0.1f, 0.1f, "\x01\xFF\x20");
    int vertices = 0;
    for (const std::string& call : RecordedGLCalls())
        vertices += call.rfind("glVertex3f", 0) == 0;
    CHECK(vertices == 12);
    // The last byte (0x20, blank) sits at i = 2: its last corner is left 0.2, bottom 0.9.
    CHECK(RecordedGLCalls()[RecordedGLCalls().size() - 7] == "glVertex3f(0.200000003, 0.899999976, -0.5)");

    RecordedGLCalls().clear();
    font.DrawString(0, 0, 0.1f, 0.1f, "");
    const Calls& calls = RecordedGLCalls();
    REQUIRE(calls.size() == 19);
    CHECK(calls[12] == "glBegin(0x7)");
    CHECK(calls[13] == "glEnd()");
}
