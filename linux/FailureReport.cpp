#include "linux/FailureReport.h"

#include "app/CallChain.h"

std::string FailureLine(const std::string& exceptionText)
{
    std::string text = !g_errorText.empty() ? g_errorText : !exceptionText.empty() ? exceptionText : "unknown error";
    // One line, whatever the texts hold.
    for (char& c : text) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return "arcveil3d: " + text + " (" + g_callChain + ")\n";
}
