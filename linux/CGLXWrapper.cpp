#include "linux/CGLXWrapper.h"

#include <cstdio>
#include <initializer_list>

#include "platform/ExtensionList_Linux.h"

namespace {

template <typename Function>
Function Lookup(const char* name)
{
    return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

// Frames no faster than the display's refresh, through whichever of the three swap
// interval extensions the driver offers.
void SwapOncePerRefresh(Display* display, int screen, GLXDrawable drawable)
{
    const char* extensions = glXQueryExtensionsString(display, screen);
    using SwapEXT = void (*)(Display*, GLXDrawable, int);
    using SwapMESA = int (*)(unsigned int);
    using SwapSGI = int (*)(int);
    if (ExtensionListNames(extensions, "GLX_EXT_swap_control")) {
        if (auto swap = Lookup<SwapEXT>("glXSwapIntervalEXT")) {
            swap(display, drawable, 1);
            return;
        }
    }
    if (ExtensionListNames(extensions, "GLX_MESA_swap_control")) {
        if (auto swap = Lookup<SwapMESA>("glXSwapIntervalMESA")) {
            swap(1);
            return;
        }
    }
    if (ExtensionListNames(extensions, "GLX_SGI_swap_control")) {
        if (auto swap = Lookup<SwapSGI>("glXSwapIntervalSGI"))
            swap(1);
    }
}

} // namespace

bool CGLXWrapper::Init(Display* display, Window window, XVisualInfo* visual)
{
    m_display = display;
    m_window = window;
    // Direct when the driver allows; Mesa falls back to indirect by itself otherwise.
    m_context = glXCreateContext(display, visual, nullptr, True);
    if (m_context == nullptr)
        return false;
    if (!glXMakeCurrent(display, window, m_context)) {
        Done();
        return false;
    }
    SwapOncePerRefresh(display, visual->screen, window);
    return true;
}

void CGLXWrapper::Show()
{
    if (m_context == nullptr)
        return;
    glFlush();
    glXSwapBuffers(m_display, m_window);
}

void CGLXWrapper::Done()
{
    if (m_context == nullptr)
        return;
    glXMakeCurrent(m_display, None, nullptr);
    glXDestroyContext(m_display, m_context);
    m_context = nullptr;
}

bool VisualSuitsScene(Display* display, XVisualInfo* visual)
{
    int useGL = 0, rgba = 0, doubleBuffer = 0, depthBits = 0;
    if (glXGetConfig(display, visual, GLX_USE_GL, &useGL) != 0 || !useGL)
        return false;
    glXGetConfig(display, visual, GLX_RGBA, &rgba);
    glXGetConfig(display, visual, GLX_DOUBLEBUFFER, &doubleBuffer);
    glXGetConfig(display, visual, GLX_DEPTH_SIZE, &depthBits);
    return rgba && doubleBuffer && depthBits >= 16;
}

XVisualInfo* ChooseSceneVisual(Display* display, int screen, int preferredDepth)
{
    // The context asks for 24 colour bits and a deep depth buffer, as on Windows, and
    // takes less where the display has no more.
    for (int depthBits : {24, 16}) {
        int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1,
                            GLX_DEPTH_SIZE, depthBits, None};
        XVisualInfo* chosen = glXChooseVisual(display, screen, attributes);
        if (chosen == nullptr)
            continue;
        if (preferredDepth == 0 || chosen->depth == preferredDepth)
            return chosen;
        // glXChooseVisual may prefer another depth than the parent's; look for one that matches.
        XVisualInfo pattern {};
        pattern.screen = screen;
        pattern.depth = preferredDepth;
        int count = 0;
        XVisualInfo* list = XGetVisualInfo(display, VisualScreenMask | VisualDepthMask, &pattern, &count);
        for (int i = 0; i < count; ++i) {
            if (VisualSuitsScene(display, &list[i])) {
                XVisualInfo* match = nullptr;
                int one = 0;
                XVisualInfo idPattern = list[i];
                match = XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &idPattern, &one);
                XFree(list);
                XFree(chosen);
                return match;
            }
        }
        if (list != nullptr)
            XFree(list);
        return chosen;
    }
    return nullptr;
}

XVisualInfo* ChooseOwnWindowVisual(Display* display, int screen, std::optional<unsigned long> visualId)
{
    if (visualId) {
        XVisualInfo pattern {};
        pattern.visualid = *visualId;
        pattern.screen = screen;
        int count = 0;
        XVisualInfo* asked = XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &pattern, &count);
        if (asked != nullptr && VisualSuitsScene(display, asked))
            return asked;
        if (asked != nullptr)
            XFree(asked);
        std::fprintf(stderr, "arcveil3d: warning: visual 0x%lx cannot carry the scene (OpenGL, RGBA, double "
                             "buffer, depth buffer); another is used\n", *visualId);
    }
    return ChooseSceneVisual(display, screen, 0);
}
