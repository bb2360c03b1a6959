// The renderer's frame timing over arbitrary sequences of clock readings: small and
// equal steps, readings that go back, huge jumps, the wrap of the 32-bit millisecond
// clock, and scenes that have already run for years. After every reading the scene
// time, both timers, the camera, the rain, the glyph column and the cloud drift must be
// finite, inside their ranges and consistent (see tests/render/SceneInvariants.h).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <iterator>
#include <string>

#include "app/Settings.h"
#include "platform/CrtRandom.h"
#include "render/SceneArrays.h"
#include "tests/render/SceneFixture.h"
#include "tests/render/SceneInvariants.h"

namespace {

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool Empty() const { return m_at >= m_size; }
    std::uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    std::uint32_t U32()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= static_cast<std::uint32_t>(Byte()) << (8 * i);
        return value;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

void Require(const std::string& broken, int reading)
{
    if (broken.empty())
        return;
    std::fprintf(stderr, "reading %d: %s\n", reading, broken.c_str());
    std::abort();
}

constexpr int kMaxReadings = 32;
// Full frames are costly (a thousand rain streaks): the timing runs at every reading,
// the camera where the input asks and after the last reading, a whole frame only where
// the input's flags allow it and at most this often per input.
constexpr int kMaxDrawnFrames = 1;

// One renderer set up once; every input starts from a copy of its state after Init,
// so that an input's outcome depends on its bytes alone.
struct Start {
    SceneFixture scene{true, true, true, false};
    CGLDrawer initial;
    Vec3 rain[kRainDropCount];
    std::int32_t flash[kBoltCount];

    Start()
    {
        rgl::SetLogging(false);
        scene.clock.Set(0);
        scene.drawer->Init();
        scene.drawer->SetupCamera(); // camera axes valid from the start
        initial = *scene.drawer;
        std::copy(std::begin(g_rainDrops), std::end(g_rainDrops), rain);
        std::copy(std::begin(g_boltFlash), std::end(g_boltFlash), flash);
    }

    CGLDrawer& Restart(std::uint32_t clockMs, std::uint8_t layers)
    {
        *scene.drawer = initial;
        std::copy(std::begin(rain), std::end(rain), g_rainDrops);
        std::copy(std::begin(flash), std::end(flash), g_boltFlash);
        CrtSrand(SceneFixture::kSeed);
        G_Settings.Hieroglyphs = layers & 1;
        G_Settings.Cross = (layers >> 1) & 1;
        G_Settings.Rain = (layers >> 2) & 1;
        scene.clock.Set(clockMs);
        scene.drawer->m_lastTime = clockMs * 0.001; // as Init reads the clock
        return *scene.drawer;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Start start;
    Reader in(data, size);
    const std::uint8_t flags = in.Byte();
    CGLDrawer& d = start.Restart(in.U32(), flags);
    TestClock& clock = start.scene.clock;
    if (flags & 8) {
        // A scene that has already run this long (up to about 34 years), with its timers
        // where the timing keeps them.
        const double ran = in.U32() * 0.25;
        d.m_sceneTime = d.m_lightningClock = d.m_flashClock = ran;
        d.m_lightningDone = static_cast<double>(static_cast<std::uint64_t>(ran / d.m_lightningStep)) * d.m_lightningStep;
        d.m_flashDone = static_cast<double>(static_cast<std::uint64_t>(ran / d.m_flashStep)) * d.m_flashStep;
        d.m_glyphScroll = (in.Byte() % 47) + in.Byte() / 256.0;
    }

    int drawn = 0;
    for (int reading = 0; reading < kMaxReadings && !in.Empty(); ++reading) {
        const std::uint8_t kind = in.Byte();
        const std::uint32_t value = in.U32();
        const TimingBefore before = TimingOf(d, clock.Now());
        switch (kind & 3) {
        case 0: clock.Advance(value % 256); break;         // a frame, or no time at all
        case 1: clock.Advance(value); break;               // any jump, wrapping
        case 2: clock.Set(value); break;                   // any reading
        default: clock.Set(clock.Now() - value % 65536); break; // back
        }
        const float driftBefore = CloudDriftAt(d.m_sceneTime);
        const bool draw = (flags & 0x10) && (kind & 4) && drawn < kMaxDrawnFrames;
        if (draw) {
            d.Draw();
            ++drawn;
        } else {
            CGLDrawerProbe::AdvanceTime(d);
            if ((kind & 8) || in.Empty() || reading + 1 == kMaxReadings)
                d.SetupCamera();
        }
        Require(BrokenTimingRule(d, before, clock.Now()), reading);
        Require(BrokenCloudDrift(driftBefore, CloudDriftAt(d.m_sceneTime), d.m_frameTime), reading);
        Require(BrokenCameraRule(d), reading);
        if (draw)
            Require(BrokenLayerRule(d), reading);
        if (rgl::ErrorCount() != 0)
            Require(rgl::FirstError(), reading);
    }
    return 0;
}
