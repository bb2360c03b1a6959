#pragma once
// The file names of arcveil3d-render's frames: --out takes a pattern.
#include <string>

// True when `pattern` holds a frame-number field: %d, or %0Nd for zero-padding to N.
bool HasFrameField(const std::string& pattern);
// The file name of frame `index` (0-based) for a pattern; without a field, the pattern.
std::string FrameFileName(const std::string& pattern, int index);
