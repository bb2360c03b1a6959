#pragma once
// arcveil3d-render's command line: the options both native programs take
// (native/OptionTable.h) and the renderer's own, in one table (RenderOptions.cpp) from
// which the usage is printed too. Exactly one of --out, --bench and --flashes says what
// to do;
// --monitors draws a layout of monitors as the Linux saver does on them.
#include <string>
#include <vector>

#include "native/OptionTable.h"
#include "render/SceneViews.h"

struct RenderOptions : CommonOptions {
    std::string out; // --out FILE.png; empty: no file
    bool bench = false;
    bool flashes = false; // --flashes: measure how the run flashes (tools/render/FlashMeasure.h)
    std::vector<MonitorRect> monitors; // the primary first, inside the picture; none: one
};

// What the renderer starts from before its command line is read.
RenderOptions DefaultRenderOptions();

// args excludes the program name.
ParsedOptions<RenderOptions> ParseRenderOptions(const std::vector<std::string>& args);

std::string RenderUsage(const char* programName);
