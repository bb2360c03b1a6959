#include "RecordingGL.h"

#include "render/GLHeaders.h"

#include <cstdarg>
#include <cstdio>

std::vector<std::string>& RecordedGLCalls()
{
    static std::vector<std::string> calls;
    return calls;
}

namespace {

void Record(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Record(const char* format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    RecordedGLCalls().push_back(text);
}

GLuint g_nextTexture = 1;

} // namespace

extern "C" {

void glEnable(GLenum cap) { Record("glEnable(0x%X)", cap); }
void glDisable(GLenum cap) { Record("glDisable(0x%X)", cap); }
void glPixelStorei(GLenum name, GLint value) { Record("glPixelStorei(0x%X, %d)", name, value); }
void glGenTextures(GLsizei n, GLuint* textures)
{
    for (GLsizei i = 0; i < n; ++i)
        textures[i] = g_nextTexture++;
    Record("glGenTextures(%d) -> %u", n, textures[0]);
}
void glBindTexture(GLenum target, GLuint texture) { Record("glBindTexture(0x%X, %u)", target, texture); }
void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border, GLenum format,
                  GLenum type, const void* pixels)
{
    const unsigned char* p = static_cast<const unsigned char*>(pixels);
    Record("glTexImage2D(0x%X, %d, 0x%X, %d, %d, %d, 0x%X, 0x%X, first pixel %u %u %u %u)", target, level, internalFormat, width,
           height, border, format, type, p[0], p[1], p[2], p[3]);
}
void glTexParameteri(GLenum target, GLenum name, GLint value) { Record("glTexParameteri(0x%X, 0x%X, 0x%X)", target, name, value); }
void glMatrixMode(GLenum mode) { Record("glMatrixMode(0x%X)", mode); }
void glPushMatrix() { Record("glPushMatrix()"); }
void glPopMatrix() { Record("glPopMatrix()"); }
void glLoadIdentity() { Record("glLoadIdentity()"); }
void glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f)
{
    Record("glOrtho(%g, %g, %g, %g, %g, %g)", l, r, b, t, n, f);
}
void glPushAttrib(GLbitfield mask) { Record("glPushAttrib(0x%X)", mask); }
void glPopAttrib() { Record("glPopAttrib()"); }
void glBlendFunc(GLenum s, GLenum d) { Record("glBlendFunc(0x%X, 0x%X)", s, d); }
void glBegin(GLenum mode) { Record("glBegin(0x%X)", mode); }
void glEnd() { Record("glEnd()"); }
void glTexCoord2f(GLfloat s, GLfloat t) { Record("glTexCoord2f(%.9g, %.9g)", s, t); }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { Record("glVertex3f(%.9g, %.9g, %.9g)", x, y, z); }

} // extern "C"
