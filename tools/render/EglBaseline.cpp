// arcveil3d-egl-baseline: the least an EGL program can do to finish one drawn frame on
// this driver: a pbuffer context, a clear, one smooth-shaded triangle, glFinish. Its
// start-up time and peak memory are the floor that startup.sh measures the programs
// against. The triangle matters: a clear alone never starts the driver's shader
// compiler, which any drawing program pays for (on llvmpipe about 19 MiB and 40 ms).
//   arcveil3d-egl-baseline [WIDTH HEIGHT]   (default 1024 768)
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "platform/EglPbufferContext_Linux.h"
#include "platform/GLHeaders.h"
#include "tools/render/ProcessFigures.h"

int main(int argc, char** argv)
{
    const int width = argc > 2 ? std::atoi(argv[1]) : 1024;
    const int height = argc > 2 ? std::atoi(argv[2]) : 768;
    try {
        EglPbufferContext context(width, height);
        glClearColor(0.1f, 0.2f, 0.3f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBegin(GL_TRIANGLES);
        glColor3f(1.0f, 0.0f, 0.0f);
        glVertex2f(-1.0f, -1.0f);
        glColor3f(0.0f, 1.0f, 0.0f);
        glVertex2f(1.0f, -1.0f);
        glColor3f(0.0f, 0.0f, 1.0f);
        glVertex2f(0.0f, 1.0f);
        glEnd();
        glFinish();
        const double firstFrame = SecondsSinceProcessStart();
        std::printf("first_frame_s %.3f\n", firstFrame);
        std::printf("peak_rss_mib %.1f\n", PeakRssMib());
        std::printf("renderer %s\n", context.Driver().c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "arcveil3d-egl-baseline: %s\n", e.what());
        return 3;
    }
    return 0;
}
