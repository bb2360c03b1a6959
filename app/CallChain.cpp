#include "app/CallChain.h"

#include <exception>

std::string g_callChain;
std::string g_errorText;

void RaiseFailure(const char* errorText)
{
    g_errorText = errorText;
    throw 0;
}

void PrependToCallChain(const char* operationName)
{
    if (g_callChain.empty()) {
        g_callChain = std::string(operationName) + "()";
    } else {
        g_callChain = std::string(operationName) + "() -> " + g_callChain;
    }
}

const std::string& ComposeFailureReport()
{
    if (g_errorText.empty())
        g_errorText = kErrorUnknown;
    g_callChain += "\n\n";
    g_callChain += g_errorText;
    return g_callChain;
}

ChainEntry::ChainEntry(const char* operationName) noexcept
    : m_name(operationName), m_exceptionsAtEntry(std::uncaught_exceptions())
{
}

ChainEntry::~ChainEntry()
{
    if (std::uncaught_exceptions() <= m_exceptionsAtEntry)
        return;
    // Running during unwinding: a failure must never escape from here.
    try {
        PrependToCallChain(m_name);
    } catch (...) {
    }
}
