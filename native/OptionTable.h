#pragma once
// The command lines of the native programs, arcveil3d (the Linux saver, linux/SaverOptions)
// and arcveil3d-render (tools/render/RenderOptions), each declared in one table of its
// own. An option both take is spelled, parsed and bounded once, here, and each table
// takes it by reference (SharedOption); each program's usage is printed from its table.
// An option is its name after one or two dashes ("-root", "--root"); its value is the
// next argument, or what follows '=' in the same one ("--seed=7"). Options may come in
// any order.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/Settings.h"

// What both programs read from their command lines. Repeatable runs: a fixed seed, and a
// clock that starts at 0 and advances by a fixed step before each frame.
struct CommonOptions {
    int width = 0; // the saver's own window, the renderer's picture (--size WxH, -geometry)
    int height = 0;
    std::optional<std::uint32_t> seed;      // empty: from the clock
    std::optional<double> step;             // empty: the real clock
    std::int64_t frames = 0;                // 0: until ended
    std::vector<SettingOverride> overrides; // switches and --set, in command-line order
    bool help = false;
};

// One option of a program's table.
template <typename Options>
struct OptionEntry {
    const char* name;     // without its leading dashes
    const char* argument; // the value's name in the usage; null: the option takes none
    const char* help;     // "{}" stands for the default, as shownDefault gives it
    // A switch sets one setting to a value; anything else has its own function, which
    // returns an empty text when the value is accepted, else the problem.
    const char* setting;
    std::int32_t value;
    std::string (*apply)(Options& options, const std::string& value);
    std::string (*shownDefault)(const Options& defaults) = nullptr;
};

// An option's function that sets one field to a fixed value (-fps, -root, --bench).
template <typename Options, auto kField, auto kValue>
std::string SetTo(Options& options, const std::string&)
{
    options.*kField = kValue;
    return {};
}

// The options both programs take, applied to what they share.
extern const OptionEntry<CommonOptions> kSetOption;
extern const OptionEntry<CommonOptions> kSizeOption;
extern const OptionEntry<CommonOptions> kSeedOption;
extern const OptionEntry<CommonOptions> kStepOption;
extern const OptionEntry<CommonOptions> kFramesOption;
extern const OptionEntry<CommonOptions> kHelpOption;

// A shared option as an entry of a program's table.
template <typename Options, const OptionEntry<CommonOptions>& kShared>
OptionEntry<Options> SharedOption()
{
    return {kShared.name, kShared.argument, kShared.help, kShared.setting, kShared.value,
            kShared.apply == nullptr ? nullptr
                                     : +[](Options& options, const std::string& value) {
                                           return kShared.apply(options, value);
                                       },
            kShared.shownDefault == nullptr ? nullptr : +[](const Options& defaults) {
                return kShared.shownDefault(defaults);
            }};
}

// WIDTHxHEIGHT at text[i], each from 1 to kMaxPictureSide; advances i past it.
bool TakeSize(const std::string& text, std::size_t& i, int& width, int& height);
// Digits at text[i], as an int of at most five digits; advances i.
std::optional<int> TakeNumber(const std::string& text, std::size_t& i);
// "'text'": a value as the messages quote it.
std::string Quoted(const std::string& text);

template <typename Options>
struct ParsedOptions {
    std::optional<Options> options; // empty when the command line is refused
    std::string error;              // one line naming the offending argument
};

// An argument as an option: its name as given (dashes included), the table's name for
// it and its value after '=', if any. Null for an argument without a leading dash.
struct OptionWord {
    std::string given;
    std::string name;
    std::optional<std::string> value;
};
std::optional<OptionWord> SplitOptionWord(const std::string& argument);
std::string UnknownOptionError(const std::string& argument);

// Reads args (without the program name) over the defaults; otherWord, when given, may
// take an argument that no entry names (true: taken).
template <typename Options, std::size_t N>
ParsedOptions<Options> ParseOptions(const OptionEntry<Options> (&table)[N], Options options,
                                    const std::vector<std::string>& args,
                                    bool (*otherWord)(Options& options, const std::string& argument) = nullptr)
{
    const auto refuse = [](std::string text) {
        ParsedOptions<Options> result;
        result.error = std::move(text);
        return result;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& argument = args[i];
        std::optional<OptionWord> word = SplitOptionWord(argument);
        const OptionEntry<Options>* entry = nullptr;
        for (std::size_t e = 0; word && e < N && entry == nullptr; ++e) {
            if (word->name == table[e].name)
                entry = &table[e];
        }
        if (entry == nullptr) {
            if (otherWord != nullptr && otherWord(options, argument))
                continue;
            return refuse(UnknownOptionError(argument));
        }
        if (entry->argument == nullptr && word->value)
            return refuse(word->given + ": takes no value");
        if (entry->argument != nullptr && !word->value) {
            if (i + 1 >= args.size())
                return refuse(word->given + ": needs " + entry->argument);
            word->value = args[++i];
        }
        if (entry->setting != nullptr) {
            options.overrides.push_back({entry->setting, entry->value});
            continue;
        }
        const std::string problem = entry->apply(options, word->value.value_or(std::string()));
        if (!problem.empty())
            return refuse(word->given + ": " + problem);
    }
    ParsedOptions<Options> result;
    result.options = std::move(options);
    return result;
}

// One line of a usage text: the option and its value's name, then its help.
std::string UsageLine(const std::string& option, const std::string& help);
// help with its "{}" replaced by the default shown.
std::string WithDefault(const char* help, const std::string& shown);

// The table's lines of a usage text, each option written with the given dashes.
template <typename Options, std::size_t N>
std::string TableUsage(const OptionEntry<Options> (&table)[N], const Options& defaults, const char* dashes)
{
    std::string text;
    for (const auto& entry : table) {
        std::string option = std::string("  ") + dashes + entry.name;
        if (entry.argument != nullptr)
            option += std::string(" ") + entry.argument;
        text += UsageLine(option, WithDefault(entry.help, entry.shownDefault ? entry.shownDefault(defaults) : ""));
    }
    return text;
}
