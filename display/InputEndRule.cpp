#include "display/InputEndRule.h"

bool CInputEndRule::OnPointerAt(int x, int y)
{
    if (!m_haveFirst) {
        // The first report only records where the pointer is; it is never updated.
        m_haveFirst = true;
        m_firstX = x;
        m_firstY = y;
        return false;
    }
    return x != m_firstX || y != m_firstY;
}

bool CInputEndRule::OnButtonPress(unsigned button) const
{
    return button >= kLeftButton && button <= kRightButton;
}
