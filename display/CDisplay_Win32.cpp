#include "display/CDisplay.h"

#include "platform/WindowsHeaders_Win32.h"

#include <cstddef>
#include <cstring>

bool CDisplay::SetMode(int width, int height, int bitsPerPixel)
{
    DEVMODEA mode;
    std::memset(&mode, 0, sizeof mode);
    // The size up to and including dmReserved2, with no driver data after it: the
    // layout every version of the system accepts.
    mode.dmSize = static_cast<WORD>(offsetof(DEVMODEA, dmPanningWidth));
    mode.dmDriverExtra = 0;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmBitsPerPel = static_cast<DWORD>(bitsPerPixel);
    return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

void CDisplay::RestoreMode()
{
    ChangeDisplaySettingsA(nullptr, 0);
}
