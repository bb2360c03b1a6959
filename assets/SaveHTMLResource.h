#pragma once
// The information page: a raw-data resource written out byte for byte as a file that
// the shell can open.

#include <string>

// The name the page is written under, in whatever folder takes it.
inline constexpr const char* kInfoPageFileName = "Arcveil3D.htm";

// Writes the whole raw-data resource into the file at path, creating or truncating it.
// False when the resource is missing or empty, or the file cannot be opened, written,
// flushed or closed; whatever was written by then stays. File errors end here.
bool SaveHTMLResource(int resourceId, const char* path);

// folder followed by one backslash and the page's file name ("C:\WINDOWS" and
// "C:\TEMP\" both give one separator).
std::string InfoPageFilePath(const char* folder);
