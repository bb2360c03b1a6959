#pragma once
// The saver's Xlib error handlers. Xlib's own end the process at any error; here an
// error is kept instead (the first since the last look) for the saver window to judge:
// about a window that vanished under the saver it is that window's end, any other ends
// the saver with its name (linux/CXSaverWnd.h). A lost connection is one line on stderr
// and status 1, as any failure of the saver.
#include <X11/Xlib.h>

#include <optional>

struct KeptXError {
    char request[64] = {}; // its name, when Xlib knows it
    int major = 0;
    int minor = 0;
    char text[128] = {};
};

// Installs both handlers, and ignores SIGPIPE: a write to a server that is gone must
// reach the lost connection's handler, not end the process silently.
void TrapXErrors();
// The errors seen so far.
int XErrorCount();
// True when a request made since the count was errorsBefore failed.
bool XRequestFailed(Display* display, int errorsBefore);
// The first error kept since the last call; none is kept after it.
std::optional<KeptXError> TakeKeptXError();
