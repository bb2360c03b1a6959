#include "linux/SaverOptions.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "app/MatchOption.h"
#include "app/Settings.h"

namespace {

enum class OptionKind { Target, TargetWithId, Switch, Set, Display, Seed, Step, Frames, Size, Save, Help };

struct OptionEntry {
    const char* name; // without its leading dashes
    OptionKind kind;
    SaverTarget target;
    const char* setting; // for Switch
    std::int32_t value;  // for Switch
    const char* argument;
    const char* help;
};

// The switches are the ones XScreenSaver's settings dialog passes (linux/arcveil3d.xml);
// both directions exist so that a flag can override the settings file either way.
constexpr OptionEntry kSaverOptionTable[] = {
    {"root", OptionKind::Target, SaverTarget::Root, nullptr, 0, nullptr,
     "draw into $XSCREENSAVER_WINDOW, or the root window"},
    {"window-id", OptionKind::TargetWithId, SaverTarget::WindowId, nullptr, 0, "ID",
     "draw into the X window ID (decimal or 0x hex), following its size"},
    {"window", OptionKind::Target, SaverTarget::OwnWindow, nullptr, 0, nullptr, "draw into a window of its own (default)"},
    {"sounds", OptionKind::Switch, SaverTarget::OwnWindow, "Sounds", 1, nullptr, "play the looping sound"},
    {"no-sounds", OptionKind::Switch, SaverTarget::OwnWindow, "Sounds", 0, nullptr, "silent"},
    {"cross", OptionKind::Switch, SaverTarget::OwnWindow, "Cross", 1, nullptr, "draw the crosslines"},
    {"no-cross", OptionKind::Switch, SaverTarget::OwnWindow, "Cross", 0, nullptr, "no crosslines"},
    {"hieroglyphs", OptionKind::Switch, SaverTarget::OwnWindow, "Hieroglyphs", 1, nullptr, "draw the hieroglyphs"},
    {"no-hieroglyphs", OptionKind::Switch, SaverTarget::OwnWindow, "Hieroglyphs", 0, nullptr, "no hieroglyphs"},
    {"rain", OptionKind::Switch, SaverTarget::OwnWindow, "Rain", 1, nullptr, "draw the rain"},
    {"no-rain", OptionKind::Switch, SaverTarget::OwnWindow, "Rain", 0, nullptr, "no rain"},
    {"high-quality", OptionKind::Switch, SaverTarget::OwnWindow, "HighQuality", 1, nullptr, "smooth texture filtering"},
    {"low-quality", OptionKind::Switch, SaverTarget::OwnWindow, "HighQuality", 0, nullptr, "nearest-texel filtering"},
    {"set", OptionKind::Set, SaverTarget::OwnWindow, nullptr, 0, "NAME=VALUE",
     "any of the nine settings by its stored name (repeatable)"},
    {"display", OptionKind::Display, SaverTarget::OwnWindow, nullptr, 0, "NAME", "the X display (default $DISPLAY)"},
    {"size", OptionKind::Size, SaverTarget::OwnWindow, nullptr, 0, "WxH", "size of -window's window (default 800x600)"},
    {"seed", OptionKind::Seed, SaverTarget::OwnWindow, nullptr, 0, "N", "random seed (default: from the clock)"},
    {"step", OptionKind::Step, SaverTarget::OwnWindow, nullptr, 0, "SECONDS",
     "a clock that advances by SECONDS per frame, from 0"},
    {"frames", OptionKind::Frames, SaverTarget::OwnWindow, nullptr, 0, "N", "end after N frames"},
    {"save", OptionKind::Save, SaverTarget::OwnWindow, nullptr, 0, nullptr,
     "write the settings (file values and flags) to the settings file and end"},
    {"help", OptionKind::Help, SaverTarget::OwnWindow, nullptr, 0, nullptr, "this text"},
};

const OptionEntry* FindOption(const std::string& argument)
{
    std::size_t dashes = 0;
    while (dashes < argument.size() && dashes < 2 && argument[dashes] == '-')
        ++dashes;
    if (dashes == 0)
        return nullptr;
    const std::string name = argument.substr(dashes);
    for (const auto& entry : kSaverOptionTable) {
        if (name == entry.name)
            return &entry;
    }
    if (name == "h")
        return FindOption("--help");
    return nullptr;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string Trim(const std::string& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

std::optional<double> ParsePositiveDouble(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !(value > 0.0) || value > 3600.0)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::int32_t> ParseInt32(const std::string& text)
{
    const std::string trimmed = Trim(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < trimmed.size() && (trimmed[i] == '-' || trimmed[i] == '+')) {
        negative = trimmed[i] == '-';
        ++i;
    }
    if (i == trimmed.size())
        return std::nullopt;
    std::int64_t magnitude = 0;
    for (; i < trimmed.size(); ++i) {
        if (trimmed[i] < '0' || trimmed[i] > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (trimmed[i] - '0');
        if (magnitude > 2147483648LL)
            return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > 2147483647LL)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<unsigned long> ParseWindowId(const char* text)
{
    if (text == nullptr)
        return std::nullopt;
    std::string digits = Trim(text);
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits = digits.substr(2);
    }
    if (digits.empty() || digits.size() > 10)
        return std::nullopt;
    for (char c : digits) {
        if (!(base == 16 ? std::isxdigit(static_cast<unsigned char>(c)) : std::isdigit(static_cast<unsigned char>(c))))
            return std::nullopt;
    }
    const unsigned long long value = std::strtoull(digits.c_str(), nullptr, base);
    if (value == 0 || value > 0xffffffffULL)
        return std::nullopt;
    return static_cast<unsigned long>(value);
}

ParsedOptions ParseSaverOptions(const std::vector<std::string>& args)
{
    SaverOptions options;
    auto refuse = [](std::string text) {
        ParsedOptions result;
        result.error = std::move(text);
        return result;
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& argument = args[i];
        const OptionEntry* entry = FindOption(argument);
        if (entry == nullptr) {
            // As on Windows, the first argument alone may name the saver by its letter.
            if (i == 0 && MatchOption(argument.c_str(), 's')) {
                options.target = SaverTarget::StandAlone;
                continue;
            }
            return refuse("unknown option '" + argument + "'");
        }
        std::string value;
        if (entry->argument != nullptr) {
            if (i + 1 >= args.size())
                return refuse("option '" + argument + "' needs " + entry->argument);
            value = args[++i];
        }
        switch (entry->kind) {
        case OptionKind::Target:
            options.target = entry->target;
            break;
        case OptionKind::TargetWithId: {
            const auto id = ParseWindowId(value.c_str());
            if (!id)
                return refuse("option '" + argument + "': '" + value + "' is not a window id");
            options.target = entry->target;
            options.windowId = *id;
            break;
        }
        case OptionKind::Switch:
            options.overrides.push_back({entry->setting, entry->value});
            break;
        case OptionKind::Set: {
            const std::size_t equals = value.find('=');
            const std::string name = value.substr(0, equals);
            if (equals == std::string::npos || FindSettingDescriptor(name.c_str()) == nullptr)
                return refuse("option '" + argument + "': '" + value + "' is not NAME=VALUE with a setting's name");
            const auto number = ParseInt32(value.substr(equals + 1));
            if (!number)
                return refuse("option '" + argument + "': the value of '" + name + "' is not an integer");
            options.overrides.push_back({name, *number});
            break;
        }
        case OptionKind::Display:
            options.display = value;
            break;
        case OptionKind::Size: {
            const std::size_t x = value.find('x');
            const auto w = x == std::string::npos ? std::nullopt : ParseInt32(value.substr(0, x));
            const auto h = x == std::string::npos ? std::nullopt : ParseInt32(value.substr(x + 1));
            if (!w || !h || *w < 1 || *h < 1 || *w > 16384 || *h > 16384)
                return refuse("option '" + argument + "': '" + value + "' is not WIDTHxHEIGHT");
            options.width = *w;
            options.height = *h;
            break;
        }
        case OptionKind::Seed: {
            char* end = nullptr;
            errno = 0;
            const unsigned long long seed = std::strtoull(value.c_str(), &end, 10);
            if (value.empty() || value[0] == '-' || *end != '\0' || errno != 0 || seed > 0xffffffffULL)
                return refuse("option '" + argument + "': '" + value + "' is not a 32-bit seed");
            options.seed = static_cast<std::uint32_t>(seed);
            break;
        }
        case OptionKind::Step: {
            const auto step = ParsePositiveDouble(value);
            if (!step)
                return refuse("option '" + argument + "': '" + value + "' is not a positive number of seconds");
            options.step = *step;
            break;
        }
        case OptionKind::Frames: {
            const auto frames = ParseInt32(value);
            if (!frames || *frames < 1)
                return refuse("option '" + argument + "': '" + value + "' is not a positive count");
            options.frames = *frames;
            break;
        }
        case OptionKind::Save:
            options.saveSettings = true;
            break;
        case OptionKind::Help:
            options.help = true;
            break;
        }
    }
    ParsedOptions result;
    result.options = options;
    return result;
}

std::string SaverUsage(const char* programName)
{
    std::string text = std::string("usage: ") + programName + " [-s | -root | -window | -window-id ID] [options]\n";
    text += "  -s, /s, -S     stand-alone: full screen on the current desktop mode, ends on input\n";
    for (const auto& entry : kSaverOptionTable) {
        std::string left = std::string("  -") + entry.name;
        if (entry.argument != nullptr)
            left += std::string(" ") + entry.argument;
        if (left.size() < 22)
            left.resize(22, ' ');
        else
            left += ' ';
        text += left + entry.help + "\n";
    }
    return text;
}
