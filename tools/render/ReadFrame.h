#pragma once
// The frame just drawn, read back for writing.
#include "tools/PngFile.h"

// The current context's colour buffer as an RGB picture, top row first. Read as RGB and
// turned upright in place, so a frame costs one picture's memory and no second copy.
RgbImage ReadRgbFrame(int width, int height);
