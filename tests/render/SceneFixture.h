#pragma once
// A renderer set up on the recording GL stand-in with the tests' own pictures, a fixed
// seed and a clock the test drives.
#include <cstdint>
#include <memory>

#include "app/Settings.h"
#include "platform/CrtRandom.h"
#include "render/CGLDrawer.h"
#include "tests/render/RecordingGL.h"
#include "tests/render/RendererProbe.h"
#include "tests/render/TestAssets.h"

struct SceneFixture {
    static constexpr std::uint32_t kSeed = 12345;

    TestClock clock{1000};
    std::unique_ptr<CGLDrawer> drawer = std::make_unique<CGLDrawer>();

    // Layers as given; Init runs at once unless told otherwise.
    explicit SceneFixture(bool hieroglyphs = true, bool cross = true, bool rain = true, bool init = true,
                          std::uint32_t seed = kSeed)
    {
        rgl::Reset(640, 480);
        InstallTestAssets();
        G_Settings = DefaultSettings();
        G_Settings.Hieroglyphs = hieroglyphs ? 1 : 0;
        G_Settings.Cross = cross ? 1 : 0;
        G_Settings.Rain = rain ? 1 : 0;
        CrtSrand(seed);
        if (init)
            drawer->Init();
    }
    ~SceneFixture() { RemoveTestAssets(); }

    // One frame `ms` after the previous clock reading, log cleared first.
    void Frame(std::uint32_t ms = 20)
    {
        clock.Advance(ms);
        rgl::ClearLog();
        drawer->Draw();
    }
};
