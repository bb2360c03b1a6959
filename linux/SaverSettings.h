#pragma once
// Where the Linux saver's settings come from in each way of running it, and where the
// file lives:
//     $XDG_CONFIG_HOME/arcveil3d/settings.ini   (default ~/.config)
// whatever the program's file is called. Earlier versions kept it in
// "$XDG_CONFIG_HOME/Quenmoor Soft./<program name>/settings.ini", named after argv[0];
// such a file is moved to the new place the first time the file is read.
#include <optional>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "linux/SaverOptions.h"
#include "linux/SettingsFile.h"

// The shared defaults, but silent: XScreenSaver's modules make no sound unless asked.
SettingsRecord LinuxDefaultSettings();

// Under XScreenSaver (-root, -window-id) the command line is the only source: the
// daemon's settings dialog writes it. Stand-alone, in a window of its own, and for
// --save, the file applies and the command line overrides it.
bool ReadsSettingsFile(const SaverOptions& options);

// The file's path: under xdgConfigHome when that is an absolute path (the XDG rule),
// else under home + "/.config"; null when neither is usable.
std::optional<std::string> SettingsFilePath(const char* xdgConfigHome, const char* home);

// Where earlier versions kept the file, most likely first: under argv[0]'s name, then
// under "arcveil3d".
std::vector<std::string> OldSettingsFilePaths(const char* xdgConfigHome, const char* home, const std::string& argv0);

// When path does not exist, moves the first old file that does to it: read whole,
// written and synced (WriteFileAtomically), and only then the old file and the folders
// it leaves empty removed. Returns the path to read: path, or the old file when it could
// not be read or moved. An old path that is not a regular file (a link, a folder) is
// left alone, and one that stays beside an existing path is kept; warning gets a line
// for each of these and for a file that could not be moved.
std::string MoveOldSettingsFile(const std::string& path, const std::vector<std::string>& oldPaths,
                                std::string& warning);

// The nine settings and Gentle from the store over settings: a value the file lacks keeps what
// settings held, one outside its range is refused (and named in the store's warning).
void ReadSettingsFile(CFileProfileStore& store, SettingsRecord& settings);
