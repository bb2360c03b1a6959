#include "tests/render/RecordingGL.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace rgl {
namespace {

// The switches the core may touch; any other is an error.
constexpr GLenum kSwitches[] = {GL_DEPTH_TEST, GL_CULL_FACE, GL_TEXTURE_2D, GL_BLEND, GL_DITHER, GL_SCISSOR_TEST};
constexpr int kMaxAttribDepth = 16;
constexpr int kMaxDepth[] = {32, 2}; // modelview, projection: the least OpenGL guarantees

struct Model {
    unsigned enables = 0;
    unsigned attribStack[kMaxAttribDepth] = {};
    int attribDepth = 0;
    int matrixDepth[2] = {1, 1};
    int matrixMode = 0;
    GLint viewport[4] = {};
    GLint scissor[4] = {};
    ViewportCall viewportCalls[8] = {};
    int viewportCallCount = 0;
    int scissorCalls = 0;
    int vertices = 0;
    bool depthMask = true;
    GLuint nextName = 1;
    bool inBegin = false;
    bool strict = false;
    int failCountdown = 0;
    std::string firstError;
};

Model g;

void Error(const std::string& what)
{
    if (g.firstError.empty())
        g.firstError = what;
}

// Every call but vertices, colours and texture coordinates is misuse inside glBegin.
void Outside(const char* function)
{
    if (g.inBegin)
        Error(std::string(function) + " inside glBegin");
}

unsigned Bit(GLenum cap)
{
    const auto* found = std::find(std::begin(kSwitches), std::end(kSwitches), cap);
    if (found == std::end(kSwitches)) {
        Error("unknown switch " + std::to_string(cap));
        return 0;
    }
    return 1u << (found - std::begin(kSwitches));
}

void Switch(GLenum cap, bool on, const char* function)
{
    Outside(function);
    if (g.strict && g.attribDepth == 0)
        Error(std::string(function) + " outside a saved block");
    g.enables = on ? g.enables | Bit(cap) : g.enables & ~Bit(cap);
}

void Matrix(int delta, const char* function)
{
    Outside(function);
    int& depth = g.matrixDepth[g.matrixMode];
    depth += delta;
    if (depth < 1 || depth > kMaxDepth[g.matrixMode])
        Error(std::string(function) + " leaves the stack at depth " + std::to_string(depth));
}

} // namespace

void Reset(int width, int height)
{
    g = Model{};
    g.viewport[2] = g.scissor[2] = width;
    g.viewport[3] = g.scissor[3] = height;
}

void SetStrictEnables(bool on) { g.strict = on; }
void FailAtBegin(int n) { g.failCountdown = n; }
int ViewportCalls() { return g.viewportCallCount; }
const ViewportCall& ViewportCallAt(int i) { return g.viewportCalls[i]; }
int ScissorCalls() { return g.scissorCalls; }
void Box(GLenum what, int (&box)[4]) { std::copy_n(what == GL_VIEWPORT ? g.viewport : g.scissor, 4, box); }
int Vertices() { return g.vertices; }
const std::string& FirstError() { return g.firstError; }
unsigned Enables() { return g.enables; }
int AttribDepth() { return g.attribDepth; }
int MatrixDepth(GLenum mode) { return g.matrixDepth[mode == GL_PROJECTION ? 1 : 0]; }
bool DepthMask() { return g.depthMask; }

} // namespace rgl

using rgl::g;

extern "C" {

void GLAPIENTRY glEnable(GLenum cap) { rgl::Switch(cap, true, "glEnable"); }
void GLAPIENTRY glDisable(GLenum cap) { rgl::Switch(cap, false, "glDisable"); }

void GLAPIENTRY glPushAttrib(GLbitfield mask)
{
    rgl::Outside("glPushAttrib");
    if (mask != GL_ENABLE_BIT || g.attribDepth == rgl::kMaxAttribDepth)
        return rgl::Error("glPushAttrib other than one level of GL_ENABLE_BIT");
    g.attribStack[g.attribDepth++] = g.enables;
}

void GLAPIENTRY glPopAttrib()
{
    rgl::Outside("glPopAttrib");
    if (g.attribDepth == 0)
        return rgl::Error("glPopAttrib on an empty stack");
    g.enables = g.attribStack[--g.attribDepth];
}

void GLAPIENTRY glMatrixMode(GLenum mode)
{
    rgl::Outside("glMatrixMode");
    g.matrixMode = mode == GL_PROJECTION ? 1 : 0;
    if (mode != GL_PROJECTION && mode != GL_MODELVIEW)
        rgl::Error("glMatrixMode other than modelview and projection");
}

void GLAPIENTRY glPushMatrix() { rgl::Matrix(1, "glPushMatrix"); }
void GLAPIENTRY glPopMatrix() { rgl::Matrix(-1, "glPopMatrix"); }
void GLAPIENTRY glLoadIdentity() { rgl::Outside("glLoadIdentity"); }
void GLAPIENTRY glOrtho(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) { rgl::Outside("glOrtho"); }

void GLAPIENTRY glGetDoublev(GLenum pname, GLdouble* params)
{
    rgl::Outside("glGetDoublev");
    if (pname != GL_VIEWPORT)
        return rgl::Error("glGetDoublev of other than the viewport");
    std::copy(std::begin(g.viewport), std::end(g.viewport), params);
}

void GLAPIENTRY glGetIntegerv(GLenum pname, GLint* params)
{
    rgl::Outside("glGetIntegerv");
    if (pname != GL_VIEWPORT && pname != GL_SCISSOR_BOX)
        return rgl::Error("glGetIntegerv of other than the viewport and the scissor box");
    std::copy_n(pname == GL_VIEWPORT ? g.viewport : g.scissor, 4, params);
}

void GLAPIENTRY glViewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    rgl::Outside("glViewport");
    g.viewport[0] = x, g.viewport[1] = y, g.viewport[2] = width, g.viewport[3] = height;
    if (g.viewportCallCount < static_cast<int>(std::size(g.viewportCalls)))
        g.viewportCalls[g.viewportCallCount] = {x, y, width, height, g.vertices, 0.0};
    ++g.viewportCallCount;
}

void GLAPIENTRY glScissor(GLint x, GLint y, GLsizei width, GLsizei height)
{
    rgl::Outside("glScissor");
    g.scissor[0] = x, g.scissor[1] = y, g.scissor[2] = width, g.scissor[3] = height;
    ++g.scissorCalls;
}

void GLAPIENTRY glRasterPos2i(GLint, GLint) { rgl::Outside("glRasterPos2i"); }

// A view copied to its place must arrive as it was drawn.
void GLAPIENTRY glCopyPixels(GLint, GLint, GLsizei, GLsizei, GLenum type)
{
    rgl::Outside("glCopyPixels");
    if (type != GL_COLOR || (g.enables & (rgl::Bit(GL_TEXTURE_2D) | rgl::Bit(GL_DEPTH_TEST) | rgl::Bit(GL_BLEND))))
        rgl::Error("glCopyPixels other than colour as it is");
}

// GLU's projections end here; the aspect of each goes to the viewport set before it.
void GLAPIENTRY glMultMatrixd(const GLdouble* m)
{
    rgl::Outside("glMultMatrixd");
    if (g.matrixMode == 1 && g.viewportCallCount > 0 && g.viewportCallCount <= 8 && m[0] != 0.0)
        g.viewportCalls[g.viewportCallCount - 1].aspect = m[5] / m[0];
}

// An off-centre projection, recorded as GLU's are.
void GLAPIENTRY glFrustum(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble)
{
    const GLdouble m[16] = {2 * zNear / (right - left), 0, 0, 0, 0, 2 * zNear / (top - bottom)};
    glMultMatrixd(m);
}

void GLAPIENTRY glBegin(GLenum)
{
    rgl::Outside("glBegin");
    if (g.failCountdown > 0 && --g.failCountdown == 0)
        throw 0;
    g.inBegin = true;
}

void GLAPIENTRY glEnd()
{
    if (!g.inBegin)
        rgl::Error("glEnd without glBegin");
    g.inBegin = false;
}

static void Vertex(const char* function)
{
    ++g.vertices;
    if (!g.inBegin)
        rgl::Error(std::string(function) + " outside glBegin");
}
void GLAPIENTRY glVertex3f(GLfloat, GLfloat, GLfloat) { Vertex("glVertex3f"); }
void GLAPIENTRY glVertex3fv(const GLfloat*) { Vertex("glVertex3fv"); }
void GLAPIENTRY glVertex3d(GLdouble, GLdouble, GLdouble) { Vertex("glVertex3d"); }
void GLAPIENTRY glColor3f(GLfloat, GLfloat, GLfloat) {}
void GLAPIENTRY glColor3fv(const GLfloat*) {}
void GLAPIENTRY glColor3d(GLdouble, GLdouble, GLdouble) {}
void GLAPIENTRY glColor4f(GLfloat, GLfloat, GLfloat, GLfloat) {}
void GLAPIENTRY glColor4d(GLdouble, GLdouble, GLdouble, GLdouble) {}
void GLAPIENTRY glTexCoord2f(GLfloat, GLfloat) {}
void GLAPIENTRY glTexCoord2d(GLdouble, GLdouble) {}

void GLAPIENTRY glClear(GLbitfield)
{
    rgl::Outside("glClear");
    // A clear with the depth mask off leaves the depth buffer as the last frame left it.
    if (!g.depthMask)
        rgl::Error("glClear with the depth mask off");
}

void GLAPIENTRY glDepthMask(GLboolean flag)
{
    rgl::Outside("glDepthMask");
    g.depthMask = flag != GL_FALSE;
}

void GLAPIENTRY glBlendFunc(GLenum, GLenum) { rgl::Outside("glBlendFunc"); }

void GLAPIENTRY glClearColor(GLclampf, GLclampf, GLclampf, GLclampf) { rgl::Outside("glClearColor"); }
void GLAPIENTRY glClearDepth(GLclampd) { rgl::Outside("glClearDepth"); }
void GLAPIENTRY glDepthFunc(GLenum) { rgl::Outside("glDepthFunc"); }
void GLAPIENTRY glFrontFace(GLenum) { rgl::Outside("glFrontFace"); }
void GLAPIENTRY glCullFace(GLenum) { rgl::Outside("glCullFace"); }
void GLAPIENTRY glLineWidth(GLfloat) { rgl::Outside("glLineWidth"); }
void GLAPIENTRY glPixelStorei(GLenum, GLint) { rgl::Outside("glPixelStorei"); }

void GLAPIENTRY glGenTextures(GLsizei n, GLuint* names)
{
    rgl::Outside("glGenTextures");
    for (GLsizei i = 0; i < n; ++i)
        names[i] = g.nextName++;
}

void GLAPIENTRY glBindTexture(GLenum, GLuint) { rgl::Outside("glBindTexture"); }

void GLAPIENTRY glTexImage2D(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const GLvoid*)
{
    rgl::Outside("glTexImage2D");
}
void GLAPIENTRY glTexParameteri(GLenum, GLenum, GLint) { rgl::Outside("glTexParameteri"); }

} // extern "C"
