#include "tests/render/RecordingGL.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace rgl {
namespace {

constexpr int kMaxAttribDepth = 16;
constexpr int kMaxModelviewDepth = 32;
constexpr int kMaxProjectionDepth = 2; // the smallest depth OpenGL guarantees
constexpr int kMaxTextures = 64;

// The switches the renderer and its helpers may touch; anything else is an error.
constexpr GLenum kKnownCaps[] = {
    GL_DEPTH_TEST, GL_CULL_FACE, GL_TEXTURE_2D, GL_BLEND, GL_DITHER, GL_LIGHTING, GL_FOG,
    GL_ALPHA_TEST, GL_SCISSOR_TEST, GL_STENCIL_TEST, GL_TEXTURE_1D, GL_NORMALIZE,
    GL_LINE_SMOOTH, GL_COLOR_MATERIAL, GL_POLYGON_OFFSET_FILL,
};
constexpr int kCapCount = static_cast<int>(sizeof kKnownCaps / sizeof kKnownCaps[0]);

struct Enables {
    bool on[kCapCount];
};

struct Matrix4 {
    double m[16];
};

struct MatrixStack {
    Matrix4 entries[kMaxModelviewDepth];
    int depth; // index of the top entry
    int limit;
};

struct Model {
    Enables enables;
    Enables attribStack[kMaxAttribDepth];
    int attribDepth;
    MatrixStack modelview;
    MatrixStack projection;
    MatrixStack texture;
    GLenum matrixMode;
    GLint viewport[4];
    float color[4];
    float texCoord[2];
    bool depthMask;
    GLenum blendSrc, blendDst;
    GLenum depthFunc;
    GLenum frontFace;
    GLenum cullFaceMode;
    float lineWidth;
    float clearColor[4];
    double clearDepth;
    GLuint boundTexture;
    int unpackAlignment;
    TextureInfo textures[kMaxTextures];
    GLuint nextTexture;
    bool inBegin;
    GLenum beginMode;
    std::size_t beginFirst;
    std::size_t beginCount;
    int clearCount;
    int errors;
    char firstError[256];
    bool logging;
    bool strictEnables;
    const char* failFunction;
    int failCountdown;
};

Model g;
std::vector<Primitive> g_primitives;
std::vector<Vertex> g_vertices;
std::vector<Event> g_events;

__attribute__((format(printf, 1, 2))) void Error(const char* format, ...)
{
    if (g.errors++ != 0)
        return;
    va_list args;
    va_start(args, format);
    std::vsnprintf(g.firstError, sizeof g.firstError, format, args);
    va_end(args);
}

int CapIndex(GLenum cap)
{
    for (int i = 0; i < kCapCount; ++i)
        if (kKnownCaps[i] == cap)
            return i;
    return -1;
}

void Identity(Matrix4& matrix)
{
    for (int i = 0; i < 16; ++i)
        matrix.m[i] = (i % 5 == 0) ? 1.0 : 0.0;
}

void InitStack(MatrixStack& stack, int limit)
{
    stack.depth = 0;
    stack.limit = limit;
    Identity(stack.entries[0]);
}

MatrixStack& CurrentStack()
{
    if (g.matrixMode == GL_PROJECTION)
        return g.projection;
    if (g.matrixMode == GL_TEXTURE)
        return g.texture;
    return g.modelview;
}

MatrixStack* StackFor(GLenum mode)
{
    if (mode == GL_PROJECTION)
        return &g.projection;
    if (mode == GL_TEXTURE)
        return &g.texture;
    if (mode == GL_MODELVIEW)
        return &g.modelview;
    return nullptr;
}

Matrix4& Top()
{
    MatrixStack& stack = CurrentStack();
    return stack.entries[stack.depth];
}

// top = top * other (column-major)
void MultiplyTop(const double* other)
{
    Matrix4& top = Top();
    double result[16];
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += top.m[k * 4 + row] * other[col * 4 + k];
            result[col * 4 + row] = sum;
        }
    std::memcpy(top.m, result, sizeof result);
}

void Transform(const Matrix4& matrix, const double in[4], double out[4])
{
    for (int row = 0; row < 4; ++row)
        out[row] = matrix.m[row] * in[0] + matrix.m[4 + row] * in[1] + matrix.m[8 + row] * in[2] +
                   matrix.m[12 + row] * in[3];
}

void Log(Event::Kind kind, GLenum a = 0, GLenum b = 0)
{
    if (g.logging)
        g_events.push_back(Event{kind, a, b, g.attribDepth});
}

void MaybeFail(const char* function)
{
    if (g.failFunction == nullptr || std::strcmp(g.failFunction, function) != 0)
        return;
    if (--g.failCountdown == 0) {
        g.failFunction = nullptr;
        throw 0;
    }
}

// Any call that is not per-vertex data is illegal between glBegin and glEnd.
bool Outside(const char* name)
{
    if (g.inBegin) {
        Error("%s called between glBegin and glEnd", name);
        return false;
    }
    return true;
}

void SetCap(GLenum cap, bool on, const char* name)
{
    if (!Outside(name))
        return;
    const int index = CapIndex(cap);
    if (index < 0) {
        Error("%s of an unknown switch 0x%lx", name, static_cast<long>(cap));
        return;
    }
    if (g.strictEnables && g.attribDepth == 0)
        Error("%s(0x%lx) outside any saved attribute block", name, static_cast<long>(cap));
    g.enables.on[index] = on;
    Log(on ? Event::Enable : Event::Disable, cap);
}

void AddVertex(double x, double y, double z)
{
    if (!g.inBegin) {
        Error("glVertex outside glBegin/glEnd");
        return;
    }
    ++g.beginCount;
    if (!g.logging)
        return;
    const double object[4] = {x, y, z, 1.0};
    double eye[4];
    double clip[4];
    Transform(g.modelview.entries[g.modelview.depth], object, eye);
    Transform(g.projection.entries[g.projection.depth], eye, clip);
    Vertex vertex;
    vertex.x = static_cast<float>(x);
    vertex.y = static_cast<float>(y);
    vertex.z = static_cast<float>(z);
    vertex.r = g.color[0];
    vertex.g = g.color[1];
    vertex.b = g.color[2];
    vertex.a = g.color[3];
    vertex.s = g.texCoord[0];
    vertex.t = g.texCoord[1];
    vertex.w = clip[3];
    const double w = clip[3] != 0.0 ? clip[3] : 1.0;
    vertex.nx = clip[0] / w;
    vertex.ny = clip[1] / w;
    vertex.nz = clip[2] / w;
    g_vertices.push_back(vertex);
}

void SetColor(double r, double gr, double b, double a)
{
    g.color[0] = static_cast<float>(r);
    g.color[1] = static_cast<float>(gr);
    g.color[2] = static_cast<float>(b);
    g.color[3] = static_cast<float>(a);
}

TextureInfo* BoundInfo()
{
    if (g.boundTexture == 0 || g.boundTexture >= static_cast<GLuint>(kMaxTextures))
        return nullptr;
    return &g.textures[g.boundTexture];
}

void GetState(GLenum pname, double* out, const char* name)
{
    if (!Outside(name))
        return;
    switch (pname) {
    case GL_VIEWPORT:
        for (int i = 0; i < 4; ++i)
            out[i] = g.viewport[i];
        return;
    case GL_MODELVIEW_MATRIX:
        std::memcpy(out, g.modelview.entries[g.modelview.depth].m, 16 * sizeof(double));
        return;
    case GL_PROJECTION_MATRIX:
        std::memcpy(out, g.projection.entries[g.projection.depth].m, 16 * sizeof(double));
        return;
    case GL_MATRIX_MODE:
        out[0] = g.matrixMode;
        return;
    default:
        Error("%s of an unmodelled value 0x%lx", name, static_cast<long>(pname));
        out[0] = 0.0;
    }
}

} // namespace

void Reset(int viewportWidth, int viewportHeight)
{
    g = Model{};
    g.enables.on[CapIndex(GL_DITHER)] = true; // OpenGL's initial state
    InitStack(g.modelview, kMaxModelviewDepth);
    InitStack(g.projection, kMaxProjectionDepth);
    InitStack(g.texture, kMaxProjectionDepth);
    g.matrixMode = GL_MODELVIEW;
    SetViewport(0, 0, viewportWidth, viewportHeight);
    SetColor(1, 1, 1, 1);
    g.depthMask = true;
    g.blendSrc = GL_ONE;
    g.blendDst = GL_ZERO;
    g.depthFunc = GL_LESS;
    g.frontFace = GL_CCW;
    g.cullFaceMode = GL_BACK;
    g.lineWidth = 1.0f;
    g.clearDepth = 1.0;
    g.unpackAlignment = 4;
    g.nextTexture = 1;
    g.logging = true;
    ClearLog();
    g_primitives.reserve(1 << 16);
    g_vertices.reserve(1 << 18);
    g_events.reserve(1 << 14);
}

void SetViewport(int x, int y, int width, int height)
{
    g.viewport[0] = x;
    g.viewport[1] = y;
    g.viewport[2] = width;
    g.viewport[3] = height;
}

void SetLogging(bool on) { g.logging = on; }

void FailAtCall(const char* function, int occurrence)
{
    g.failFunction = function;
    g.failCountdown = occurrence;
}
void SetStrictEnables(bool on) { g.strictEnables = on; }

void ClearLog()
{
    g_primitives.clear();
    g_vertices.clear();
    g_events.clear();
    g.clearCount = 0;
}

const std::vector<Primitive>& Primitives() { return g_primitives; }
const std::vector<Vertex>& Vertices() { return g_vertices; }
const std::vector<Event>& Events() { return g_events; }
int ErrorCount() { return g.errors; }
const char* FirstError() { return g.firstError; }

bool IsEnabled(GLenum cap)
{
    const int index = CapIndex(cap);
    return index >= 0 && g.enables.on[index];
}

int AttribDepth() { return g.attribDepth; }

int MatrixDepth(GLenum mode)
{
    const MatrixStack* stack = StackFor(mode);
    return stack ? stack->depth : -1;
}

GLenum CurrentMatrixMode() { return g.matrixMode; }

const double* Matrix(GLenum mode)
{
    const MatrixStack* stack = StackFor(mode);
    return stack ? stack->entries[stack->depth].m : nullptr;
}

bool DepthMask() { return g.depthMask; }
GLenum BlendSrc() { return g.blendSrc; }
GLenum BlendDst() { return g.blendDst; }
GLenum DepthFunc() { return g.depthFunc; }
GLenum FrontFace() { return g.frontFace; }
GLenum CullFaceMode() { return g.cullFaceMode; }
float LineWidth() { return g.lineWidth; }
const float* ClearColor() { return g.clearColor; }
double ClearDepth() { return g.clearDepth; }
GLuint BoundTexture() { return g.boundTexture; }
const float* CurrentColor() { return g.color; }
int UnpackAlignment() { return g.unpackAlignment; }

const TextureInfo* Texture(GLuint name)
{
    if (name == 0 || name >= g.nextTexture || name >= static_cast<GLuint>(kMaxTextures))
        return nullptr;
    return &g.textures[name];
}

int ClearCount() { return g.clearCount; }
bool InsideBegin() { return g.inBegin; }

} // namespace rgl

using namespace rgl;

// ---- The OpenGL entry points. Their declarations come from <GL/gl.h>. ----

extern "C" {

void GLAPIENTRY glEnable(GLenum cap) { SetCap(cap, true, "glEnable"); }
void GLAPIENTRY glDisable(GLenum cap) { SetCap(cap, false, "glDisable"); }

GLboolean GLAPIENTRY glIsEnabled(GLenum cap)
{
    Outside("glIsEnabled");
    return IsEnabled(cap) ? GL_TRUE : GL_FALSE;
}

void GLAPIENTRY glPushAttrib(GLbitfield mask)
{
    if (!Outside("glPushAttrib"))
        return;
    if (mask != GL_ENABLE_BIT)
        Error("glPushAttrib with a mask other than GL_ENABLE_BIT (0x%lx)", static_cast<long>(mask));
    if (g.attribDepth >= kMaxAttribDepth) {
        Error("glPushAttrib overflows the attribute stack");
        return;
    }
    g.attribStack[g.attribDepth++] = g.enables;
    Log(Event::PushAttrib, mask);
}

void GLAPIENTRY glPopAttrib()
{
    if (!Outside("glPopAttrib"))
        return;
    if (g.attribDepth == 0) {
        Error("glPopAttrib on an empty attribute stack");
        return;
    }
    g.enables = g.attribStack[--g.attribDepth];
    Log(Event::PopAttrib);
}

void GLAPIENTRY glMatrixMode(GLenum mode)
{
    if (!Outside("glMatrixMode"))
        return;
    if (StackFor(mode) == nullptr) {
        Error("glMatrixMode(0x%lx) unknown", static_cast<long>(mode));
        return;
    }
    g.matrixMode = mode;
    Log(Event::MatrixMode, mode);
}

void GLAPIENTRY glLoadIdentity()
{
    if (Outside("glLoadIdentity"))
        Identity(Top());
}

void GLAPIENTRY glPushMatrix()
{
    if (!Outside("glPushMatrix"))
        return;
    MatrixStack& stack = CurrentStack();
    if (stack.depth + 1 >= stack.limit) {
        Error("glPushMatrix overflows the stack of matrix mode 0x%lx", static_cast<long>(g.matrixMode));
        return;
    }
    stack.entries[stack.depth + 1] = stack.entries[stack.depth];
    ++stack.depth;
}

void GLAPIENTRY glPopMatrix()
{
    if (!Outside("glPopMatrix"))
        return;
    MatrixStack& stack = CurrentStack();
    if (stack.depth == 0) {
        Error("glPopMatrix on the empty stack of matrix mode 0x%lx", static_cast<long>(g.matrixMode));
        return;
    }
    --stack.depth;
}

void GLAPIENTRY glMultMatrixd(const GLdouble* m)
{
    if (Outside("glMultMatrixd"))
        MultiplyTop(m);
}

void GLAPIENTRY glMultMatrixf(const GLfloat* m)
{
    if (!Outside("glMultMatrixf"))
        return;
    double d[16];
    for (int i = 0; i < 16; ++i)
        d[i] = m[i];
    MultiplyTop(d);
}

void GLAPIENTRY glLoadMatrixd(const GLdouble* m)
{
    if (Outside("glLoadMatrixd"))
        std::memcpy(Top().m, m, 16 * sizeof(double));
}

void GLAPIENTRY glTranslated(GLdouble x, GLdouble y, GLdouble z)
{
    if (!Outside("glTranslated"))
        return;
    const double t[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
    MultiplyTop(t);
}

void GLAPIENTRY glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    glTranslated(x, y, z);
}

void GLAPIENTRY glScalef(GLfloat x, GLfloat y, GLfloat z)
{
    if (!Outside("glScalef"))
        return;
    const double s[16] = {x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1};
    MultiplyTop(s);
}

void GLAPIENTRY glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f)
{
    if (!Outside("glOrtho"))
        return;
    const double o[16] = {2 / (r - l), 0, 0, 0,
                          0, 2 / (t - b), 0, 0,
                          0, 0, -2 / (f - n), 0,
                          -(r + l) / (r - l), -(t + b) / (t - b), -(f + n) / (f - n), 1};
    MultiplyTop(o);
}

void GLAPIENTRY glGetDoublev(GLenum pname, GLdouble* params) { GetState(pname, params, "glGetDoublev"); }

void GLAPIENTRY glGetFloatv(GLenum pname, GLfloat* params)
{
    double values[16] = {};
    GetState(pname, values, "glGetFloatv");
    const int count = (pname == GL_MODELVIEW_MATRIX || pname == GL_PROJECTION_MATRIX) ? 16
                      : pname == GL_VIEWPORT                                          ? 4
                                                                                      : 1;
    for (int i = 0; i < count; ++i)
        params[i] = static_cast<float>(values[i]);
}

void GLAPIENTRY glGetIntegerv(GLenum pname, GLint* params)
{
    double values[16] = {};
    GetState(pname, values, "glGetIntegerv");
    const int count = (pname == GL_MODELVIEW_MATRIX || pname == GL_PROJECTION_MATRIX) ? 16
                      : pname == GL_VIEWPORT                                          ? 4
                                                                                      : 1;
    for (int i = 0; i < count; ++i)
        params[i] = static_cast<GLint>(values[i]);
}

const GLubyte* GLAPIENTRY glGetString(GLenum)
{
    return reinterpret_cast<const GLubyte*>("recording stand-in");
}

GLenum GLAPIENTRY glGetError() { return GL_NO_ERROR; }

void GLAPIENTRY glBegin(GLenum mode)
{
    if (!Outside("glBegin"))
        return;
    MaybeFail("glBegin");
    g.inBegin = true;
    g.beginMode = mode;
    g.beginFirst = g_vertices.size();
    g.beginCount = 0;
    Log(Event::Begin, mode);
}

void GLAPIENTRY glEnd()
{
    if (!g.inBegin) {
        Error("glEnd without glBegin");
        return;
    }
    g.inBegin = false;
    const std::size_t n = g.beginCount;
    bool whole = true;
    switch (g.beginMode) {
    case GL_QUADS: whole = n % 4 == 0; break;
    case GL_TRIANGLES: whole = n % 3 == 0; break;
    case GL_LINES: whole = n % 2 == 0; break;
    case GL_TRIANGLE_STRIP: whole = n == 0 || n >= 3; break;
    default: break;
    }
    if (!whole)
        Error("glEnd after %ld vertices that make no whole primitive of mode 0x%x", static_cast<long>(n), g.beginMode);
    if (!g.logging)
        return;
    Primitive primitive;
    primitive.mode = g.beginMode;
    primitive.first = g.beginFirst;
    primitive.count = n;
    primitive.texture = g.boundTexture;
    primitive.texture2D = IsEnabled(GL_TEXTURE_2D);
    primitive.blend = IsEnabled(GL_BLEND);
    primitive.depthTest = IsEnabled(GL_DEPTH_TEST);
    primitive.cullFace = IsEnabled(GL_CULL_FACE);
    primitive.depthMask = g.depthMask;
    primitive.blendSrc = g.blendSrc;
    primitive.blendDst = g.blendDst;
    primitive.attribDepth = g.attribDepth;
    g_primitives.push_back(primitive);
}

void GLAPIENTRY glVertex3f(GLfloat x, GLfloat y, GLfloat z) { AddVertex(x, y, z); }
void GLAPIENTRY glVertex3fv(const GLfloat* v) { AddVertex(v[0], v[1], v[2]); }
void GLAPIENTRY glVertex3d(GLdouble x, GLdouble y, GLdouble z) { AddVertex(x, y, z); }
void GLAPIENTRY glVertex2f(GLfloat x, GLfloat y) { AddVertex(x, y, 0.0); }
void GLAPIENTRY glVertex2fv(const GLfloat* v) { AddVertex(v[0], v[1], 0.0); }

void GLAPIENTRY glColor3f(GLfloat r, GLfloat gr, GLfloat b) { SetColor(r, gr, b, 1.0); }
void GLAPIENTRY glColor3fv(const GLfloat* v) { SetColor(v[0], v[1], v[2], 1.0); }
void GLAPIENTRY glColor3d(GLdouble r, GLdouble gr, GLdouble b) { SetColor(r, gr, b, 1.0); }
void GLAPIENTRY glColor4f(GLfloat r, GLfloat gr, GLfloat b, GLfloat a) { SetColor(r, gr, b, a); }
void GLAPIENTRY glColor4d(GLdouble r, GLdouble gr, GLdouble b, GLdouble a) { SetColor(r, gr, b, a); }

void GLAPIENTRY glTexCoord2f(GLfloat s, GLfloat t)
{
    g.texCoord[0] = s;
    g.texCoord[1] = t;
}

void GLAPIENTRY glTexCoord2d(GLdouble s, GLdouble t)
{
    g.texCoord[0] = static_cast<float>(s);
    g.texCoord[1] = static_cast<float>(t);
}

void GLAPIENTRY glClear(GLbitfield)
{
    if (!Outside("glClear"))
        return;
    ++g.clearCount;
    Log(Event::Clear);
}

void GLAPIENTRY glClearColor(GLclampf r, GLclampf gr, GLclampf b, GLclampf a)
{
    if (!Outside("glClearColor"))
        return;
    g.clearColor[0] = r;
    g.clearColor[1] = gr;
    g.clearColor[2] = b;
    g.clearColor[3] = a;
}

void GLAPIENTRY glClearDepth(GLclampd depth)
{
    if (Outside("glClearDepth"))
        g.clearDepth = depth;
}

void GLAPIENTRY glDepthFunc(GLenum func)
{
    if (Outside("glDepthFunc"))
        g.depthFunc = func;
}

void GLAPIENTRY glDepthMask(GLboolean flag)
{
    if (!Outside("glDepthMask"))
        return;
    g.depthMask = flag != GL_FALSE;
    Log(Event::DepthMask, flag);
}

void GLAPIENTRY glFrontFace(GLenum mode)
{
    if (Outside("glFrontFace"))
        g.frontFace = mode;
}

void GLAPIENTRY glCullFace(GLenum mode)
{
    if (Outside("glCullFace"))
        g.cullFaceMode = mode;
}

void GLAPIENTRY glLineWidth(GLfloat width)
{
    if (Outside("glLineWidth"))
        g.lineWidth = width;
}

void GLAPIENTRY glBlendFunc(GLenum src, GLenum dst)
{
    if (!Outside("glBlendFunc"))
        return;
    g.blendSrc = src;
    g.blendDst = dst;
    Log(Event::BlendFunc, src, dst);
}

void GLAPIENTRY glPixelStorei(GLenum pname, GLint param)
{
    if (!Outside("glPixelStorei"))
        return;
    if (pname == GL_UNPACK_ALIGNMENT)
        g.unpackAlignment = param;
}

void GLAPIENTRY glGenTextures(GLsizei n, GLuint* textures)
{
    if (!Outside("glGenTextures"))
        return;
    for (GLsizei i = 0; i < n; ++i) {
        if (g.nextTexture >= static_cast<GLuint>(kMaxTextures)) {
            Error("glGenTextures: more textures than the stand-in holds");
            textures[i] = 0;
            continue;
        }
        textures[i] = g.nextTexture++;
    }
}

void GLAPIENTRY glBindTexture(GLenum target, GLuint texture)
{
    if (!Outside("glBindTexture"))
        return;
    if (target != GL_TEXTURE_2D)
        Error("glBindTexture of target 0x%lx", static_cast<long>(target));
    g.boundTexture = texture;
    Log(Event::BindTexture, texture);
}

void GLAPIENTRY glTexImage2D(GLenum, GLint level, GLint, GLsizei width, GLsizei height, GLint border, GLenum,
                             GLenum, const GLvoid* pixels)
{
    if (!Outside("glTexImage2D"))
        return;
    MaybeFail("glTexImage2D");
    TextureInfo* info = BoundInfo();
    if (info == nullptr) {
        Error("glTexImage2D with no generated texture bound");
        return;
    }
    if (level != 0 || border != 0 || pixels == nullptr)
        Error("glTexImage2D with a level, border or image the loader never uses");
    info->width = width;
    info->height = height;
}

void GLAPIENTRY glTexParameteri(GLenum, GLenum pname, GLint param)
{
    if (!Outside("glTexParameteri"))
        return;
    TextureInfo* info = BoundInfo();
    if (info == nullptr) {
        Error("glTexParameteri with no generated texture bound");
        return;
    }
    switch (pname) {
    case GL_TEXTURE_MIN_FILTER: info->minFilter = param; break;
    case GL_TEXTURE_MAG_FILTER: info->magFilter = param; break;
    case GL_TEXTURE_WRAP_S: info->wrapS = param; break;
    case GL_TEXTURE_WRAP_T: info->wrapT = param; break;
    default: Error("glTexParameteri of an unmodelled parameter 0x%lx", static_cast<long>(pname));
    }
}

} // extern "C"
