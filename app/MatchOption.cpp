#include "app/MatchOption.h"

namespace {
// Case folding of the ASCII letters only: the options are ASCII, and a byte of
// another code page must not match one of them by a locale's rules.
char FoldCase(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

bool MatchOption(const char* argument, char option)
{
    if (argument == nullptr)
        return false;
    if (*argument == '-' || *argument == '/' || *argument == ' ')
        ++argument;
    // The end of the argument compares as an empty string, which equals no letter.
    return *argument != '\0' && FoldCase(*argument) == FoldCase(option);
}
