#include "linux/FailureReport.h"

#include <SDL.h>

#include <cstdio>

void ShowFailureReport(const std::string& report)
{
    std::fprintf(stderr, "Arcveil 3D: %s\n", report.c_str());
    std::fflush(stderr);
    // Without a display the box cannot show; stderr then carries the report alone.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, "Arcveil 3D:", report.c_str(), nullptr);
}
