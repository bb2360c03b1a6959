#pragma once
// The frame-rate overlay (-fps), in the style of XScreenSaver's modules: two short lines
// in the lower-left corner,
//     FPS: 49.9
//     Load: 12.3%
// the frames drawn and the process's CPU time (every thread, the driver's included)
// over the wall time of the last whole second. Drawn with the project's bitmap font
// after the scene; every piece of OpenGL state it changes is put back, so the scene's
// next frame is drawn as if it were not there.
#include <chrono>
#include <string>

#include "assets/CGLFont.h"

class CFpsOverlay {
public:
    CFpsOverlay();
    // Loads the font; the context must be current.
    void Init();
    // Counts a frame and draws the lines over a viewport of this size.
    void Draw(int width, int height);

private:
    void Measure();

    CGLFont m_font;
    std::chrono::steady_clock::time_point m_since;
    double m_cpuSince = 0.0;
    int m_frames = 0;
    std::string m_rate = "FPS: -";
    std::string m_load = "Load: -";
};
