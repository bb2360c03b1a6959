#pragma once
// A window that owns an OpenGL context and the scene renderer and draws frames back to
// back: every WM_PAINT draws and presents one frame without validating the window, so
// the next paint request follows as soon as the queue holds nothing else.
#include "display/CWinGLWrapper_Win32.h"
#include "framework/Framework.h"
#include "render/CGLDrawer.h"

// The private device context (CS_OWNDC) is the one the OpenGL context keeps for the
// window's whole life.
inline constexpr UINT kDrawWndClassStyle = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;

class CDrawWnd : public CWnd {
public:
    // autoDelete non-zero: the object deletes itself once its window is gone.
    explicit CDrawWnd(int autoDelete);
    ~CDrawWnd() override;

    // Creates the window; OnCreate has set up the context, the renderer and the sound
    // when it returns. A refused window is a failure with no error text of its own;
    // the object has then been deleted if it deletes itself.
    virtual void Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void PostNcDestroy() override;
    int OnCreate(CREATESTRUCTA* create) override;
    void OnDestroy() override;

    int m_autoDelete;
    CWinGLWrapper m_wrapper;
    CGLDrawer m_drawer;
};
