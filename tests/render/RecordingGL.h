#pragma once
// A recording stand-in for libGL, linked into tests instead of it (with the real GLU):
// it defines every gl* function the core calls, keeps the state a frame must leave as
// it found it (enable switches, attribute and matrix stacks, depth mask, blending) and
// logs each primitive with the state it was drawn in. Misuse real OpenGL would let pass
// silently (a call inside glBegin, an unbalanced stack, a switch outside any saved
// block) counts as an error. The log is reserved up front: logging allocates nothing.
#include <string>
#include <vector>

#include "render/GLHeaders.h"

namespace rgl {

struct Primitive {
    GLenum mode;
    int vertices;
    GLuint texture; // bound at glBegin
    bool texture2D, blend, depthTest, depthMask;
    GLenum blendSrc, blendDst;
};

struct Upload {
    GLuint name;
    int width, height;
    GLint minFilter, magFilter, wrapS, wrapT;
    std::vector<unsigned char> firstTexel; // red, green, blue, alpha of texel 0
};

// A fresh context with the given viewport, an empty log and no error.
void Reset(int width = 160, int height = 120);
void ClearLog();
// While on, glEnable and glDisable outside a glPushAttrib block are errors.
void SetStrictEnables(bool on);
// The n-th glBegin from now throws the program's failure (the integer 0); 0 never.
void FailAtBegin(int n);

const std::vector<Primitive>& Primitives();
const std::vector<Upload>& Uploads();
int Errors();
const std::string& FirstError();

// The enable switches that are on, as a bit per switch of the stand-in's list.
unsigned Enables();
int AttribDepth();
int MatrixDepth(GLenum mode); // 1 for an empty stack, as GL counts
bool DepthMask();

} // namespace rgl
