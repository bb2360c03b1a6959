// The gentle lightning's rule on its own (its shapes held in the frames: RenderTest.cpp;
// how a run flashes: render-cli-test.sh).
#include <doctest/doctest.h>

#include <cmath>
#include <vector>

#include "render/GentleLight.h"

TEST_CASE("gentle lightning: strikes at the earliest pace for 10 s change what shows at most twice a second")
{
    // Flash steps every 0.05 s light bolt 0 at every step but the first, and bolt 1 never;
    // both move and the ring changes at every step. Frames at any rate see a strike begin
    // and end, as bolt 0 stood then, and nothing else, with no third change within a second.
    for (const double frameStep : {1.0 / 60, 0.035, 0.1}) {
        CAPTURE(frameStep);
        CGentleLight gentle;
        RandRing ring = {};
        BoltRecord bolts[kBoltCount] = {};
        std::vector<double> changes; // when the frames show something new
        BoltShow last = {};
        for (int frame = 0, step = 1; frame * frameStep < 10.0; ++frame) {
            for (; step * 0.05 <= frame * frameStep + 1e-9; ++step) {
                const std::int32_t lit[kBoltCount] = {step > 1, 0};
                bolts[0].end.x = bolts[1].end.x = static_cast<float>(ring[0] = step);
                gentle.FlashStep(step * 0.05, bolts, lit, ring);
            }
            BoltShow shown[kBoltCount];
            const std::int32_t shape = gentle.Show(frame * frameStep, bolts, ring, shown)[0];
            if (shown[0].visible != last.visible || (shown[0].visible && shown[0].bolt.end.x != last.bolt.end.x))
                changes.push_back(frame * frameStep);
            CHECK((shown[1].visible == 0 && shape == shown[0].bolt.end.x));
            last = shown[0];
        }
        REQUIRE(changes.size() >= 16); // a strike every 1.1 s or a step later
        CHECK(changes[0] < 0.1 + frameStep);
        for (std::size_t i = 2; i < changes.size(); ++i)
            CHECK(changes[i] - changes[i - 2] > 1.0);
    }
}
