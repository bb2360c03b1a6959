#include "native/OptionTable.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

std::string ApplySize(CommonOptions& options, const std::string& value)
{
    std::size_t i = 0;
    if (!TakeSize(value, i, options.width, options.height) || i != value.size())
        return Quoted(value) + " is not WIDTHxHEIGHT, each from 1 to " + std::to_string(kMaxPictureSide);
    return {};
}

std::string ShowSize(const CommonOptions& defaults)
{
    return std::to_string(defaults.width) + "x" + std::to_string(defaults.height);
}

std::string ApplySeed(CommonOptions& options, const std::string& value)
{
    const auto seed = ParseWholeNumber(value, 0, 4294967295LL);
    if (!seed)
        return Quoted(value) + " is not a whole number from 0 to 4294967295";
    options.seed = static_cast<std::uint32_t>(*seed);
    return {};
}

std::string ApplyFrames(CommonOptions& options, const std::string& value)
{
    const auto frames = ParseWholeNumber(value, 1, 2147483647);
    if (!frames)
        return Quoted(value) + " is not a whole number of at least 1";
    options.frames = *frames;
    return {};
}

std::string ApplyStep(CommonOptions& options, const std::string& value)
{
    char* end = nullptr;
    errno = 0;
    const double step = value.empty() ? -1.0 : std::strtod(value.c_str(), &end);
    if (value.empty() || errno != 0 || *end != '\0' || !std::isfinite(step) || step < 0.0 || step > 3600.0)
        return Quoted(value) + " is not a number of seconds from 0 to 3600";
    options.step = step;
    return {};
}

std::string ApplySet(CommonOptions& options, const std::string& value)
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

} // namespace

const OptionEntry<CommonOptions> kSetOption = {
    "set", "NAME=VALUE", "any of the nine settings, or Gentle, by its stored name (repeatable)", nullptr, 0, ApplySet};
const OptionEntry<CommonOptions> kSizeOption = {
    "size", "WxH", "picture or own window size (default {})", nullptr, 0, ApplySize, ShowSize};
const OptionEntry<CommonOptions> kSeedOption = {
    "seed", "N", "random seed (default: from the clock)", nullptr, 0, ApplySeed};
const OptionEntry<CommonOptions> kStepOption = {
    "step", "SECONDS", "a clock that advances by SECONDS before each frame, from 0", nullptr, 0, ApplyStep};
const OptionEntry<CommonOptions> kFramesOption = {"frames", "N", "end after N frames", nullptr, 0, ApplyFrames};
const OptionEntry<CommonOptions> kHelpOption = {"help", nullptr, "this text", nullptr, 0,
                                                SetTo<CommonOptions, &CommonOptions::help, true>};

std::string Quoted(const std::string& text)
{
    return "'" + text + "'";
}

std::optional<int> TakeNumber(const std::string& text, std::size_t& i)
{
    const std::size_t start = i;
    while (i < text.size() && i - start < 6 && std::isdigit(static_cast<unsigned char>(text[i])))
        ++i;
    if (i == start || i - start > 5)
        return std::nullopt;
    return std::stoi(text.substr(start, i - start));
}

bool TakeSize(const std::string& text, std::size_t& i, int& width, int& height)
{
    const auto w = TakeNumber(text, i);
    if (!w || i >= text.size() || (text[i] != 'x' && text[i] != 'X'))
        return false;
    const auto h = TakeNumber(text, ++i);
    if (!h || *w < 1 || *h < 1 || *w > kMaxPictureSide || *h > kMaxPictureSide)
        return false;
    width = *w;
    height = *h;
    return true;
}

std::optional<OptionWord> SplitOptionWord(const std::string& argument)
{
    std::size_t dashes = 0;
    while (dashes < argument.size() && dashes < 2 && argument[dashes] == '-')
        ++dashes;
    if (dashes == 0)
        return std::nullopt;
    OptionWord word;
    const std::size_t equals = argument.find('=');
    word.given = argument.substr(0, equals);
    if (equals != std::string::npos)
        word.value = argument.substr(equals + 1);
    word.name = word.given.substr(dashes);
    if (word.name == "h")
        word.name = "help";
    return word;
}

std::string UnknownOptionError(const std::string& argument)
{
    return (argument.empty() ? Quoted(argument) : argument) + ": unknown option";
}

std::string UsageLine(const std::string& option, const std::string& help)
{
    std::string left = option;
    if (left.size() < 27)
        left.resize(27, ' ');
    else
        left += ' ';
    return left + help + "\n";
}

std::string WithDefault(const char* help, const std::string& shown)
{
    std::string text = help;
    const std::size_t at = text.find("{}");
    if (at != std::string::npos)
        text.replace(at, 2, shown);
    return text;
}
