#pragma once
// The Linux saver's command line. XScreenSaver starts its modules with -root or
// -window-id; people start it with -window, or with -s (also /s, -S, s, /save: the first
// argument is matched with MatchOption, as on Windows) for the stand-alone full-screen
// saver. Every option is declared once in kSaverOptionTable, which also prints the usage.
// X-style options take one or two leading dashes ("-root", "--root").
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class SaverTarget {
    OwnWindow,  // -window, and no option at all, as every XScreenSaver module does
    Root,       // -root: the window in XSCREENSAVER_WINDOW, else the root window
    WindowId,   // -window-id ID: a window that another program owns
    StandAlone, // -s: full screen, ends on input
};

struct SettingOverride {
    std::string name; // one of the nine setting names, exactly as stored
    std::int32_t value = 0;
};

struct SaverOptions {
    SaverTarget target = SaverTarget::OwnWindow;
    unsigned long windowId = 0;           // for WindowId
    std::string display;                  // -display NAME; empty: $DISPLAY
    std::vector<SettingOverride> overrides; // switches and --set, in command-line order
    bool saveSettings = false;            // --save: write file values plus flags, then end
    bool help = false;
    // Repeatable runs: a fixed seed, a clock that advances by a fixed step per frame,
    // and an end after a number of frames (0: run until ended).
    std::optional<std::uint32_t> seed;
    std::optional<double> step;
    int frames = 0;
    int width = 800;  // -window's size, --size WxH
    int height = 600;
};

struct ParsedOptions {
    std::optional<SaverOptions> options; // empty when the command line is refused
    std::string error;                   // one line naming the offending argument
};

// args excludes the program name.
ParsedOptions ParseSaverOptions(const std::vector<std::string>& args);

// A window id in decimal or, with 0x, hexadecimal (as XScreenSaver and xwininfo print
// it); null for anything else, for 0, and for values beyond 32 bits (X ids are 29 bits).
std::optional<unsigned long> ParseWindowId(const char* text);

// A decimal 32-bit signed integer with nothing around it but blanks; null otherwise.
std::optional<std::int32_t> ParseInt32(const std::string& text);

// The usage text, built from the option table.
std::string SaverUsage(const char* programName);
