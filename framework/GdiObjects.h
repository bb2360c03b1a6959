#pragma once
// Owning wrappers of GDI objects that windows keep for their life.
#include "platform/WindowsHeaders_Win32.h"

// A brush object: empty, or one brush that it deletes when released or destroyed. A
// pattern brush also owns the bitmap it was made from, which the system does not
// delete with the brush.
class CBrush {
public:
    CBrush() = default;
    ~CBrush();
    CBrush(const CBrush&) = delete;
    CBrush& operator=(const CBrush&) = delete;

    // Takes bitmap over and makes a pattern brush from it; false, owning nothing, when
    // bitmap is null or the system refuses the brush.
    bool CreatePatternBrush(HBITMAP bitmap);
    void DeleteObject();

    HBRUSH GetSafeHandle() const { return m_hBrush; }
    bool IsEmpty() const { return m_hBrush == nullptr; }

private:
    HBRUSH m_hBrush = nullptr;
    HBITMAP m_hPattern = nullptr;
};

// A bitmap resource of the program at exactly width x height pixels (stretched, the
// aspect not kept), or null when it is missing.
HBITMAP LoadStretchedBitmap(int resourceId, int width, int height);
