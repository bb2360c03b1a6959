#pragma once
// The command lines of the native programs, arcveil3d (the Linux saver) and
// arcveil3d-render, declared in one table (ProgramOptions.cpp): an option both take is
// spelled, parsed and bounded once, and each program's usage is printed from the table.
// An option is its name after one or two dashes ("-root", "--root"); its value is the
// next argument, or what follows '=' in the same one ("--seed=7"). Each program accepts
// only the options marked for it; options may come in any order.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/Settings.h"

enum class Program { Saver, Render };

enum class SaverTarget {
    OwnWindow,  // -window, and no option at all, as every XScreenSaver module does
    Root,       // -root: the window in XSCREENSAVER_WINDOW, else the root window
    WindowId,   // -window-id ID: a window that another program owns
    StandAlone, // -s: full screen, ends on input
};

// Where -geometry places the saver's own window: offsets from the left and top, or,
// when negative in the geometry ("-10-0"), from the right and bottom edges.
struct WindowPosition {
    int x = 0;
    int y = 0;
    bool fromRight = false;
    bool fromBottom = false;
};

// The Linux saver's exit statuses.
inline constexpr int kSaverExitNormal = 0;
inline constexpr int kSaverExitFailure = 1;
inline constexpr int kSaverExitRefused = 2;

struct ProgramOptions {
    // Both programs. Repeatable runs: a fixed seed, and a clock that starts at 0 and
    // advances by a fixed step before each frame.
    int width = 0;  // the saver's own window, the renderer's picture (--size WxH, -geometry)
    int height = 0;
    std::optional<std::uint32_t> seed; // empty: from the clock
    std::optional<double> step;        // empty: the real clock
    std::int64_t frames = 0;           // 0: until ended
    std::vector<SettingOverride> overrides; // switches and --set, in command-line order
    bool help = false;

    // The Linux saver.
    SaverTarget target = SaverTarget::OwnWindow;
    unsigned long windowId = 0; // for WindowId
    std::string display;        // -display NAME; empty: $DISPLAY
    bool saveSettings = false;  // --save: write file values plus flags, then end
    long delayMicroseconds = 20000; // -delay: the pause after each frame
    bool fps = false;               // -fps: the frame rate overlay
    std::optional<unsigned long> visualId;  // -visual ID (a name is accepted and ignored)
    std::optional<WindowPosition> position; // -geometry's offsets, for -window
    bool synchronous = false;               // -sync: X requests one at a time

    // The offscreen renderer.
    std::string out; // --out FILE.png; empty: no file
    bool bench = false;
};

// What a program starts from before its command line is read.
ProgramOptions DefaultProgramOptions(Program program);

struct ParsedOptions {
    std::optional<ProgramOptions> options; // empty when the command line is refused
    std::string error;                     // one line naming the offending argument
};

// args excludes the program name.
ParsedOptions ParseProgramOptions(Program program, const std::vector<std::string>& args);

// The usage text of a program, built from the table.
std::string ProgramUsage(Program program, const char* programName);

// A window id in decimal or, with 0x, hexadecimal (as XScreenSaver and xwininfo print
// it); null for anything else, for 0, and for values beyond 32 bits (X ids are 29 bits).
std::optional<unsigned long> ParseWindowId(const char* text);
