#pragma once
// The command line of arcveil3d-render. Its options stay stable: tests and people
// script them.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct RenderOptions {
    int width = 1024;
    int height = 768;
    bool seedGiven = false;
    std::uint32_t seed = 0;
    int frames = 1;
    double step = 1.0 / 60;
    // Settings by their registry names, applied over the defaults in this order.
    std::vector<std::pair<std::string, std::int32_t>> settings;
    std::string out; // empty: no file
    bool bench = false;
    bool help = false;
};

// Parses argv[1..]; on a bad option returns false with a one-line message naming it.
bool ParseRenderOptions(int argc, const char* const* argv, RenderOptions& options, std::string& error);

// True when `pattern` holds a frame-number field: %d, or %0Nd for zero-padding to N.
bool HasFrameField(const std::string& pattern);
// The file name of frame `index` (0-based) for a pattern; without a field, the pattern.
std::string FrameFileName(const std::string& pattern, int index);

extern const char* const kRenderUsage;
