#pragma once
// The run mode the command line asks for, and the preview's host window, as pure
// functions of the argument vector so that every vector can be checked natively.
//  - no argument, or an option matching 'c': the settings dialog;
//  - an option matching 'p': the preview, in the window whose handle is argument 2;
//  - an option matching 's': the saver;
//  - anything else: no run mode (the program ends at once, without a window).
#include <cstdint>
#include <optional>

enum class RunMode { Settings, Preview, Saver, None };

// argv holds argc entries; a null entry counts as an empty argument.
RunMode ChooseRunMode(int argc, const char* const* argv);

// The host window's handle as the decimal number in argument 2 (leading blanks and one
// sign allowed, digits up to the first other character, as atol reads it; a number
// beyond the range of long saturates instead of being undefined). Nothing when there
// is no argument 2 or it reads as 0, which is no window.
std::optional<long> PreviewHostHandle(int argc, const char* const* argv);
