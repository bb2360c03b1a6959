#pragma once
// When the full-screen saver ends on the user's input, for the Windows saver window and
// the Linux stand-alone saver alike: at the first pointer position that differs from the
// first one reported (no threshold: one pixel is enough, and reports of the first
// position again end nothing), at a press of one of the three buttons (the wheel alone
// ends nothing), and at a key press (a release alone ends nothing). The Linux saver also
// ends at the loss of the keyboard focus once its window has had it; the Windows window
// ends at any loss of activation, which its system only reports after activation.
// Pure logic: each platform's window translates its messages or events into these calls.

// Buttons are numbered as X numbers them; Windows maps its three button messages here.
inline constexpr unsigned kLeftButton = 1;
inline constexpr unsigned kMiddleButton = 2;
inline constexpr unsigned kRightButton = 3;
// 4 to 7 are the wheel's steps; higher numbers are extra buttons.

class CInputEndRule {
public:
    // Each returns true when the saver should end.
    bool OnPointerAt(int x, int y);
    bool OnButtonPress(unsigned button) const;
    bool OnKeyPress() const { return true; }
    void OnFocusIn() { m_hadFocus = true; }
    bool OnFocusOut() const { return m_hadFocus; }

private:
    bool m_haveFirst = false;
    int m_firstX = -1;
    int m_firstY = -1;
    bool m_hadFocus = false;
};
