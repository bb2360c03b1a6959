#include "app/ProgramOptions.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <initializer_list>

namespace {

constexpr unsigned kSaver = 1u << static_cast<unsigned>(Program::Saver);
constexpr unsigned kRender = 1u << static_cast<unsigned>(Program::Render);
constexpr unsigned kBoth = kSaver | kRender;

// Applies an option's value; an empty text when accepted, else the problem.
using ApplyOption = std::string (*)(ProgramOptions& options, const std::string& value);

struct OptionEntry {
    const char* name;     // without its leading dashes
    const char* argument; // the value's name in the usage; null: the option takes none
    const char* help;
    unsigned programs;
    // A switch sets one setting to a value; anything else has its own function.
    const char* setting;
    std::int32_t value;
    ApplyOption apply;
};

std::string Quoted(const std::string& text)
{
    return "'" + text + "'";
}

// WIDTHxHEIGHT at text[i], each from 1 to kMaxPictureSide, into options; advances i.
bool TakeSize(ProgramOptions& options, const std::string& text, std::size_t& i);

std::string ApplySize(ProgramOptions& options, const std::string& value)
{
    std::size_t i = 0;
    if (!TakeSize(options, value, i) || i != value.size())
        return Quoted(value) + " is not WIDTHxHEIGHT, each from 1 to " + std::to_string(kMaxPictureSide);
    return {};
}

std::string ApplySeed(ProgramOptions& options, const std::string& value)
{
    const auto seed = ParseWholeNumber(value, 0, 4294967295LL);
    if (!seed)
        return Quoted(value) + " is not a whole number from 0 to 4294967295";
    options.seed = static_cast<std::uint32_t>(*seed);
    return {};
}

std::string ApplyFrames(ProgramOptions& options, const std::string& value)
{
    const auto frames = ParseWholeNumber(value, 1, 2147483647);
    if (!frames)
        return Quoted(value) + " is not a whole number of at least 1";
    options.frames = *frames;
    return {};
}

std::string ApplyStep(ProgramOptions& options, const std::string& value)
{
    char* end = nullptr;
    errno = 0;
    const double step = value.empty() ? -1.0 : std::strtod(value.c_str(), &end);
    if (value.empty() || errno != 0 || *end != '\0' || !std::isfinite(step) || step < 0.0 || step > 3600.0)
        return Quoted(value) + " is not a number of seconds from 0 to 3600";
    options.step = step;
    return {};
}

std::string ApplySet(ProgramOptions& options, const std::string& value)
{
    const std::size_t equals = value.find('=');
    const std::string name = value.substr(0, equals);
    const SettingDescriptor* descriptor = FindSettingDescriptor(name.c_str());
    if (equals == std::string::npos || descriptor == nullptr)
        return Quoted(value) + " is not NAME=VALUE with a setting's name";
    const auto number = ParseSettingValue(value.substr(equals + 1));
    if (!number || !descriptor->Allows(*number))
        return "the value of " + Quoted(name) + " is not a whole number from " + std::to_string(descriptor->low) +
               " to " + std::to_string(descriptor->high);
    options.overrides.push_back({name, *number});
    return {};
}

std::string ApplyWindowId(ProgramOptions& options, const std::string& value)
{
    const auto id = ParseWindowId(value.c_str());
    if (!id)
        return Quoted(value) + " is not a window id";
    options.target = SaverTarget::WindowId;
    options.windowId = *id;
    return {};
}

std::string ApplyDelay(ProgramOptions& options, const std::string& value)
{
    const auto delay = ParseWholeNumber(value, 0, 10000000);
    if (!delay)
        return Quoted(value) + " is not a number of microseconds from 0 to 10000000";
    options.delayMicroseconds = static_cast<long>(*delay);
    return {};
}

std::string ApplyVisual(ProgramOptions& options, const std::string& value)
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

// Digits at text[i], as an int of at most five digits; advances i.
std::optional<int> TakeNumber(const std::string& text, std::size_t& i)
{
    const std::size_t start = i;
    while (i < text.size() && i - start < 6 && std::isdigit(static_cast<unsigned char>(text[i])))
        ++i;
    if (i == start || i - start > 5)
        return std::nullopt;
    return std::stoi(text.substr(start, i - start));
}

bool TakeSize(ProgramOptions& options, const std::string& text, std::size_t& i)
{
    const auto w = TakeNumber(text, i);
    if (!w || i >= text.size() || (text[i] != 'x' && text[i] != 'X'))
        return false;
    const auto h = TakeNumber(text, ++i);
    if (!h || *w < 1 || *h < 1 || *w > kMaxPictureSide || *h > kMaxPictureSide)
        return false;
    options.width = *w;
    options.height = *h;
    return true;
}

// X's geometry syntax: [=][WIDTHxHEIGHT][{+-}XOFF{+-}YOFF], at least one of the parts.
std::string ApplyGeometry(ProgramOptions& options, const std::string& value)
{
    const std::string problem = Quoted(value) + " is not WIDTHxHEIGHT+X+Y (either part may be left out)";
    std::size_t i = value.size() > 0 && value[0] == '=' ? 1 : 0;
    if (i == value.size() || (value[i] != '+' && value[i] != '-' && !TakeSize(options, value, i)))
        return problem;
    if (i == value.size())
        return {};
    WindowPosition position;
    for (bool* fromEnd : {&position.fromRight, &position.fromBottom}) {
        if (i >= value.size() || (value[i] != '+' && value[i] != '-'))
            return problem;
        *fromEnd = value[i] == '-';
        const auto offset = TakeNumber(value, ++i);
        if (!offset)
            return problem;
        (fromEnd == &position.fromRight ? position.x : position.y) = *offset;
    }
    if (i != value.size())
        return problem;
    options.position = position;
    return {};
}

// An XScreenSaver option that has no meaning for this program: accepted, ignored.
std::string Ignore(ProgramOptions&, const std::string&)
{
    return {};
}

const OptionEntry kOptionTable[] = {
    {"root", nullptr, "draw into $XSCREENSAVER_WINDOW, or the root window", kSaver, nullptr, 0,
     [](ProgramOptions& o, const std::string&) { o.target = SaverTarget::Root; return std::string(); }},
    {"window-id", "ID", "draw into the X window ID (decimal or 0x hex), following its size", kSaver, nullptr, 0,
     ApplyWindowId},
    {"window", nullptr, "draw into a window of its own (default)", kSaver, nullptr, 0,
     [](ProgramOptions& o, const std::string&) { o.target = SaverTarget::OwnWindow; return std::string(); }},
    {"sounds", nullptr, "play the looping sound", kSaver, "Sounds", 1, nullptr},
    {"no-sounds", nullptr, "silent", kSaver, "Sounds", 0, nullptr},
    {"cross", nullptr, "draw the crosslines", kSaver, "Cross", 1, nullptr},
    {"no-cross", nullptr, "no crosslines", kSaver, "Cross", 0, nullptr},
    {"hieroglyphs", nullptr, "draw the hieroglyphs", kSaver, "Hieroglyphs", 1, nullptr},
    {"no-hieroglyphs", nullptr, "no hieroglyphs", kSaver, "Hieroglyphs", 0, nullptr},
    {"rain", nullptr, "draw the rain", kSaver, "Rain", 1, nullptr},
    {"no-rain", nullptr, "no rain", kSaver, "Rain", 0, nullptr},
    {"high-quality", nullptr, "smooth texture filtering", kSaver, "HighQuality", 1, nullptr},
    {"low-quality", nullptr, "nearest-texel filtering", kSaver, "HighQuality", 0, nullptr},
    {"set", "NAME=VALUE", "any of the nine settings by its stored name (repeatable)", kBoth, nullptr, 0, ApplySet},
    {"display", "NAME", "the X display (default $DISPLAY)", kSaver, nullptr, 0,
     [](ProgramOptions& o, const std::string& v) { o.display = v; return std::string(); }},
    {"size", "WxH", "picture or own window size (default 1024x768 and 800x600)", kBoth, nullptr, 0, ApplySize},
    {"seed", "N", "random seed (default: from the clock)", kBoth, nullptr, 0, ApplySeed},
    {"step", "SECONDS", "a clock that advances by SECONDS before each frame, from 0", kBoth, nullptr, 0, ApplyStep},
    {"frames", "N", "end after N frames", kBoth, nullptr, 0, ApplyFrames},
    {"out", "FILE.png", "write the last frame; %d (or %04d) in FILE writes every frame", kRender, nullptr, 0,
     [](ProgramOptions& o, const std::string& v) {
         o.out = v;
         return v.empty() ? std::string("missing file name") : std::string();
     }},
    {"bench", nullptr, "draw as fast as possible, write nothing, print figures", kRender, nullptr, 0,
     [](ProgramOptions& o, const std::string&) { o.bench = true; return std::string(); }},
    {"save", nullptr, "write the settings (file values and flags) to the settings file and end", kSaver, nullptr, 0,
     [](ProgramOptions& o, const std::string&) { o.saveSettings = true; return std::string(); }},
    {"delay", "MICROSECONDS", "pause after each frame (default 20000; 0: back to back)", kSaver, nullptr, 0,
     ApplyDelay},
    {"fps", nullptr, "show the frame rate and CPU load in the lower-left corner", kSaver, nullptr, 0,
     [](ProgramOptions& o, const std::string&) { o.fps = true; return std::string(); }},
    {"no-fps", nullptr, "no frame rate (default)", kSaver, nullptr, 0,
     [](ProgramOptions& o, const std::string&) { o.fps = false; return std::string(); }},
    {"geometry", "WxH+X+Y", "size and place of -window's window", kSaver, nullptr, 0, ApplyGeometry},
    {"visual", "ID|NAME", "the visual of -window's window, by id; names are accepted", kSaver, nullptr, 0,
     ApplyVisual},
    {"sync", nullptr, "make every X request synchronous (debugging)", kSaver, nullptr, 0,
     [](ProgramOptions& o, const std::string&) { o.synchronous = true; return std::string(); }},
    {"install", nullptr, "accepted, ignored (the scene needs no colormap of its own)", kSaver, nullptr, 0, Ignore},
    {"noinstall", nullptr, "accepted, ignored", kSaver, nullptr, 0, Ignore},
    {"mono", nullptr, "accepted, ignored (the scene is always in colour)", kSaver, nullptr, 0, Ignore},
    {"pair", nullptr, "accepted, ignored", kSaver, nullptr, 0, Ignore},
    {"help", nullptr, "this text", kBoth, nullptr, 0,
     [](ProgramOptions& o, const std::string&) { o.help = true; return std::string(); }},
};

unsigned Mask(Program program)
{
    return 1u << static_cast<unsigned>(program);
}

// The entry an argument names for the program, with the name it was given as (dashes
// included) and its value after '=', if any. Null for anything else.
const OptionEntry* FindOption(Program program, const std::string& argument, std::string& name,
                              std::optional<std::string>& inlineValue)
{
    std::size_t dashes = 0;
    while (dashes < argument.size() && dashes < 2 && argument[dashes] == '-')
        ++dashes;
    if (dashes == 0)
        return nullptr;
    const std::size_t equals = argument.find('=');
    name = argument.substr(0, equals);
    inlineValue.reset();
    if (equals != std::string::npos)
        inlineValue = argument.substr(equals + 1);
    std::string bare = name.substr(dashes);
    if (bare == "h")
        bare = "help";
    for (const auto& entry : kOptionTable) {
        if (bare == entry.name && (entry.programs & Mask(program)) != 0)
            return &entry;
    }
    return nullptr;
}

// The stand-alone saver's letter as Windows users and XScreenSaver users write it:
// -s, --s or /s, in either case.
bool IsStandAloneLetter(const std::string& argument)
{
    for (const char* prefix : {"-", "--", "/"}) {
        const std::string p = prefix;
        if (argument == p + "s" || argument == p + "S")
            return true;
    }
    return false;
}

} // namespace

ProgramOptions DefaultProgramOptions(Program program)
{
    ProgramOptions options;
    if (program == Program::Render) {
        options.width = 1024;
        options.height = 768;
        options.frames = 1;
        options.step = 1.0 / 60;
    } else {
        options.width = 800;
        options.height = 600;
    }
    return options;
}

std::optional<unsigned long> ParseWindowId(const char* text)
{
    if (text == nullptr)
        return std::nullopt;
    std::string digits = text;
    const std::size_t first = digits.find_first_not_of(" \t\r\n");
    const std::size_t last = digits.find_last_not_of(" \t\r\n");
    digits = first == std::string::npos ? std::string() : digits.substr(first, last - first + 1);
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

ParsedOptions ParseProgramOptions(Program program, const std::vector<std::string>& args)
{
    ProgramOptions options = DefaultProgramOptions(program);
    auto refuse = [](std::string text) {
        ParsedOptions result;
        result.error = std::move(text);
        return result;
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& argument = args[i];
        std::string name;
        std::optional<std::string> value;
        const OptionEntry* entry = FindOption(program, argument, name, value);
        if (entry == nullptr) {
            if (program == Program::Saver && IsStandAloneLetter(argument)) {
                options.target = SaverTarget::StandAlone;
                continue;
            }
            return refuse((argument.empty() ? Quoted(argument) : argument) + ": unknown option");
        }
        if (entry->argument == nullptr && value)
            return refuse(name + ": takes no value");
        if (entry->argument != nullptr && !value) {
            if (i + 1 >= args.size())
                return refuse(name + ": needs " + entry->argument);
            value = args[++i];
        }
        if (entry->setting != nullptr) {
            options.overrides.push_back({entry->setting, entry->value});
            continue;
        }
        const std::string problem = entry->apply(options, value.value_or(std::string()));
        if (!problem.empty())
            return refuse(name + ": " + problem);
    }
    if (program == Program::Render && !options.help) {
        if (options.bench && !options.out.empty())
            return refuse("--out: --bench writes no files; leave out one of them");
        if (!options.bench && options.out.empty())
            return refuse("--out: nothing to do; give --out FILE.png or --bench");
    }
    ParsedOptions result;
    result.options = options;
    return result;
}

std::string ProgramUsage(Program program, const char* programName)
{
    std::string text = std::string("usage: ") + programName;
    if (program == Program::Saver) {
        text += " [-s | -root | -window | -window-id ID] [options]\n";
        text += "  -s, -S, --s, /s          stand-alone: full screen on the current desktop mode, ends on input\n";
    } else {
        text += " [options]\n";
    }
    for (const auto& entry : kOptionTable) {
        if ((entry.programs & Mask(program)) == 0)
            continue;
        std::string left = std::string("  -") + (program == Program::Render ? "-" : "") + entry.name;
        if (entry.argument != nullptr)
            left += std::string(" ") + entry.argument;
        if (left.size() < 27)
            left.resize(27, ' ');
        else
            left += ' ';
        text += left + entry.help + "\n";
    }
    if (program == Program::Saver)
        text += "Options take one or two dashes, in any order. Exit status: " + std::to_string(kSaverExitNormal) +
                " ended normally; " + std::to_string(kSaverExitFailure) + " a failure (one line on stderr); " +
                std::to_string(kSaverExitRefused) + " a refused command line.\n";
    return text;
}
