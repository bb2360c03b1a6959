// arcveil3d-render: draws the scene headless through EGL and writes PNG files, or
// measures how fast it draws. The clock is the renderer's own seam, driven here: it
// starts at 0 and advances by --step before each frame, so the same options give the
// same pictures on the same OpenGL driver.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/CallChain.h"
#include "app/Settings.h"
#include "native/FixedStepClock.h"
#include "native/HeapSettings.h"
#include "platform/Clock.h"
#include "platform/CrtRandom.h"
#include "platform/EglPbufferContext_Linux.h"
#include "platform/GLHeaders.h"
#include "render/CGLDrawer.h"
#include "tools/PngFile.h"
#include "tools/render/FlashMeasure.h"
#include "tools/render/FragmentCounter.h"
#include "tools/render/FrameFiles.h"
#include "tools/render/ProcessFigures.h"
#include "tools/render/ReadFrame.h"
#include "tools/render/RenderOptions.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitNoContext = 3;
constexpr int kExitWrite = 4;
constexpr int kExitFailure = 5;

double Seconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

// The kernel's share of the process's work: its CPU time, and the pages it had to
// supply (a heap given back and taken again shows here first).
struct KernelWork {
    double systemSeconds;
    long minorFaults;
};

KernelWork KernelWorkSoFar()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return {static_cast<double>(usage.ru_stime.tv_sec) + usage.ru_stime.tv_usec * 1e-6, usage.ru_minflt};
}

// A one-line progress counter on a terminal, for runs long enough to wait for.
class Progress {
public:
    Progress(int total, const char* verb) : m_total(total), m_verb(verb), m_start(Seconds(CLOCK_MONOTONIC))
    {
        m_enabled = total > 1 && isatty(STDERR_FILENO);
    }
    void Update(int done)
    {
        if (!m_enabled)
            return;
        const double now = Seconds(CLOCK_MONOTONIC);
        if (now - m_last < 0.2 && done != m_total)
            return;
        if (now - m_start < 1.0 && done != m_total)
            return;
        m_last = now;
        m_shown = true;
        std::fprintf(stderr, "\r%s frame %d of %d", m_verb, done, m_total);
        std::fflush(stderr);
    }
    ~Progress()
    {
        if (m_shown)
            std::fputc('\n', stderr);
    }

private:
    int m_total;
    const char* m_verb;
    double m_start;
    double m_last = 0.0;
    bool m_enabled = false;
    bool m_shown = false;
};

// Each monitor is a screen of its own to the flash measure; without a layout, the picture.
std::vector<MonitorRect> FlashScreens(const RenderOptions& options)
{
    if (options.monitors.empty())
        return {{0, 0, options.width, options.height}};
    return options.monitors;
}

int Run(const RenderOptions& options)
{
    if (!options.seed) {
        const std::uint32_t seed = ClockMilliseconds();
        std::fprintf(stderr, "arcveil3d-render: seed %u\n", seed);
        CrtSrand(seed);
    } else {
        CrtSrand(*options.seed);
    }

    G_Settings = DefaultSettings();
    ApplySettingOverrides(G_Settings, options.overrides);

    std::unique_ptr<EglPbufferContext> context;
    try {
        context = std::make_unique<EglPbufferContext>(options.width, options.height);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "arcveil3d-render: no OpenGL context: %s\n", e.what());
        return kExitNoContext;
    }

    CFixedStepClock clock(*options.step);

    auto drawer = std::make_unique<CGLDrawer>();
    drawer->Init();
    drawer->SetViews(LayoutViews(options.monitors, options.width, options.height));

    const bool everyFrame = HasFrameField(options.out);
    const int frames = static_cast<int>(options.frames);
    Progress progress(frames, options.bench ? "drawing" : options.flashes ? "measuring" : "rendering");
    CFlashMeasure flashes(FlashScreens(options));
    std::unique_ptr<FragmentCounter> fragments;
    if (options.bench)
        fragments = std::make_unique<FragmentCounter>();
    double firstFrame = 0.0;
    const double wallStart = Seconds(CLOCK_MONOTONIC);
    const double threadStart = Seconds(CLOCK_THREAD_CPUTIME_ID);
    const double processStart = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    const KernelWork kernelStart = KernelWorkSoFar();
    for (int frame = 0; frame < frames; ++frame) {
        clock.BeforeFrame(frame + 1);
        if (fragments)
            fragments->Begin();
        drawer->Draw();
        if (fragments)
            fragments->End();
        glFinish();
        if (frame == 0)
            firstFrame = SecondsSinceProcessStart();
        const bool last = frame + 1 == frames;
        if (options.flashes) {
            flashes.Add(ReadRgbFrame(options.width, options.height));
        } else if (!options.bench && (everyFrame || last)) {
            const RgbImage image = ReadRgbFrame(options.width, options.height);
            std::string error;
            if (!WritePng(FrameFileName(options.out, frame), image, error, PngCompression::Fast)) {
                std::fprintf(stderr, "arcveil3d-render: %s\n", error.c_str());
                return kExitWrite;
            }
        }
        progress.Update(frame + 1);
    }
    const double wall = Seconds(CLOCK_MONOTONIC) - wallStart;
    const double threadCpu = Seconds(CLOCK_THREAD_CPUTIME_ID) - threadStart;
    const double processCpu = Seconds(CLOCK_PROCESS_CPUTIME_ID) - processStart;
    const KernelWork kernelEnd = KernelWorkSoFar();

    if (options.flashes) {
        const FlashFigures f = flashes.Figures(static_cast<int>(std::lround(1.0 / *options.step)));
        std::printf("frames %d\n", frames);
        std::printf("whole_luminance %.3f to %.3f\n", f.darkest, f.brightest);
        std::printf("whole_worst_second_flashes %.1f\n", f.wholeWorstSecond);
        std::printf("quarter_worst_second_flashes %.1f\n", f.quarterWorstSecond);
        std::printf("whole_worst_second_red_flashes %.1f\n", f.wholeWorstRedSecond);
        std::printf("quarter_worst_second_red_flashes %.1f\n", f.quarterWorstRedSecond);
        std::printf("longest_flashing_run_s %d\n", f.longestFlashingRun);
        std::printf("extended_flashing %s\n", f.extended ? "yes" : "no");
    }
    if (options.bench) {
        std::printf("frames %d\n", frames);
        std::printf("fps %.2f\n", wall > 0 ? frames / wall : 0.0);
        std::printf("thread_cpu_ms_per_frame %.3f\n", threadCpu * 1000.0 / frames);
        std::printf("cpu_ms_per_frame %.3f\n", processCpu * 1000.0 / frames);
        std::printf("system_cpu_ms_per_frame %.3f\n",
                    (kernelEnd.systemSeconds - kernelStart.systemSeconds) * 1000.0 / frames);
        std::printf("page_faults_per_frame %.1f\n",
                    static_cast<double>(kernelEnd.minorFaults - kernelStart.minorFaults) / frames);
        if (fragments->Available()) {
            const double perFrame = static_cast<double>(fragments->Total()) / frames;
            std::printf("fragments_per_frame %.0f\n", perFrame);
            std::printf("fragments_per_pixel %.4f\n", perFrame / (static_cast<double>(options.width) * options.height));
        } else {
            std::printf("fragments_per_frame n/a\nfragments_per_pixel n/a\n");
        }
        std::printf("first_frame_s %.3f\n", firstFrame);
        std::printf("peak_rss_mib %.1f\n", PeakRssMib());
        std::printf("renderer %s\n", context->Driver().c_str());
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    KeepHeapAcrossFrames();
    const auto parsed = ParseRenderOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        std::fprintf(stderr, "arcveil3d-render: %s\n", parsed.error.c_str());
        return kExitUsage;
    }
    if (parsed.options->help) {
        std::fputs(RenderUsage("arcveil3d-render").c_str(), stdout);
        return 0;
    }
    try {
        return Run(*parsed.options);
    } catch (...) {
        std::fprintf(stderr, "arcveil3d-render: drawing failed: %s\n", ComposeFailureReport().c_str());
        return kExitFailure;
    }
}
