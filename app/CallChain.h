#pragma once
// The one failure path. A failure is an exception that carries nothing (the program
// throws the integer 0); its story travels in two process-wide strings:
//  - the call chain: every operation the exception leaves writes its name in front,
//    so it reads outermost first: "A::F() -> B::G() -> H()";
//  - the error text: set by the operation that detects the failure, quoted.
// Each operation marks itself with one line at the top of its body:
//     CHAIN_OPERATION("CSaverWnd::Create");
// Exceptions of any type are handled alike and pass on unchanged.
#include <string>

extern std::string g_callChain;
extern std::string g_errorText;

// Error texts, quotation marks included: they show in the message box as they stand.
inline constexpr const char* kErrorVideoMode = "\"Could not set specified video mode\"";
inline constexpr const char* kErrorOpenGL = "\"Could not init OpenGL. Try to choose another video mode or color depth\"";
inline constexpr const char* kErrorUnknown = "\"Unknown Error\"";

// Sets the error text and throws the failure.
[[noreturn]] void RaiseFailure(const char* errorText);

// Writes name into the chain as an exception passes outward (see the contract above).
void PrependToCallChain(const char* operationName);

// The message box text: the chain, an empty line, the error text ("Unknown Error" when
// nothing set one). Fills in g_errorText and completes g_callChain as the report does.
const std::string& ComposeFailureReport();

// Records its operation in the chain when it is destroyed by an exception leaving the
// operation's body; a normal return leaves the chain alone.
class ChainEntry {
public:
    explicit ChainEntry(const char* operationName) noexcept;
    ~ChainEntry();
    ChainEntry(const ChainEntry&) = delete;
    ChainEntry& operator=(const ChainEntry&) = delete;

private:
    const char* m_name;
    int m_exceptionsAtEntry;
};

#define ARCVEIL_CHAIN_CONCAT2(a, b) a##b
#define ARCVEIL_CHAIN_CONCAT(a, b) ARCVEIL_CHAIN_CONCAT2(a, b)
#define CHAIN_OPERATION(name) const ChainEntry ARCVEIL_CHAIN_CONCAT(chainEntry_, __LINE__)(name)
