#include "linux/InputEndRule.h"

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
    // X numbers the left, middle and right buttons 1 to 3; 4 to 7 are the wheel's steps.
    return button >= 1 && button <= 3;
}
