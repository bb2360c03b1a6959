#pragma once
// True when the command-line argument names the option letter: one leading '-', '/'
// or blank is skipped, then exactly one character is compared, ignoring case; the
// rest of the argument is ignored ("/c:1234" matches 'c', "--s" matches nothing).
bool MatchOption(const char* argument, char option);
