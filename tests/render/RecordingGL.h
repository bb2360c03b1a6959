#pragma once
// A recording stand-in for libGL, for tests of what the renderer emits. It defines the
// gl* functions the renderer, the asset loaders and GLU's matrix helpers call, keeps a
// small model of the state (enable switches, attribute and matrix stacks, blending,
// depth mask, textures) and logs every primitive with its vertices, each vertex also
// transformed to normalised device coordinates. Misuse that real OpenGL would let pass
// silently (calls inside glBegin, unbalanced stacks, unknown switches) is counted as an
// error with a description of the first one.
//
// The log lives in vectors reserved up front; with logging off nothing is allocated.
#include <cstddef>
#include <vector>

#include "render/GLHeaders.h"

namespace rgl {

struct Vertex {
    float x, y, z;       // as given
    float r, g, b, a;    // current colour
    float s, t;          // current texture coordinate
    double nx, ny, nz;   // normalised device coordinates
    double w;            // clip w
};

struct Primitive {
    GLenum mode;
    std::size_t first; // index into Vertices()
    std::size_t count;
    GLuint texture;
    bool texture2D;
    bool blend;
    bool depthTest;
    bool cullFace;
    bool depthMask;
    GLenum blendSrc;
    GLenum blendDst;
    int attribDepth;
};

// Calls that change state outside primitives, in order.
struct Event {
    enum Kind { Clear, PushAttrib, PopAttrib, Enable, Disable, BindTexture, BlendFunc, DepthMask, Begin, MatrixMode };
    Kind kind;
    GLenum a;
    GLenum b;
    int attribDepth;
};

struct TextureInfo {
    int width = 0;
    int height = 0;
    GLint minFilter = 0;
    GLint magFilter = 0;
    GLint wrapS = 0;
    GLint wrapT = 0;
};

// A fresh context: default state, empty stacks and log, the given viewport.
void Reset(int viewportWidth = 640, int viewportHeight = 480);
void SetViewport(int x, int y, int width, int height);
void SetLogging(bool on);
void ClearLog();
// While on, glEnable/glDisable outside any glPushAttrib block is an error: every step
// of a frame must keep its switches inside a saved block.
void SetStrictEnables(bool on);

// The `occurrence`-th call (1-based) of glBegin or glTexImage2D, counted from now,
// throws the program's failure (the integer 0), as a failing operation would; null clears.
void FailAtCall(const char* function, int occurrence);

const std::vector<Primitive>& Primitives();
const std::vector<Vertex>& Vertices();
const std::vector<Event>& Events();

int ErrorCount();
const char* FirstError();

bool IsEnabled(GLenum cap);
int AttribDepth();
int MatrixDepth(GLenum mode);
GLenum CurrentMatrixMode();
const double* Matrix(GLenum mode); // column-major 4 x 4
bool DepthMask();
GLenum BlendSrc();
GLenum BlendDst();
GLenum DepthFunc();
GLenum FrontFace();
GLenum CullFaceMode();
float LineWidth();
const float* ClearColor();
double ClearDepth();
GLuint BoundTexture();
const float* CurrentColor();
int UnpackAlignment();
const TextureInfo* Texture(GLuint name); // null for a name never generated
int ClearCount();
bool InsideBegin();

} // namespace rgl
