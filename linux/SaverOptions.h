#pragma once
// The Linux saver's command line: the options both native programs take
// (native/OptionTable.h) and the saver's own, XScreenSaver's among them, in one table
// (SaverOptions.cpp) from which the usage is printed too.
#include <optional>
#include <string>
#include <vector>

#include "native/OptionTable.h"

enum class SaverTarget {
    OwnWindow,  // -window, and no option at all, as every XScreenSaver module does
    Root,       // -root: the window in XSCREENSAVER_WINDOW, else the root window
    WindowId,   // -window-id ID: a window that another program owns
    StandAlone, // -s: full screen, ends on input
};

// Where -geometry places the saver's own window: offsets from the left and top, or,
// when negative in the geometry ("-10-0"), from the right and bottom edges.
inline constexpr int kMaxWindowOffset = 32767; // X's coordinates are 16-bit
struct WindowPosition {
    int x = 0;
    int y = 0;
    bool fromRight = false;
    bool fromBottom = false;
};

// What the saver shows on several monitors, where it covers the whole screen (-s, and
// -root in the bare root window): a view on each, the primary alone (the others
// black), or one view over the whole window.
enum class MonitorChoice { Each, Primary, Span };

// The Linux saver's exit statuses.
inline constexpr int kSaverExitNormal = 0;
inline constexpr int kSaverExitFailure = 1;
inline constexpr int kSaverExitRefused = 2;

struct SaverOptions : CommonOptions {
    SaverTarget target = SaverTarget::OwnWindow;
    unsigned long windowId = 0; // for WindowId
    std::string display;        // -display NAME; empty: $DISPLAY
    bool saveSettings = false;  // --save: write file values plus flags, then end
    long delayMicroseconds = 20000; // -delay: the pause after each frame
    bool fps = false;               // -fps: the frame rate overlay
    std::optional<unsigned long> visualId;  // -visual ID (a name is accepted and ignored)
    std::optional<WindowPosition> position; // -geometry's offsets, for -window
    bool synchronous = false;               // -sync: X requests one at a time
    MonitorChoice monitors = MonitorChoice::Each; // -monitors each|primary|span
};

// What the saver starts from before its command line is read.
SaverOptions DefaultSaverOptions();

// args excludes the program name.
ParsedOptions<SaverOptions> ParseSaverOptions(const std::vector<std::string>& args);

std::string SaverUsage(const char* programName);

// A window id in decimal or, with 0x, hexadecimal (as XScreenSaver and xwininfo print
// it); null for anything else, for 0, and for values beyond 32 bits (X ids are 29 bits).
std::optional<unsigned long> ParseWindowId(const char* text);
