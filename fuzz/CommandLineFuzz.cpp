// The command-line handling over arbitrary argument vectors: the Windows program's run
// mode and preview handle, and the Linux saver's options. The bytes are split at NUL
// into arguments (the first is the program path). Nothing may crash or read beyond an
// argument; the run mode follows the one-letter rule, checked here independently.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/MatchOption.h"
#include "app/RunMode.h"
#include "app/ProgramOptions.h"

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// The letter the option names: one leading '-', '/' or blank skipped, then one
// character, lower case; 0 when there is none.
char LetterOf(const std::string& argument)
{
    std::size_t at = 0;
    if (!argument.empty() && (argument[0] == '-' || argument[0] == '/' || argument[0] == ' '))
        at = 1;
    if (at >= argument.size() || argument[at] == '\0')
        return 0;
    const char c = argument[at];
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> arguments(1);
    for (std::size_t i = 0; i < size && arguments.size() < 256; ++i) {
        if (data[i] == 0)
            arguments.emplace_back();
        else
            arguments.back().push_back(static_cast<char>(data[i]));
    }
    // Each argument in a block of its own, so that a read past its end is caught.
    std::vector<std::unique_ptr<char[]>> blocks;
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
        blocks.emplace_back(new char[argument.size() + 1]);
        std::copy(argument.begin(), argument.end(), blocks.back().get());
        blocks.back()[argument.size()] = '\0';
        argv.push_back(blocks.back().get());
    }
    const int argc = static_cast<int>(argv.size());

    const RunMode mode = ChooseRunMode(argc, argv.data());
    const char letter = argc > 1 ? LetterOf(arguments[1]) : 'c';
    switch (letter) {
    case 'c': Require(mode == RunMode::Settings); break;
    case 'p': Require(mode == RunMode::Preview); break;
    case 's': Require(mode == RunMode::Saver); break;
    default: Require(mode == RunMode::None); break;
    }
    for (const char option : {'c', 'p', 's', 'x'})
        Require(MatchOption(argv.back(), option) == (LetterOf(arguments.back()) == option));

    const std::optional<long> handle = PreviewHostHandle(argc, argv.data());
    if (handle) {
        Require(argc > 2 && *handle != 0);
        // Only a number can name a window: some digit is in argument 2.
        bool digit = false;
        for (char c : arguments[2])
            digit = digit || std::isdigit(static_cast<unsigned char>(c));
        Require(digit);
    }

    const std::vector<std::string> programArguments(arguments.begin() + 1, arguments.end());
    for (const Program program : {Program::Saver, Program::Render}) {
        const ParsedOptions parsed = ParseProgramOptions(program, programArguments);
        Require(parsed.options.has_value() != !parsed.error.empty());
        if (parsed.options) {
            Require(parsed.options->width > 0 && parsed.options->height > 0);
            Require(parsed.options->frames >= 0);
            if (parsed.options->step)
                Require(*parsed.options->step >= 0.0 && *parsed.options->step <= 3600.0);
            if (parsed.options->target == SaverTarget::WindowId)
                Require(parsed.options->windowId != 0 && parsed.options->windowId <= 0xffffffffUL);
        }
    }
    if (!arguments[1 % arguments.size()].empty())
        (void)ParseWindowId(arguments[1 % arguments.size()].c_str());
    return 0;
}
