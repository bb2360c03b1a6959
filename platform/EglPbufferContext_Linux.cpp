#include "platform/EglPbufferContext_Linux.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <cstdio>
#include <stdexcept>

#include "platform/ExtensionList_Linux.h"

namespace {

std::string EglErrorText(const char* what)
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%04X", static_cast<unsigned>(eglGetError()));
    return std::string("EGL: ") + what + " failed (error " + code + ")";
}

// Mesa's surfaceless platform first (software or GPU, no window system), then the
// first EGL device that initialises (NVIDIA's headless driver offers only this).
EGLDisplay OpenHeadlessDisplay()
{
    const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr)
        throw std::runtime_error("EGL: no eglGetPlatformDisplayEXT (is an EGL driver such as Mesa installed?)");

    if (ExtensionListNames(clientExtensions, "EGL_MESA_platform_surfaceless")) {
        EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr))
            return display;
    }
    if (ExtensionListNames(clientExtensions, "EGL_EXT_platform_device")) {
        auto queryDevices = reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
        EGLDeviceEXT devices[16];
        EGLint count = 0;
        if (queryDevices != nullptr && queryDevices(16, devices, &count)) {
            for (EGLint i = 0; i < count; ++i) {
                EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, devices[i], nullptr);
                if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr))
                    return display;
            }
        }
    }
    throw std::runtime_error("EGL: no headless display (neither the surfaceless platform nor an EGL device "
                             "initialised; is libEGL with Mesa or a GPU driver installed?)");
}

} // namespace

EglPbufferContext::EglPbufferContext(int width, int height)
{
    if (width <= 0 || height <= 0)
        throw std::runtime_error("EGL: pbuffer size must be positive");

    EGLDisplay display = OpenHeadlessDisplay();
    m_display = display;
    if (!eglBindAPI(EGL_OPENGL_API))
        throw std::runtime_error(EglErrorText("eglBindAPI(EGL_OPENGL_API)"));

    const EGLint configAttributes[] = {
        EGL_SURFACE_TYPE, EGL_PBUFFER_BIT,
        EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
        EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
        EGL_DEPTH_SIZE, 24,
        EGL_NONE,
    };
    EGLConfig config = nullptr;
    EGLint configCount = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &configCount) || configCount < 1)
        throw std::runtime_error(EglErrorText("eglChooseConfig (pbuffer, desktop OpenGL, RGBA8, depth 24)"));

    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    EGLSurface surface = eglCreatePbufferSurface(display, config, surfaceAttributes);
    if (surface == EGL_NO_SURFACE)
        throw std::runtime_error(EglErrorText("eglCreatePbufferSurface"));
    m_surface = surface;

    const EGLint contextAttributes[] = {
        EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
        EGL_NONE,
    };
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (context == EGL_NO_CONTEXT) {
        eglDestroySurface(display, surface);
        throw std::runtime_error(EglErrorText("eglCreateContext (compatibility profile)"));
    }
    m_context = context;
    if (!eglMakeCurrent(display, surface, surface, context)) {
        const std::string reason = EglErrorText("eglMakeCurrent");
        eglDestroyContext(display, context);
        eglDestroySurface(display, surface);
        throw std::runtime_error(reason);
    }
    // With the wrong link order every gl* call lands in a no-context stub.
    if (glGetString(GL_RENDERER) == nullptr) {
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(display, context);
        eglDestroySurface(display, surface);
        throw std::runtime_error("EGL: context is current but glGetString(GL_RENDERER) is NULL (link libOpenGL)");
    }
    glViewport(0, 0, width, height);
}

EglPbufferContext::~EglPbufferContext()
{
    // The display stays initialised: other contexts of the process may share it.
    eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(m_display, m_context);
    eglDestroySurface(m_display, m_surface);
}

std::string EglPbufferContext::Driver() const
{
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return std::string(renderer ? renderer : "") + " / " + (version ? version : "");
}
