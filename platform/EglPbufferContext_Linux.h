#pragma once
// A headless OpenGL context for native tools and tests: an EGL pbuffer of a fixed size
// with a compatibility-profile desktop OpenGL context, current on the constructing
// thread for the object's lifetime. No X server is needed (Mesa's surfaceless platform,
// or an EGL device such as the software rasteriser or a GPU's headless driver).
//
// Construction throws std::runtime_error with a readable reason when no EGL driver,
// config or context is available, so a test can report why it cannot run.
#include <string>

class EglPbufferContext {
public:
    EglPbufferContext(int width, int height);
    ~EglPbufferContext();
    EglPbufferContext(const EglPbufferContext&) = delete;
    EglPbufferContext& operator=(const EglPbufferContext&) = delete;

    // GL_RENDERER and GL_VERSION of the current context as one line, "renderer / version":
    // the driver named beside stored pictures and benchmark figures.
    std::string Driver() const;

private:
    void* m_display = nullptr;
    void* m_surface = nullptr;
    void* m_context = nullptr;
};
