#pragma once
// The OpenGL headers seam: OpenGL 1.1 and GLU for portable code. MinGW's GL headers
// pull in windows.h unless the two calling-convention macros are already defined, so
// define them here.
#if defined(_WIN32) && !(defined(WINGDIAPI) && defined(APIENTRY))
#ifndef WINGDIAPI
#define WINGDIAPI __declspec(dllimport)
#endif
#ifndef APIENTRY
#define APIENTRY __stdcall
#endif
#ifndef CALLBACK
#define CALLBACK __stdcall
#endif
#endif
#include <GL/gl.h>
#include <GL/glu.h>
