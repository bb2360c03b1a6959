#pragma once
// The six full-screen video modes the saver offers (a fixed list, not asked of the
// hardware), and the switch into one of them and back. The list is portable; the
// switch exists only in the Windows program (CDisplay_Win32.cpp): the Linux saver
// keeps the desktop's mode.
#include <cstdint>

struct ModeDescription {
    std::int32_t width;
    std::int32_t height;
    std::int32_t bitsPerPixel;
};

class CDisplay {
public:
    CDisplay();
    virtual ~CDisplay();
    CDisplay(const CDisplay&) = delete;
    CDisplay& operator=(const CDisplay&) = delete;

    void BuildModeList();
    int GetModesCount() const;
    // Null when index is not below the count; a negative index converts to a huge one.
    const ModeDescription* GetModeDescription(unsigned index) const;

    // The switch: defined only in the Windows program (CDisplay_Win32.cpp). The native
    // build declares it here with the list but has no definition, so a call from
    // portable or Linux code fails to link.
    // True when the display accepted the mode; a temporary change, not stored.
    static bool SetMode(int width, int height, int bitsPerPixel);
    // Back to the desktop's stored mode; harmless when nothing was switched.
    static void RestoreMode();

private:
    int m_count;
    ModeDescription* m_modes;
};
