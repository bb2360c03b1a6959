#include "linux/SaverOptions.h"

#include <cctype>
#include <cstdlib>
#include <initializer_list>
#include <utility>

#include "linux/SharedStorm.h"

SaverOptions DefaultSaverOptions()
{
    SaverOptions options;
    options.width = 800;
    options.height = 600;
    return options;
}

namespace {

std::string ApplyWindowId(SaverOptions& options, const std::string& value)
{
    const auto id = ParseWindowId(value.c_str());
    if (!id)
        return Quoted(value) + " is not a window id";
    options.target = SaverTarget::WindowId;
    options.windowId = *id;
    return {};
}

std::string ApplyDelay(SaverOptions& options, const std::string& value)
{
    const auto delay = ParseWholeNumber(value, 0, 10000000);
    if (!delay)
        return Quoted(value) + " is not a number of microseconds from 0 to 10000000";
    options.delayMicroseconds = static_cast<long>(*delay);
    return {};
}

std::string ShowDelay(const SaverOptions& defaults)
{
    return std::to_string(defaults.delayMicroseconds);
}

std::string ApplyVisual(SaverOptions& options, const std::string& value)
{
    if (value.empty())
        return "missing visual";
    // A number is a visual id; a class name ("TrueColor", "default", "GL") leaves the
    // choice to the program, which picks what the scene needs anyway.
    const bool number = value.find_first_not_of("0123456789") == std::string::npos ||
                        (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X'));
    if (number) {
        const auto id = ParseWindowId(value.c_str());
        if (!id)
            return Quoted(value) + " is not a visual id";
        options.visualId = *id;
    }
    return {};
}

// X's geometry syntax: [=][WIDTHxHEIGHT][{+-}XOFF{+-}YOFF], at least one of the parts.
std::string ApplyGeometry(SaverOptions& options, const std::string& value)
{
    const std::string problem = Quoted(value) + " is not WIDTHxHEIGHT+X+Y (either part may be left out; offsets up to " +
                                std::to_string(kMaxWindowOffset) + ")";
    std::size_t i = value.size() > 0 && value[0] == '=' ? 1 : 0;
    if (i == value.size() ||
        (value[i] != '+' && value[i] != '-' && !TakeSize(value, i, options.width, options.height)))
        return problem;
    if (i == value.size())
        return {};
    WindowPosition position;
    for (bool* fromEnd : {&position.fromRight, &position.fromBottom}) {
        if (i >= value.size() || (value[i] != '+' && value[i] != '-'))
            return problem;
        *fromEnd = value[i] == '-';
        const auto offset = TakeNumber(value, ++i);
        // X keeps a window's place in 16 bits.
        if (!offset || *offset > kMaxWindowOffset)
            return problem;
        (fromEnd == &position.fromRight ? position.x : position.y) = *offset;
    }
    if (i != value.size())
        return problem;
    options.position = position;
    return {};
}

std::string ApplyMonitors(SaverOptions& options, const std::string& value)
{
    const std::pair<const char*, MonitorChoice> choices[] = {
        {"each", MonitorChoice::Each}, {"primary", MonitorChoice::Primary}, {"span", MonitorChoice::Span}};
    for (const auto& [name, choice] : choices) {
        if (value == name) {
            options.monitors = choice;
            return {};
        }
    }
    return Quoted(value) + " is not each, primary or span";
}

// An XScreenSaver option that has no meaning for this program: accepted, ignored.
std::string Ignore(SaverOptions&, const std::string&)
{
    return {};
}

// The stand-alone saver's letter as Windows users and XScreenSaver users write it:
// -s, --s or /s, in either case.
bool TakeStandAloneLetter(SaverOptions& options, const std::string& argument)
{
    for (const char* prefix : {"-", "--", "/"}) {
        const std::string p = prefix;
        if (argument == p + "s" || argument == p + "S") {
            options.target = SaverTarget::StandAlone;
            return true;
        }
    }
    return false;
}

using Entry = OptionEntry<SaverOptions>;

const Entry kSaverOptionTable[] = {
    {"root", nullptr, "draw into $XSCREENSAVER_WINDOW, or the root window", nullptr, 0,
     SetTo<SaverOptions, &SaverOptions::target, SaverTarget::Root>},
    {"window-id", "ID", "draw into the X window ID (decimal or 0x hex), following its size", nullptr, 0,
     ApplyWindowId},
    {"window", nullptr, "draw into a window of its own (default)", nullptr, 0,
     SetTo<SaverOptions, &SaverOptions::target, SaverTarget::OwnWindow>},
    {"sounds", nullptr, "play the looping sound", "Sounds", 1, nullptr},
    {"no-sounds", nullptr, "silent", "Sounds", 0, nullptr},
    {"cross", nullptr, "draw the crosslines", "Cross", 1, nullptr},
    {"no-cross", nullptr, "no crosslines", "Cross", 0, nullptr},
    {"hieroglyphs", nullptr, "draw the hieroglyphs", "Hieroglyphs", 1, nullptr},
    {"no-hieroglyphs", nullptr, "no hieroglyphs", "Hieroglyphs", 0, nullptr},
    {"rain", nullptr, "draw the rain", "Rain", 1, nullptr},
    {"no-rain", nullptr, "no rain", "Rain", 0, nullptr},
    {"high-quality", nullptr, "smooth texture filtering", "HighQuality", 1, nullptr},
    {"low-quality", nullptr, "nearest-texel filtering", "HighQuality", 0, nullptr},
    {"gentle", nullptr, "gentle lightning, lit at most once a second (for photosensitive viewers)", "Gentle", 1,
     nullptr},
    {"no-gentle", nullptr, "the designed lightning, which flashes fast (default)", "Gentle", 0, nullptr},
    SharedOption<SaverOptions, kSetOption>(),
    {"display", "NAME", "the X display (default $DISPLAY)", nullptr, 0,
     [](SaverOptions& o, const std::string& v) { o.display = v; return std::string(); }},
    SharedOption<SaverOptions, kSizeOption>(),
    SharedOption<SaverOptions, kSeedOption>(),
    SharedOption<SaverOptions, kStepOption>(),
    SharedOption<SaverOptions, kFramesOption>(),
    {"save", nullptr, "write the settings (file values and flags) to the settings file and end", nullptr, 0,
     SetTo<SaverOptions, &SaverOptions::saveSettings, true>},
    {"delay", "MICROSECONDS", "pause after each frame (default {}; 0: back to back)", nullptr, 0, ApplyDelay,
     ShowDelay},
    {"fps", nullptr, "show the frame rate and CPU load in the lower-left corner", nullptr, 0,
     SetTo<SaverOptions, &SaverOptions::fps, true>},
    {"no-fps", nullptr, "no frame rate (default)", nullptr, 0, SetTo<SaverOptions, &SaverOptions::fps, false>},
    {"geometry", "WxH+X+Y", "size and place of -window's window", nullptr, 0, ApplyGeometry},
    {"visual", "ID|NAME", "the visual of -window's window, by id; names are accepted", nullptr, 0, ApplyVisual},
    {"monitors", "each|primary|span", "on several monitors (full screen, or XScreenSaver's window on each): a "
     "view on each (default), the primary alone (the others black), or one view over each window", nullptr, 0,
     ApplyMonitors},
    {"sync", nullptr, "make every X request synchronous (debugging)", nullptr, 0,
     SetTo<SaverOptions, &SaverOptions::synchronous, true>},
    {"install", nullptr, "accepted, ignored (the scene needs no colormap of its own)", nullptr, 0, Ignore},
    {"noinstall", nullptr, "accepted, ignored", nullptr, 0, Ignore},
    {"mono", nullptr, "accepted, ignored (the scene is always in colour)", nullptr, 0, Ignore},
    {"pair", nullptr, "accepted, ignored", nullptr, 0, Ignore},
    SharedOption<SaverOptions, kHelpOption>(),
};

} // namespace

ParsedOptions<SaverOptions> ParseSaverOptions(const std::vector<std::string>& args)
{
    return ParseOptions(kSaverOptionTable, DefaultSaverOptions(), args, TakeStandAloneLetter);
}

std::string SaverUsage(const char* programName)
{
    return std::string("usage: ") + programName + " [-s | -root | -window | -window-id ID] [options]\n" +
           UsageLine("  -s, -S, --s, /s", "stand-alone: full screen on the current desktop mode, ends on input") +
           TableUsage(kSaverOptionTable, DefaultSaverOptions(), "-") +
           "Under XScreenSaver's daemon, which starts a process in a window on each monitor, every process shows "
           "its monitor's part of one storm: the blank time is the seed (unless -seed) and the clock, one frame "
           "every " + std::to_string(kSharedStormStepMs) + " ms since (unless -step), and only the primary's "
           "process plays the sound; arcveil3d-render --seed BLANK_TIME --step 0.02 --frames N draws the moment "
           "N frames after the blank.\n"
           "Options take one or two dashes, in any order. Exit status: " + std::to_string(kSaverExitNormal) +
           " ended normally; " + std::to_string(kSaverExitFailure) + " a failure (one line on stderr); " +
           std::to_string(kSaverExitRefused) + " a refused command line.\n";
}

std::optional<unsigned long> ParseWindowId(const char* text)
{
    if (text == nullptr)
        return std::nullopt;
    std::string digits = TrimBlanks(text);
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
