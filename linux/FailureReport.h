#pragma once
// How the Linux saver reports a failure, as its peers do: one line on stderr,
//     arcveil3d: <what failed, and what to do> (<the call chain, outermost first>)
// then an exit status of 1; never a window. The text is the one the failing operation
// set (app/CallChain.h's RaiseFailure), else the exception's own, else "unknown error".
#include <string>

std::string FailureLine(const std::string& exceptionText);
