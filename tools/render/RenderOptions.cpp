#include "tools/render/RenderOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "app/Settings.h"

const char* const kRenderUsage =
    "usage: arcveil3d-render [options]\n"
    "  --size WxH          picture size in pixels (default 1024x768)\n"
    "  --seed N            random seed (default: from the clock, printed)\n"
    "  --frames N          number of frames (default 1)\n"
    "  --step SECONDS      clock advance before each frame (default 1/60)\n"
    "  --set Name=Value    a setting by its registry name, repeatable\n"
    "                      (Cross, Hieroglyphs, Rain, HighQuality, ...)\n"
    "  --out FILE.png      write the last frame; %d (or %04d) in FILE writes every frame\n"
    "  --bench             draw as fast as possible, write nothing, print figures\n"
    "  --help              this text\n";

namespace {

bool ParseInteger(const std::string& text, long long low, long long high, long long& value)
{
    if (text.empty() || std::strchr("+-0123456789", text[0]) == nullptr)
        return false;
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

bool ParseSize(const std::string& text, int& width, int& height)
{
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos)
        return false;
    long long w = 0, h = 0;
    if (!ParseInteger(text.substr(0, x), 1, 16384, w) || !ParseInteger(text.substr(x + 1), 1, 16384, h))
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

bool ParseSeconds(const std::string& text, double& seconds)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const double parsed = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(parsed) || parsed < 0.0 || parsed > 3600.0)
        return false;
    seconds = parsed;
    return true;
}

// Position and length of the frame field in a pattern, or npos.
std::size_t FindFrameField(const std::string& pattern, std::size_t& length, int& padding)
{
    for (std::size_t i = pattern.find('%'); i != std::string::npos; i = pattern.find('%', i + 1)) {
        std::size_t j = i + 1;
        int pad = 0;
        if (j < pattern.size() && pattern[j] == '0') {
            ++j;
            while (j < pattern.size() && pattern[j] >= '0' && pattern[j] <= '9' && pad < 100)
                pad = pad * 10 + (pattern[j++] - '0');
        }
        if (j < pattern.size() && pattern[j] == 'd') {
            length = j + 1 - i;
            padding = pad;
            return i;
        }
    }
    return std::string::npos;
}

} // namespace

bool HasFrameField(const std::string& pattern)
{
    std::size_t length = 0;
    int padding = 0;
    return FindFrameField(pattern, length, padding) != std::string::npos;
}

std::string FrameFileName(const std::string& pattern, int index)
{
    std::size_t length = 0;
    int padding = 0;
    const std::size_t at = FindFrameField(pattern, length, padding);
    if (at == std::string::npos)
        return pattern;
    std::string number = std::to_string(index);
    if (static_cast<int>(number.size()) < padding)
        number.insert(0, static_cast<std::size_t>(padding) - number.size(), '0');
    return pattern.substr(0, at) + number + pattern.substr(at + length);
}

bool ParseRenderOptions(int argc, const char* const* argv, RenderOptions& options, std::string& error)
{
    options = RenderOptions{};
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        std::string value;
        bool hasValue = false;
        const std::size_t equals = name.find('=');
        if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            hasValue = true;
        }
        auto takeValue = [&]() {
            if (hasValue)
                return true;
            if (i + 1 >= argc) {
                error = name + ": missing value";
                return false;
            }
            value = argv[++i];
            return true;
        };
        auto noValue = [&]() {
            if (hasValue) {
                error = name + ": takes no value";
                return false;
            }
            return true;
        };

        if (name == "--size") {
            if (!takeValue())
                return false;
            if (!ParseSize(value, options.width, options.height)) {
                error = "--size: expected WxH, each from 1 to 16384, got '" + value + "'";
                return false;
            }
        } else if (name == "--seed") {
            if (!takeValue())
                return false;
            long long seed = 0;
            if (!ParseInteger(value, 0, 4294967295LL, seed)) {
                error = "--seed: expected a whole number from 0 to 4294967295, got '" + value + "'";
                return false;
            }
            options.seed = static_cast<std::uint32_t>(seed);
            options.seedGiven = true;
        } else if (name == "--frames") {
            if (!takeValue())
                return false;
            long long frames = 0;
            if (!ParseInteger(value, 1, 100000000, frames)) {
                error = "--frames: expected a whole number of at least 1, got '" + value + "'";
                return false;
            }
            options.frames = static_cast<int>(frames);
        } else if (name == "--step") {
            if (!takeValue())
                return false;
            if (!ParseSeconds(value, options.step)) {
                error = "--step: expected seconds from 0 to 3600, got '" + value + "'";
                return false;
            }
        } else if (name == "--set") {
            if (!takeValue())
                return false;
            const std::size_t at = value.find('=');
            const std::string setting = value.substr(0, at);
            long long number = 0;
            if (at == std::string::npos) {
                error = "--set: expected Name=Value, got '" + value + "'";
                return false;
            }
            if (FindSettingDescriptor(setting.c_str()) == nullptr) {
                error = "--set: unknown setting '" + setting +
                        "' (one of Width, Height, Depth, Desktop, Sounds, Cross, Hieroglyphs, Rain, HighQuality)";
                return false;
            }
            if (!ParseInteger(value.substr(at + 1), INT32_MIN, INT32_MAX, number)) {
                error = "--set: " + setting + " needs a 32-bit whole number, got '" + value.substr(at + 1) + "'";
                return false;
            }
            options.settings.emplace_back(setting, static_cast<std::int32_t>(number));
        } else if (name == "--out") {
            if (!takeValue())
                return false;
            if (value.empty()) {
                error = "--out: missing file name";
                return false;
            }
            options.out = value;
        } else if (name == "--bench") {
            if (!noValue())
                return false;
            options.bench = true;
        } else if (name == "--help" || name == "-h") {
            if (!noValue())
                return false;
            options.help = true;
        } else {
            error = name + ": unknown option (see --help)";
            return false;
        }
    }
    if (options.help)
        return true;
    if (options.bench && !options.out.empty()) {
        error = "--out: --bench writes no files; leave out one of them";
        return false;
    }
    if (!options.bench && options.out.empty()) {
        error = "--out: nothing to do; give --out FILE.png or --bench";
        return false;
    }
    return true;
}
