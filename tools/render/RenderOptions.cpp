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

// WxH+X+Y[,WxH+X+Y...]: monitors placed in the picture from its top-left corner.
std::string ApplyMonitors(RenderOptions& options, const std::string& value)
{
    options.monitors.clear();
    for (std::size_t i = 0; i <= value.size();) {
        MonitorRect m;
        const bool sized = TakeSize(value, i, m.width, m.height);
        std::optional<int> x, y;
        if (sized && i < value.size() && value[i] == '+')
            x = TakeNumber(value, ++i);
        if (x && i < value.size() && value[i] == '+')
            y = TakeNumber(value, ++i);
        if (!y || (i < value.size() && value[i] != ','))
            return Quoted(value) + " is not WxH+X+Y[,WxH+X+Y...]";
        m.x = *x;
        m.y = *y;
        options.monitors.push_back(m);
        ++i;
    }
    return {};
}

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
    {"monitors", "WxH+X+Y,...", "draw one view per monitor (the first is the primary) as the Linux saver does",
     nullptr, 0, ApplyMonitors},
    {"bench", nullptr, "draw as fast as possible, write nothing, print figures", nullptr, 0,
     SetTo<RenderOptions, &RenderOptions::bench, true>},
    {"flashes", nullptr, "write nothing, print how the run flashes (worst second, red, runs of seconds)", nullptr, 0,
     SetTo<RenderOptions, &RenderOptions::flashes, true>},
    {"gentle", nullptr, "the gentle lightning: its light comes on at most once a second", "Gentle", 1, nullptr},
    SharedOption<RenderOptions, kHelpOption>(),
};

} // namespace

ParsedOptions<RenderOptions> ParseRenderOptions(const std::vector<std::string>& args)
{
    ParsedOptions<RenderOptions> parsed = ParseOptions(kRenderOptionTable, DefaultRenderOptions(), args);
    if (const auto& o = parsed.options; o && !o->help) {
        const char* problem = nullptr;
        const int tasks = (o->bench ? 1 : 0) + (o->flashes ? 1 : 0) + (o->out.empty() ? 0 : 1);
        if (tasks > 1)
            problem = "--out, --bench, --flashes: give only one of them";
        if (tasks == 0)
            problem = "--out: nothing to do; give --out FILE.png, --bench or --flashes";
        if (o->flashes && !(*o->step > 0))
            problem = "--flashes: needs a --step above 0 (frames a second)";
        for (const MonitorRect& m : o->monitors) {
            if (m.x + m.width > o->width || m.y + m.height > o->height)
                problem = "--monitors: a monitor lies outside the picture (--size)";
        }
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
