#pragma once
// A stand-in for the OpenGL functions the asset code calls: each call is written down as
// text, in order, so tests can check the exact sequence. Linked instead of libGL.
#include <string>
#include <vector>

std::vector<std::string>& RecordedGLCalls();
