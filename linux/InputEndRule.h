#pragma once
// When the stand-alone saver ends, as the Windows saver window decides it: at the first
// pointer position that differs from the first one reported (no threshold: one pixel is
// enough, and reports of the first position again end nothing), at a press of one of
// the three buttons (the wheel alone ends nothing), at a key press (a release alone ends
// nothing), and at the loss of the keyboard focus once the window has had it.
// Pure logic: the X event loop translates its events into these calls.
class CInputEndRule {
public:
    // Each returns true when the saver should end.
    bool OnPointerAt(int x, int y);
    bool OnButtonPress(unsigned button) const;
    bool OnKeyPress() const { return true; }
    void OnFocusIn() { m_hadFocus = true; }
    bool OnFocusOut() const { return m_hadFocus; }

    bool HasFirstPosition() const { return m_haveFirst; }

private:
    bool m_haveFirst = false;
    int m_firstX = -1;
    int m_firstY = -1;
    bool m_hadFocus = false;
};
