#pragma once
// windows.h for the program's Win32 files. It defines GetProfileInt and
// WriteProfileInt as macros (the old INI-file functions), which would rename the
// profile store's methods in some files and not in others.
#include <windows.h>

#undef GetProfileInt
#undef WriteProfileInt
