#include "linux/FailureReport.h"

#include <SDL.h>

#include <cstdio>

void ShowFailureReport(const std::string& report)
{
    std::fprintf(stderr, "Arcveil 3D: %s\n", report.c_str());
    std::fflush(stderr);
    // SDL 2.26's X11 message box only works once its video subsystem is started; without a
    // display neither starts, and stderr carries the report alone.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    const bool video = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, "Arcveil 3D:", report.c_str(), nullptr);
    if (video)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
