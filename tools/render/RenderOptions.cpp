#include "tools/render/RenderOptions.h"

RenderOptions DefaultRenderOptions()
{
    RenderOptions options;
    options.width = 1024;
    options.height = 768;
    options.frames = 1;
    options.step = 1.0 / 60;
    return options;
}

namespace {

using Entry = OptionEntry<RenderOptions>;

const Entry kRenderOptionTable[] = {
    SharedOption<RenderOptions, kSetOption>(),
    SharedOption<RenderOptions, kSizeOption>(),
    SharedOption<RenderOptions, kSeedOption>(),
    SharedOption<RenderOptions, kStepOption>(),
    SharedOption<RenderOptions, kFramesOption>(),
    {"out", "FILE.png", "write the last frame; %d (or %04d) in FILE writes every frame", nullptr, 0,
     [](RenderOptions& o, const std::string& v) {
         o.out = v;
         return v.empty() ? std::string("missing file name") : std::string();
     }},
    {"bench", nullptr, "draw as fast as possible, write nothing, print figures", nullptr, 0,
     SetTo<RenderOptions, &RenderOptions::bench, true>},
    SharedOption<RenderOptions, kHelpOption>(),
};

} // namespace

ParsedOptions<RenderOptions> ParseRenderOptions(const std::vector<std::string>& args)
{
    ParsedOptions<RenderOptions> parsed = ParseOptions(kRenderOptionTable, DefaultRenderOptions(), args);
    if (const auto& o = parsed.options; o && !o->help) {
        const char* problem = nullptr;
        if (o->bench && !o->out.empty())
            problem = "--out: --bench writes no files; leave out one of them";
        if (!o->bench && o->out.empty())
            problem = "--out: nothing to do; give --out FILE.png or --bench";
        if (problem != nullptr) {
            parsed.options.reset();
            parsed.error = problem;
        }
    }
    return parsed;
}

std::string RenderUsage(const char* programName)
{
    return std::string("usage: ") + programName + " [options]\n" +
           TableUsage(kRenderOptionTable, DefaultRenderOptions(), "--");
}
