#include "app/RunMode.h"

#include <cstdlib>

#include "app/MatchOption.h"

RunMode ChooseRunMode(int argc, const char* const* argv)
{
    if (argc <= 1 || argv == nullptr)
        return RunMode::Settings;
    const char* option = argv[1] ? argv[1] : "";
    if (MatchOption(option, 'c'))
        return RunMode::Settings;
    if (MatchOption(option, 'p'))
        return RunMode::Preview;
    if (MatchOption(option, 's'))
        return RunMode::Saver;
    return RunMode::None;
}

std::optional<long> PreviewHostHandle(int argc, const char* const* argv)
{
    if (argc <= 2 || argv == nullptr || argv[2] == nullptr)
        return std::nullopt;
    // strtol reads what atol reads and saturates where atol's result is undefined.
    const long handle = std::strtol(argv[2], nullptr, 10);
    if (handle == 0)
        return std::nullopt;
    return handle;
}
