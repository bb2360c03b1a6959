#pragma once
// A recording stand-in for libGL, linked into tests instead of it (with the real GLU):
// it keeps the state a frame must leave as it found it (enable switches, attribute and
// matrix stacks, depth mask), and counts as an error the misuse real OpenGL would let
// pass silently (a call inside glBegin, an unbalanced stack, a switch outside any saved
// block, a clear that leaves depth). It allocates nothing while drawing.
#include <string>

#include "platform/GLHeaders.h"

namespace rgl {

// A fresh context with the given viewport and no error.
void Reset(int width = 160, int height = 120);
// While on, glEnable and glDisable outside a glPushAttrib block are errors.
void SetStrictEnables(bool on);
// The n-th glBegin from now throws the program's failure (the integer 0); 0 never.
void FailAtBegin(int n);

// The viewports set since Reset (the first 8 are kept), each with the vertices sent before
// it and the aspect of the projection that followed it (0 until one does).
struct ViewportCall {
    int x, y, width, height;
    int verticesBefore;
    double aspect;
};
int ViewportCalls();
const ViewportCall& ViewportCallAt(int i);
int ScissorCalls();
// The current viewport (what = GL_VIEWPORT) or scissor box (GL_SCISSOR_BOX).
void Box(GLenum what, int (&box)[4]);

int Vertices(); // since Reset
// The first misuse seen since Reset; empty while there is none.
const std::string& FirstError();

// The enable switches that are on, as a bit per switch of the stand-in's list.
unsigned Enables();
int AttribDepth();
int MatrixDepth(GLenum mode); // 1 for an empty stack, as GL counts
bool DepthMask();

} // namespace rgl
