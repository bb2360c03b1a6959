#pragma once
// Error texts of failures that only the Linux saver has, quoted like the Windows
// program's own (app/CallChain.h), which it uses where the situation is the same.
inline constexpr const char* kErrorNoDisplay = "\"Could not open the X display\"";
inline constexpr const char* kErrorNoWindow = "\"Could not find the window to draw into\"";
inline constexpr const char* kErrorSaveSettings = "\"Could not write the settings file\"";
