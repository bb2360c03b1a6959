#pragma once
// What the in-process Windows tests share: each case starts and ends with an empty
// message queue, no failure story, no settings and the desktop's video mode; and the
// program's calls into the system seen through this executable's import slots.
#include <string>

#include "app/CallChain.h"
#include "app/Settings.h"
#include "display/CDisplay.h"
#include "platform/WindowsHeaders_Win32.h"

struct Fresh {
    Fresh() { Clear(); }
    ~Fresh() { Clear(); }
    static void Clear()
    {
        // Posted messages only: a drawing window a failed case left always has a paint waiting.
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE)) {
        }
        g_callChain.clear();
        g_errorText.clear();
        G_Settings = SettingsRecord{};
        CDisplay::RestoreMode();
    }
};

inline DWORD BitsPerPixel()
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    return mode.dmBitsPerPel;
}

// The defaults, at the screen's own size: a mode the display has.
inline SettingsRecord ScreenSizedSettings(int desktop)
{
    SettingsRecord settings = DefaultSettings();
    settings.Width = GetSystemMetrics(SM_CXSCREEN);
    settings.Height = GetSystemMetrics(SM_CYSCREEN);
    settings.Desktop = desktop;
    return settings;
}

// The report of the failure that leaves f inside the operation `caller`; "" when f returns.
template <typename Function>
std::string FailureReport(const char* caller, Function f)
{
    try {
        CHAIN_OPERATION(caller);
        f();
    } catch (int) {
        return ComposeFailureReport();
    }
    return "";
}

// An import slot (__imp_Function) pointing at a stand-in for the object's life.
template <typename Function>
struct Swapped {
    Swapped(Function& slot, Function standIn) : slot(slot), saved(slot) { slot = standIn; }
    ~Swapped() { slot = saved; }
    Function& slot;
    const Function saved;
};
