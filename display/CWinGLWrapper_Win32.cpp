#include "display/CWinGLWrapper_Win32.h"

#include <cstring>

#include "platform/GLHeaders.h"

CWinGLWrapper::CWinGLWrapper() : m_hDC(nullptr), m_hWnd(nullptr), m_hRC(nullptr)
{
}

CWinGLWrapper::~CWinGLWrapper()
{
    Done();
}

PIXELFORMATDESCRIPTOR CWinGLWrapper::RequestedPixelFormat()
{
    PIXELFORMATDESCRIPTOR descriptor;
    std::memset(&descriptor, 0, sizeof descriptor);
    descriptor.nSize = sizeof descriptor;
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = 24;
    descriptor.cDepthBits = 32;
    descriptor.cStencilBits = 0;
    descriptor.cAuxBuffers = 0;
    descriptor.iLayerType = PFD_MAIN_PLANE;
    return descriptor;
}

bool CWinGLWrapper::Init(HWND window)
{
    m_hWnd = window;
    m_hDC = GetDC(window);
    if (!m_hDC)
        return false;
    const PIXELFORMATDESCRIPTOR descriptor = RequestedPixelFormat();
    // Whatever format comes closest is used as granted.
    const int format = ChoosePixelFormat(m_hDC, &descriptor);
    if (format == 0 || !SetPixelFormat(m_hDC, format, &descriptor)) {
        Done();
        return false;
    }
    m_hRC = wglCreateContext(m_hDC);
    if (!m_hRC) {
        Done();
        return false;
    }
    if (!wglMakeCurrent(m_hDC, m_hRC)) {
        Done();
        return false;
    }
    return true;
}

void CWinGLWrapper::Show()
{
    glFlush();
    SwapBuffers(m_hDC);
}

void CWinGLWrapper::Done()
{
    if (m_hRC) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(m_hRC);
        m_hRC = nullptr;
    }
    if (m_hDC) {
        ReleaseDC(m_hWnd, m_hDC);
        m_hDC = nullptr;
    }
}
