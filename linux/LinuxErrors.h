#pragma once
// The Linux saver's failure texts (linux/FailureReport.h), each with what to do about it
// on Linux. The Windows program's texts and advice are not used here.
#include <cstdio>
#include <string>

inline std::string NoDisplayError(const std::string& name)
{
    if (name.empty())
        return "cannot open the X display: DISPLAY is not set; set it or use -display NAME";
    return "cannot open display \"" + name + "\": is an X server running there? Set DISPLAY or use -display NAME";
}

inline std::string NoWindowError(unsigned long id)
{
    char hex[24];
    std::snprintf(hex, sizeof hex, "0x%lx", id);
    return std::string("the window to draw into (") + hex + ") does not exist";
}

inline std::string XRefusedError(const char* error, const char* request, int major, int minor)
{
    const std::string name = request[0] != '\0' ? request : "request " + std::to_string(major) + "." + std::to_string(minor);
    return std::string("the X server refused ") + name + ": " + error;
}

inline std::string BadWindowVariableError(const std::string& value)
{
    return "XSCREENSAVER_WINDOW=\"" + value + "\" is not a window id";
}

inline constexpr const char* kErrorNoGlxVisual =
    "the X server offers no GLX visual with a depth buffer (is its GLX extension on? Xvfb needs it, and "
    "Mesa's libGL for software drawing)";
inline constexpr const char* kErrorNoContext =
    "no OpenGL context could be made current on the window (check the OpenGL driver, e.g. with glxinfo)";

inline std::string SettingsWriteError(const std::string& path, const std::string& reason)
{
    return "the settings file " + path + " could not be written: " + reason;
}

inline std::string SettingsUnreadableError(const std::string& path, const std::string& reason)
{
    return "the settings file " + path + " cannot be read (" + reason + "); --save leaves it as it is";
}

inline constexpr const char* kErrorNoSettingsPlace =
    "the settings file has no place: set HOME or XDG_CONFIG_HOME to an absolute path";
