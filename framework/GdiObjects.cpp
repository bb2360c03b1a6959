#include "framework/GdiObjects.h"

CBrush::~CBrush()
{
    DeleteObject();
}

bool CBrush::CreatePatternBrush(HBITMAP bitmap)
{
    DeleteObject();
    if (!bitmap)
        return false;
    m_hBrush = ::CreatePatternBrush(bitmap);
    if (!m_hBrush) {
        ::DeleteObject(bitmap);
        return false;
    }
    m_hPattern = bitmap;
    return true;
}

void CBrush::DeleteObject()
{
    if (m_hBrush)
        ::DeleteObject(m_hBrush);
    if (m_hPattern)
        ::DeleteObject(m_hPattern);
    m_hBrush = nullptr;
    m_hPattern = nullptr;
}

HBITMAP LoadStretchedBitmap(int resourceId, int width, int height)
{
    // Zero would mean "the bitmap's own size" to the system; an empty window gets none.
    if (width <= 0 || height <= 0)
        return nullptr;
    return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP,
                                           width, height, LR_DEFAULTCOLOR));
}
