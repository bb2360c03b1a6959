#pragma once
// One window's OpenGL context through GLX: made current on Init and kept current for
// the window's life; Show presents a frame; Done releases it (safe more than once).
// The window must have been created with the visual given to Init.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <GL/glx.h>

#include <optional>

class CGLXWrapper {
public:
    CGLXWrapper() = default;
    ~CGLXWrapper() { Done(); }
    CGLXWrapper(const CGLXWrapper&) = delete;
    CGLXWrapper& operator=(const CGLXWrapper&) = delete;

    // False when no context could be made current on the window.
    bool Init(Display* display, Window window, XVisualInfo* visual);
    void Show();
    void Done();
    bool Ready() const { return m_context != nullptr; }

private:
    Display* m_display = nullptr;
    Window m_window = 0;
    GLXContext m_context = nullptr;
};

// Whether OpenGL can draw on a window of this visual as the scene needs it: RGBA, double
// buffered, with a depth buffer.
bool VisualSuitsScene(Display* display, XVisualInfo* visual);

// A visual of the screen that suits the scene, preferring the given depth (0: any);
// XFree the result. Null when the display offers none.
XVisualInfo* ChooseSceneVisual(Display* display, int screen, int preferredDepth);

// The visual of a window of the saver's own: the one -visual names (visualId) when it
// suits the scene, else, with a warning on stderr, one chosen as above; XFree the result.
XVisualInfo* ChooseOwnWindowVisual(Display* display, int screen, std::optional<unsigned long> visualId);
