#pragma once
// One window's OpenGL rendering context through WGL: pixel format, context, buffer
// swap and release. Init makes the context current for the rest of the window's life.
#include "platform/WindowsHeaders_Win32.h"

class CWinGLWrapper {
public:
    CWinGLWrapper();
    virtual ~CWinGLWrapper();
    CWinGLWrapper(const CWinGLWrapper&) = delete;
    CWinGLWrapper& operator=(const CWinGLWrapper&) = delete;

    // True when the context exists and is current; on false nothing is held.
    bool Init(HWND window);
    // Flushes and swaps the frame just drawn.
    void Show();
    // Releases the context and the device context; safe at any time, more than once.
    void Done();

    // The pixel format asked for, whatever the video mode's depth.
    static PIXELFORMATDESCRIPTOR RequestedPixelFormat();

    HDC m_hDC;
    HWND m_hWnd;
    HGLRC m_hRC;
};
