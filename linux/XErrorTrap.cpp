#include "linux/XErrorTrap.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "linux/SaverOptions.h"

namespace {

int g_xErrors = 0;
std::optional<KeptXError> g_xError;

int KeepXError(Display* display, XErrorEvent* error)
{
    ++g_xErrors;
    if (!g_xError) {
        g_xError.emplace();
        g_xError->major = error->request_code;
        g_xError->minor = error->minor_code;
        XGetErrorText(display, error->error_code, g_xError->text, sizeof g_xError->text);
        // The core requests have names in Xlib's database (X_CreateGC); no request is made.
        const std::string number = std::to_string(error->request_code);
        XGetErrorDatabaseText(display, "XRequest", number.c_str(), "", g_xError->request, sizeof g_xError->request);
    }
    return 0;
}

// Xlib would print several lines and exit; a failure of the saver is one line.
int ReportLostConnection(Display*)
{
    std::fputs("arcveil3d: the connection to the X server was lost\n", stderr);
    _exit(kSaverExitFailure);
}

} // namespace

void TrapXErrors()
{
    XSetErrorHandler(KeepXError);
    XSetIOErrorHandler(ReportLostConnection);
    std::signal(SIGPIPE, SIG_IGN);
}

int XErrorCount()
{
    return g_xErrors;
}

bool XRequestFailed(Display* display, int errorsBefore)
{
    XSync(display, False);
    return g_xErrors != errorsBefore;
}

std::optional<KeptXError> TakeKeptXError()
{
    std::optional<KeptXError> kept;
    kept.swap(g_xError);
    return kept;
}
