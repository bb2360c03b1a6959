// libarcveil3d-first-swap.so, loaded with LD_PRELOAD into a program that shows its frames
// with glXSwapBuffers (the Linux saver): when the first swap returns it prints, on
// stderr, the seconds from the process's start and the peak memory so far, in the
// figures' format of arcveil3d-render --bench. A measuring aid, never linked into a
// program.
#include <GL/glx.h>
#include <dlfcn.h>

#include <cstdio>

#include "tools/render/ProcessFigures.h"

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable)
{
    using Swap = void (*)(Display*, GLXDrawable);
    static const Swap next = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    static bool shown = false;
    next(display, drawable);
    if (shown)
        return;
    shown = true;
    glFinish();
    const double firstFrame = SecondsSinceProcessStart();
    std::fprintf(stderr, "first_frame_s %.3f\npeak_rss_mib %.1f\n", firstFrame, PeakRssMib());
}
